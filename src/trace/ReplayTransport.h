#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "device/HidTransport.h"
#include "trace/ReplayCursor.h"
#include "trace/TraceEvent.h"

namespace tavlin {

// A recorded session in the place of the device. The recording's arrivals and removals happen
// again in their order, and the presence watch hears exactly the device notices the recorded
// run heard, where it heard them; every output report the program writes must be the recorded
// one, and the recorded input reports come back in their order. The first output report that
// differs fails that write, and every later one, with a reason that names it. After the end of a
// whole recording the device is silent (writes are taken, reads time out), as it was when the
// run was recorded; a recording cut short runs out instead: the first write or waiting read
// past its end tells the run-out listener, and from then on reads give up at once.
class ReplayTransport final : public HidTransport {
  public:
    using Clock = std::chrono::steady_clock;

    // recordedPace: each event keeps its distance from the one before it; else replies and
    // presence changes come at once.
    ReplayTransport(std::vector<TraceEvent> events, bool recordedPace);
    // Reads the recording as it goes (a few events of it in memory); the reader must have
    // been checked to its end.
    ReplayTransport(std::unique_ptr<TraceReader> reader, bool recordedPace);
    ~ReplayTransport() override;
    ReplayTransport(const ReplayTransport&) = delete;
    ReplayTransport& operator=(const ReplayTransport&) = delete;

    std::vector<HidInterfaceInfo> Enumerate() override;
    // Fails as the recording's open of the path did, when that failure is next.
    std::unique_ptr<HidConnection> Open(const std::string& path, int* errorCode) override;
    // As the recorded system said of its errors.
    bool DeniesAccess(int errorCode) const override;
    std::optional<std::pair<uint16_t, uint16_t>> Attributes(HidConnection& connection) override;
    std::vector<uint8_t> ReportDescriptor(const std::string& path) override;
    std::unique_ptr<DeviceChangeWatch> WatchPresence(std::function<void()> onChange) override;

    // For the replay's connections. `instance` names one arrival; it is gone once removed.
    // As RawReportNode::ReadRaw.
    int TakeInput(uint64_t instance, uint8_t* report, size_t length, int timeoutMs, int* error);
    // As RawReportNode::WriteRaw; a report that differs from the recorded one sets *mismatch.
    int MatchOutput(uint64_t instance, const uint8_t* report, size_t length, int* error,
                    std::string* mismatch);
    bool IsGone(uint64_t instance) const;
    // The recorded output reports the program has not sent (yet).
    size_t OutputsLeft() const;
    // How many of the recording's events are in memory now.
    size_t EventsHeld() const;
    // The port the recorded run chose among several devices; empty when it chose none.
    std::string RecordedPort() const;
    // The line where the recording ran out once the program wanted more of it; 0 before that.
    int RanOutLine() const;
    // For the replay's connections, before a transfer: whether the recording has run out, or
    // runs out now because the program waits (`waits`) for more than it holds.
    bool RanOut(uint64_t instance, bool waits);
    // Called once, on the thread that found the recording run out, outside the replay's lock.
    void OnRanOut(std::function<void(int line)> listener);

  private:
    class Watch;
    struct Present {
        HidInterfaceInfo info;
        std::vector<uint8_t> descriptor;
        uint64_t instance = 0;
    };

    // With mutex_ held.
    Clock::time_point DueLocked(size_t index) const;
    void ApplyPresenceLocked(const TraceEvent& event);
    void AdvanceLocked();
    bool WaitsForLookLocked(size_t index) const;
    // Plays the presence events of one look with the notices and ports around them; the number
    // of notices among them, or -1 when nothing was played.
    int ApplyBatchLocked();
    // Plays the presence events that followed the report just moved, if they did at once; the
    // number of notices among them.
    int FollowReportLocked();
    // Whether a change of the device follows the notice at `notice` at once, behind input reports.
    bool ChangeFollowsLocked(size_t notice);
    // Whether nothing more was recorded for the program to take: the end, or the file's end.
    bool AtEndLocked();
    // Past the end of a recording that is not whole: true once it ran out (and the caller must
    // tell the listener, without the lock).
    bool RunsOutLocked();
    void TellRanOut();         // without mutex_
    void Notify(int notices);  // without mutex_
    void Play();
    void SetListener(std::function<void()> listener);

    void StartLocked();  // what the constructors share

    mutable ReplayCursor events_;
    const bool recordedPace_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    size_t next_ = 0;               // the event the session is waiting for
    Clock::time_point lastAt_;      // when the event before it happened
    size_t outputs_ = 0;            // output reports matched so far
    std::string mismatch_;          // set by the first output report that differs
    std::vector<Present> present_;  // in arrival order
    std::set<uint64_t> goneInstances_;
    std::set<int> deniedErrors_;  // the recorded failed opens' errors that meant no access
    uint64_t nextInstance_ = 1;
    bool stopping_ = false;
    uint64_t lastLook_ = 0;    // the recorded look of the last presence event played
    uint64_t looksSince_ = 0;  // the program's looks since then
    std::string port_;         // the recorded run's choice
    int deferredNotices_ = 0;  // told with the change that follows them
    int ranOutLine_ = 0;
    std::function<void(int)> ranOutListener_;

    std::mutex listenerMutex_;  // held while the listener runs, so removing it waits for that
    std::function<void()> listener_;

    std::thread player_;  // last: plays the presence events over the members above
};

}  // namespace tavlin
