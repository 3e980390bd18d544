#pragma once
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>

#include "platform/ChildProcess.h"

namespace tavlin {

// What a child writes, as it comes off its two pipes: standard output kept whole, standard error
// cut into lines for the sink. Each pipe has one reader, which calls only its own half; the
// output is read under a lock because a caller may look at it while the child still writes.
class ChildStreams {
  public:
    explicit ChildStreams(ChildProcess::LineSink onErrorLine);

    void AddOutput(const char* data, size_t size);
    void AddError(const char* data, size_t size);
    // The two pipes' readers, which call AddOutput and AddError. JoinReaders waits until both
    // pipes ended; a last error line without its line feed goes out then.
    void StartReaders(std::thread outputReader, std::thread errorReader);
    void JoinReaders();
    std::string Output() const;

  private:
    void EndError();
    void Deliver(const std::string& line);

    ChildProcess::LineSink onErrorLine_;
    std::string partialLine_;
    mutable std::mutex outputMutex_;
    std::string output_;
    std::thread outputReader_;
    std::thread errorReader_;
};

}  // namespace tavlin
