#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "trace/TraceEvent.h"

namespace tavlin {

// Writes a session recording. The link's threads only stamp and queue an event (a lock and a
// copy); a thread of the writer's own turns the events into lines and writes them, so the file
// costs the exchange nothing. Closing (or destroying) the writer writes everything queued
// before it returns.
//
// A recording is evidence, so it never loses events silently: a write that fails (a full disk)
// or a queue that overflows (a writer that cannot keep up; it never makes the link wait) ends
// the recording there, whole up to that point, and marks it incomplete with the reason.
class TraceWriter {
  public:
    using Clock = std::chrono::steady_clock;

    // The most events waiting for the writer's thread; a few seconds of the busiest session.
    static constexpr size_t kMaxQueued = 1 << 16;

    struct Status {
        bool complete = true;
        std::string reason;  // why not
    };

    // Creates (or truncates) the file and writes the first line; nullptr when it cannot, with
    // `notAFile` (when given) set when the name is a FIFO, a device or a folder, which are
    // refused without waiting for a reader.
    static std::unique_ptr<TraceWriter> Create(const std::string& path,
                                               const std::string& toolVersion,
                                               size_t maxQueued = kMaxQueued,
                                               bool* notAFile = nullptr);
    ~TraceWriter();
    TraceWriter(const TraceWriter&) = delete;
    TraceWriter& operator=(const TraceWriter&) = delete;

    // Stamps the event with the time since the recording started and queues it.
    void Add(TraceEvent event);
    // Ends the recording where it is, as a failed write would: the run that it records did not
    // end as it should (an unexpected error), so the file must not pass for a whole run.
    void MarkIncomplete(const std::string& reason);
    // Writes what is queued and the end line (whole or not, and why), then ends the writer's
    // thread; later events are dropped. A recording without its end line was cut short.
    void Close();
    Status status() const;
    // Called once, when the recording stops taking events before its close (with the reason);
    // on the thread that stopped it, which may hold the writer's lock: it must not call back.
    void OnStop(std::function<void(const Status&)> listener);

  private:
    TraceWriter(std::FILE* file, size_t maxQueued);
    void Run();
    void WriteBatch(const std::vector<TraceEvent>& batch);
    void WriteEnd();  // after the writer's thread has ended
    // Ends the recording where it is, once; with mutex_ held.
    void StopLocked(std::string reason);

    std::FILE* file_;
    const size_t maxQueued_;
    const Clock::time_point start_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    Status status_;             // incomplete: nothing more is taken
    bool writeFailed_ = false;  // nothing more is written
    std::vector<TraceEvent> queued_;
    bool closing_ = false;
    bool closed_ = false;
    std::function<void(const Status&)> onStop_;
    std::thread thread_;  // last: runs over the members above
};

}  // namespace tavlin
