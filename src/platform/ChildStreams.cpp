#include "platform/ChildStreams.h"

#include <utility>

namespace tavlin {

ChildStreams::ChildStreams(ChildProcess::LineSink onErrorLine)
    : onErrorLine_(std::move(onErrorLine)) {}

void ChildStreams::AddOutput(const char* data, size_t size) {
    std::lock_guard lock(outputMutex_);
    output_.append(data, size);
}

void ChildStreams::AddError(const char* data, size_t size) {
    const char* const end = data + size;
    for (const char* p = data; p != end; ++p) {
        if (*p != '\n') {
            partialLine_ += *p;
            continue;
        }
        // A Windows program writes its lines to a pipe in text mode, each ending "\r\n".
        if (!partialLine_.empty() && partialLine_.back() == '\r') {
            partialLine_.pop_back();
        }
        Deliver(partialLine_);
        partialLine_.clear();
    }
}

void ChildStreams::StartReaders(std::thread outputReader, std::thread errorReader) {
    outputReader_ = std::move(outputReader);
    errorReader_ = std::move(errorReader);
}

void ChildStreams::JoinReaders() {
    if (outputReader_.joinable()) {
        outputReader_.join();
    }
    if (errorReader_.joinable()) {
        errorReader_.join();
        EndError();
    }
}

void ChildStreams::EndError() {
    if (!partialLine_.empty()) {
        Deliver(partialLine_);
        partialLine_.clear();
    }
}

std::string ChildStreams::Output() const {
    std::lock_guard lock(outputMutex_);
    return output_;
}

void ChildStreams::Deliver(const std::string& line) {
    if (!onErrorLine_) {
        return;
    }
    try {
        onErrorLine_(line);
    } catch (...) {
        // The pipe must still be read to its end, or the child stalls on it; a sink that
        // failed on one line may still take the next.
    }
}

}  // namespace tavlin
