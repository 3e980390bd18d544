#include "trace/TraceWriter.h"

#include <cerrno>
#include <cstring>

#include "base/Log.h"

#include "base/Unexpected.h"
#include "platform/RegularFile.h"
#include "trace/TraceFormat.h"

namespace tavlin {
namespace {

// How long events may wait in memory: short enough that a killed process loses little, long
// enough that the writer wakes rarely.
constexpr auto kWritePeriod = std::chrono::milliseconds(50);

}  // namespace

std::unique_ptr<TraceWriter> TraceWriter::Create(const std::string& path,
                                                 const std::string& toolVersion, size_t maxQueued,
                                                 bool* notAFile) {
    const RegularFile opened = OpenRegularFile(path, "wb");
    if (notAFile != nullptr) {
        *notAFile = opened.notAFile;
    }
    std::FILE* file = opened.file;
    if (file == nullptr) {
        return nullptr;
    }
    const std::string header = TraceHeaderLine(toolVersion) + "\n";
    if (std::fputs(header.c_str(), file) < 0 || std::fflush(file) != 0) {
        std::fclose(file);
        return nullptr;
    }
    return std::unique_ptr<TraceWriter>(new TraceWriter(file, maxQueued));
}

TraceWriter::TraceWriter(std::FILE* file, size_t maxQueued)
    : file_(file),
      maxQueued_(maxQueued),
      start_(Clock::now()),
      thread_([this] { RunGuarded([this] { Run(); }); }) {}

TraceWriter::~TraceWriter() {
    Close();
}

void TraceWriter::Add(TraceEvent event) {
    std::lock_guard lock(mutex_);
    if (closing_ || !status_.complete) {
        return;
    }
    if (queued_.size() >= maxQueued_) {
        StopLocked("the writer fell behind the link (" + std::to_string(maxQueued_) +
                   " events waiting)");
        return;
    }
    // Stamped under the lock, so the file's times never run backwards.
    event.us = static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start_).count());
    queued_.push_back(std::move(event));
}

TraceWriter::Status TraceWriter::status() const {
    std::lock_guard lock(mutex_);
    return status_;
}

void TraceWriter::StopLocked(std::string reason) {
    if (!status_.complete) {
        return;
    }
    status_ = {false, std::move(reason)};
    WriteLog("Recording ends early: %s\n", status_.reason.c_str());
    if (onStop_) {
        onStop_(status_);
    }
}

void TraceWriter::MarkIncomplete(const std::string& reason) {
    std::lock_guard lock(mutex_);
    if (!closing_) {
        StopLocked(reason);
    }
}

void TraceWriter::OnStop(std::function<void(const Status&)> listener) {
    std::lock_guard lock(mutex_);
    onStop_ = std::move(listener);
}

void TraceWriter::Close() {
    {
        std::lock_guard lock(mutex_);
        if (closed_) {
            return;
        }
        closing_ = true;
        closed_ = true;
    }
    wake_.notify_one();
    // The writer's own thread closing it (an unexpected error there) cannot wait for itself;
    // what it queued stays unwritten, and so does the end line.
    if (thread_.get_id() == std::this_thread::get_id()) {
        thread_.detach();
        return;
    }
    thread_.join();
    WriteEnd();
    if (std::fclose(file_) != 0) {
        const int error = errno;
        std::lock_guard lock(mutex_);
        StopLocked(std::string("closing the file failed: ") + std::strerror(error));
    }
}

void TraceWriter::Run() {
    std::vector<TraceEvent> batch;
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait_for(lock, kWritePeriod, [this] { return closing_; });
        batch.swap(queued_);
        const bool last = closing_;
        lock.unlock();
        WriteBatch(batch);
        batch.clear();
        if (last) {
            return;
        }
        lock.lock();
    }
}

void TraceWriter::WriteEnd() {
    TraceEvent end;
    end.kind = TraceEvent::Kind::End;
    {
        std::lock_guard lock(mutex_);
        end.complete = status_.complete;
        end.reason = status_.reason;
        end.us = static_cast<uint64_t>(
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start_).count());
    }
    WriteBatch({end});
}

void TraceWriter::WriteBatch(const std::vector<TraceEvent>& batch) {
    if (batch.empty()) {
        return;
    }
    std::string text;
    for (const TraceEvent& event : batch) {
        text += TraceEventLine(event);
        text += '\n';
    }
    {
        std::lock_guard lock(mutex_);
        if (writeFailed_) {
            return;  // nothing after a failed write: the file stays whole up to its cut line
        }
    }
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size() || std::fflush(file_) != 0) {
        const int error = errno;
        std::lock_guard lock(mutex_);
        writeFailed_ = true;
        StopLocked(std::string("writing the file failed: ") +
                   (error != 0 ? std::strerror(error) : "short write"));
    }
}

}  // namespace tavlin
