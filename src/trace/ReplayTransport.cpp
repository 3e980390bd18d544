// The replay transport as the program and its connections see it: the device list, opens,
// input taken and output matched against the recording, and how it tells that it ran out.
// The thread that plays presence changes and notices is in ReplayPlayer.cpp.
#include "trace/ReplayTransport.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "base/Log.h"
#include "base/Unexpected.h"
#include "trace/ReplayConnection.h"
#include "trace/ReplayTransportDetail.h"
#include "trace/TraceFormat.h"

namespace tavlin {
namespace {

using replay_detail::Played;

// How long a write waits for the arrival or removal recorded before it.
constexpr auto kPresenceWaitLimit = std::chrono::seconds(2);

int WriteErrorOf(const IoResult& outcome) {
    switch (outcome.status) {
        case IoStatus::Ok:
            return 0;
        case IoStatus::Timeout:
            return ETIMEDOUT;
        case IoStatus::DeviceGone:
            return ENODEV;
        case IoStatus::Error:
            break;
    }
    return static_cast<int>(outcome.code);
}

}  // namespace

class ReplayTransport::Watch final : public DeviceChangeWatch {
  public:
    Watch(ReplayTransport& transport, std::function<void()> onChange) : transport_(transport) {
        transport_.SetListener(std::move(onChange));
    }
    ~Watch() override { transport_.SetListener(nullptr); }
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

  private:
    ReplayTransport& transport_;
};

ReplayTransport::ReplayTransport(std::vector<TraceEvent> events, bool recordedPace)
    : events_(std::move(events)), recordedPace_(recordedPace), lastAt_(Clock::now()) {
    StartLocked();
}

ReplayTransport::ReplayTransport(std::unique_ptr<TraceReader> reader, bool recordedPace)
    : events_(std::move(reader)), recordedPace_(recordedPace), lastAt_(Clock::now()) {
    StartLocked();
}

void ReplayTransport::StartLocked() {
    // What was there when the recording began is there before the program first looks, and
    // the port the run chose is known before it chooses.
    while (events_.Has(next_) &&
           (events_[next_].IsPresence() || events_[next_].kind == TraceEvent::Kind::Port)) {
        if (events_[next_].kind == TraceEvent::Kind::Port) {
            port_ = events_[next_].info.port;
        } else {
            ApplyPresenceLocked(events_[next_]);
        }
        ++next_;
    }
    player_ = std::thread([this] { RunGuarded([this] { Play(); }); });
}

ReplayTransport::~ReplayTransport() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    player_.join();
}

void ReplayTransport::SetListener(std::function<void()> listener) {
    std::lock_guard lock(listenerMutex_);
    listener_ = std::move(listener);
}

std::unique_ptr<DeviceChangeWatch> ReplayTransport::WatchPresence(std::function<void()> onChange) {
    return std::make_unique<Watch>(*this, std::move(onChange));
}

void ReplayTransport::AdvanceLocked() {
    ++next_;
    events_.DropBefore(next_ - 1);  // the one just played still gives the next one's distance
    lastAt_ = Clock::now();
    changed_.notify_all();
}

bool ReplayTransport::AtEndLocked() {
    return !events_.Has(next_) || events_[next_].kind == TraceEvent::Kind::End;
}

bool ReplayTransport::RunsOutLocked() {
    const bool marked = events_.Has(next_);  // an end line: whole, or cut short on purpose
    if (ranOutLine_ != 0 || (marked && events_[next_].complete)) {
        return false;
    }
    ranOutLine_ = marked && events_[next_].line > 0 ? events_[next_].line
                  : marked                          ? events_.endLine() - 1
                                                    : events_.endLine();
    WriteLog("Replay: the recording ran out at line %d\n", ranOutLine_);
    return true;
}

void ReplayTransport::TellRanOut() {
    std::function<void(int)> listener;
    int line = 0;
    {
        std::lock_guard lock(mutex_);
        listener = ranOutListener_;
        line = ranOutLine_;
    }
    if (listener) {
        listener(line);
    }
}

void ReplayTransport::OnRanOut(std::function<void(int line)> listener) {
    std::lock_guard lock(mutex_);
    ranOutListener_ = std::move(listener);
}

bool ReplayTransport::RanOut(uint64_t instance, bool waits) {
    std::unique_lock lock(mutex_);
    if (ranOutLine_ != 0) {
        return true;
    }
    // A node that is gone says so itself; only a wait for what the recording no longer holds
    // finds it run out.
    if (!waits || goneInstances_.count(instance) != 0 || !AtEndLocked() || !RunsOutLocked()) {
        return false;
    }
    lock.unlock();
    TellRanOut();
    return true;
}

int ReplayTransport::RanOutLine() const {
    std::lock_guard lock(mutex_);
    return ranOutLine_;
}

std::string ReplayTransport::RecordedPort() const {
    std::lock_guard lock(mutex_);
    return port_;
}

std::vector<HidInterfaceInfo> ReplayTransport::Enumerate() {
    std::lock_guard lock(mutex_);
    ++looksSince_;
    changed_.notify_all();
    std::vector<HidInterfaceInfo> list;
    for (const Present& p : present_) {
        list.push_back(p.info);
    }
    return list;
}

bool ReplayTransport::DeniesAccess(int errorCode) const {
    std::lock_guard lock(mutex_);
    return deniedErrors_.count(errorCode) != 0;
}

std::unique_ptr<HidConnection> ReplayTransport::Open(const std::string& path, int* errorCode) {
    std::lock_guard lock(mutex_);
    if (events_.Has(next_) && events_[next_].kind == TraceEvent::Kind::OpenFailed &&
        events_[next_].info.path == path) {
        *errorCode = static_cast<int>(events_[next_].openError);
        if (events_[next_].denied) {
            deniedErrors_.insert(*errorCode);
        }
        AdvanceLocked();
        return nullptr;
    }
    for (const Present& p : present_) {
        if (p.info.path == path) {
            *errorCode = 0;
            return std::make_unique<ReplayConnection>(*this, p.instance, path, p.descriptor);
        }
    }
    *errorCode = ENOENT;
    return nullptr;
}

std::optional<std::pair<uint16_t, uint16_t>> ReplayTransport::Attributes(
    HidConnection& connection) {
    const auto* replay = dynamic_cast<ReplayConnection*>(&connection);
    if (replay == nullptr) {
        return std::nullopt;
    }
    std::lock_guard lock(mutex_);
    for (const Present& p : present_) {
        if (p.instance == replay->instance()) {
            return std::make_pair(p.info.vendorId, p.info.productId);
        }
    }
    return std::nullopt;
}

std::vector<uint8_t> ReplayTransport::ReportDescriptor(const std::string& path) {
    std::lock_guard lock(mutex_);
    for (const Present& p : present_) {
        if (p.info.path == path) {
            return p.descriptor;
        }
    }
    return {};
}

size_t ReplayTransport::EventsHeld() const {
    std::lock_guard lock(mutex_);
    return events_.held();
}

size_t ReplayTransport::OutputsLeft() const {
    std::lock_guard lock(mutex_);
    return events_.CountFrom(next_,
                             [](const TraceEvent& e) { return e.kind == TraceEvent::Kind::Out; });
}

bool ReplayTransport::IsGone(uint64_t instance) const {
    std::lock_guard lock(mutex_);
    return goneInstances_.count(instance) != 0;
}

int ReplayTransport::TakeInput(uint64_t instance, uint8_t* report, size_t length, int timeoutMs,
                               int* error) {
    const Clock::time_point deadline =
        Clock::now() + std::chrono::milliseconds(std::max(0, timeoutMs));
    std::unique_lock lock(mutex_);
    for (;;) {
        if (goneInstances_.count(instance) != 0) {
            *error = 0;  // hung up
            return -1;
        }
        const Clock::time_point now = Clock::now();
        Clock::time_point wakeAt = deadline;
        if (events_.Has(next_) && events_[next_].kind == TraceEvent::Kind::In) {
            // A drain takes what the recording drained, whenever it is asked.
            const Clock::time_point due = timeoutMs == 0 ? now : DueLocked(next_);
            if (now >= due) {
                const std::vector<uint8_t>& bytes = events_[next_].bytes;
                const size_t n = std::min(length, bytes.size());
                std::memcpy(report, bytes.data(), n);
                AdvanceLocked();
                if (const int notices = FollowReportLocked(); notices > 0) {
                    lock.unlock();
                    Notify(notices);
                }
                return static_cast<int>(n);
            }
            wakeAt = std::min(deadline, due);
        }
        // An output report next, or nothing left: the device says nothing until the time is up.
        if (now >= deadline) {
            *error = 0;
            return 0;
        }
        changed_.wait_until(lock, wakeAt);
    }
}

int ReplayTransport::MatchOutput(uint64_t instance, const uint8_t* report, size_t length,
                                 int* error, std::string* mismatch) {
    const Clock::time_point presenceLimit = Clock::now() + kPresenceWaitLimit;
    std::unique_lock lock(mutex_);
    for (;;) {
        if (!mismatch_.empty()) {
            *mismatch = mismatch_;
            *error = kReplayMismatchError;
            return -1;
        }
        if (goneInstances_.count(instance) != 0) {
            *error = ENODEV;
            return -1;
        }
        if (AtEndLocked()) {
            // Past a whole recording's end the device is silent; past the end of one cut short
            // the recording has run out.
            if (RunsOutLocked()) {
                lock.unlock();
                TellRanOut();
            }
            return static_cast<int>(length);
        }
        const TraceEvent& event = events_[next_];
        if (event.kind == TraceEvent::Kind::In || event.kind == TraceEvent::Kind::OpenFailed) {
            AdvanceLocked();  // input the program never looked at, an open it did not retry
            continue;
        }
        if (Played(event)) {
            // It happened before this write: the player applies it, unless it waits for a look
            // at the device list that this program does not take.
            if (changed_.wait_until(lock, presenceLimit) == std::cv_status::timeout &&
                events_.Has(next_) && Played(events_[next_])) {
                const TraceEvent::Kind kind = events_[next_].kind;
                mismatch_ = "output report " + std::to_string(outputs_ + 1) +
                            " came before the device's recorded " +
                            (kind == TraceEvent::Kind::Arrival   ? "arrival"
                             : kind == TraceEvent::Kind::Removal ? "removal"
                                                                 : "notice") +
                            ": sent " + HexBytes(std::vector<uint8_t>(report, report + length));
            }
            continue;
        }
        ++outputs_;
        const std::vector<uint8_t> sent(report, report + length);
        if (sent != event.bytes) {
            mismatch_ = "output report " + std::to_string(outputs_) +
                        " differs from the recording: sent " + HexBytes(sent) + ", recorded " +
                        HexBytes(event.bytes);
            continue;
        }
        const int failure = WriteErrorOf(event.outcome);
        AdvanceLocked();
        if (const int notices = FollowReportLocked(); notices > 0) {
            lock.unlock();
            Notify(notices);
        }
        if (failure != 0) {
            *error = failure;
            return -1;
        }
        return static_cast<int>(length);
    }
}

}  // namespace tavlin
