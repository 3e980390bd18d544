#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdio>
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
class TraceWriter {
  public:
    using Clock = std::chrono::steady_clock;

    // Creates (or truncates) the file and writes the first line; nullptr when it cannot.
    static std::unique_ptr<TraceWriter> Create(const std::string& path,
                                               const std::string& toolVersion);
    ~TraceWriter();
    TraceWriter(const TraceWriter&) = delete;
    TraceWriter& operator=(const TraceWriter&) = delete;

    // Stamps the event with the time since the recording started and queues it.
    void Add(TraceEvent event);
    // Writes what is queued and ends the writer's thread; later events are dropped.
    void Close();

  private:
    explicit TraceWriter(std::FILE* file);
    void Run();
    void WriteBatch(const std::vector<TraceEvent>& batch);

    std::FILE* file_;
    const Clock::time_point start_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<TraceEvent> queued_;
    bool closing_ = false;
    bool closed_ = false;
    std::thread thread_;  // last: runs over the members above
};

}  // namespace tavlin
