#include "device/TraceWriter.h"

#include "base/Unexpected.h"
#include "device/TraceFormat.h"
#include "platform/FilePath.h"

namespace tavlin {
namespace {

// How long events may wait in memory: short enough that a killed process loses little, long
// enough that the writer wakes rarely.
constexpr auto kWritePeriod = std::chrono::milliseconds(50);

}  // namespace

std::unique_ptr<TraceWriter> TraceWriter::Create(const std::string& path,
                                                 const std::string& toolVersion) {
    std::FILE* file = OpenFile(path, "wb");
    if (file == nullptr) {
        return nullptr;
    }
    const std::string header = TraceHeaderLine(toolVersion) + "\n";
    if (std::fputs(header.c_str(), file) < 0 || std::fflush(file) != 0) {
        std::fclose(file);
        return nullptr;
    }
    return std::unique_ptr<TraceWriter>(new TraceWriter(file));
}

TraceWriter::TraceWriter(std::FILE* file)
    : file_(file), start_(Clock::now()), thread_([this] { RunGuarded([this] { Run(); }); }) {}

TraceWriter::~TraceWriter() {
    Close();
}

void TraceWriter::Add(TraceEvent event) {
    std::lock_guard lock(mutex_);
    if (closing_) {
        return;
    }
    // Stamped under the lock, so the file's times never run backwards.
    event.us = static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start_).count());
    queued_.push_back(std::move(event));
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
    thread_.join();
    std::fclose(file_);
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

void TraceWriter::WriteBatch(const std::vector<TraceEvent>& batch) {
    if (batch.empty()) {
        return;
    }
    std::string text;
    for (const TraceEvent& event : batch) {
        text += TraceEventLine(event);
        text += '\n';
    }
    std::fwrite(text.data(), 1, text.size(), file_);
    std::fflush(file_);
}

}  // namespace tavlin
