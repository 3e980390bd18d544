#include "records/UpdateProgressKeeper.h"

#include <chrono>
#include <memory>

#include "base/Log.h"
#include "records/RecordStore.h"

namespace tavlin {

UpdateProgressKeeper::UpdateProgressKeeper(std::string storePath, std::string runUuid)
    : storePath_(std::move(storePath)), runUuid_(std::move(runUuid)) {
    thread_ = std::thread([this] { Run(); });
}

UpdateProgressKeeper::~UpdateProgressKeeper() {
    // A failure was the caller's to ask Finish for; here the thread only ends.
    (void)Finish();
}

bool UpdateProgressKeeper::HandBegin(const UpdateProgress& progress) {
    if (finishing_) {
        return false;
    }
    begin_ = progress;
    begun_ = false;
    pending_.reset();
    changed_.notify_all();
    return true;
}

void UpdateProgressKeeper::BeginWithoutWaiting(const UpdateProgress& progress) {
    std::lock_guard lock(mutex_);
    HandBegin(progress);
}

Result UpdateProgressKeeper::Begin(const UpdateProgress& progress) {
    std::unique_lock lock(mutex_);
    if (!HandBegin(progress)) {
        return Result::Fail(ResultCode::Failed, "the update's progress is no longer kept");
    }
    // Bounded by the store's busy time-out: the thread writes nothing else first.
    changed_.wait(lock, [this] { return begun_; });
    return failure_;
}

void UpdateProgressKeeper::Note(const UpdateProgress& progress) {
    std::lock_guard lock(mutex_);
    if (finishing_) {
        return;
    }
    const UpdateProgress& before = pending_ ? *pending_ : progress;
    urgent_ = urgent_ || !pending_ || before.stage != progress.stage ||
              before.imageNumber != progress.imageNumber;
    pending_ = progress;
    changed_.notify_all();
}

Result UpdateProgressKeeper::Finish() {
    {
        std::lock_guard lock(mutex_);
        finishing_ = true;
        changed_.notify_all();
    }
    if (thread_.joinable()) {
        thread_.join();
    }
    std::lock_guard lock(mutex_);
    return failure_;
}

void UpdateProgressKeeper::Run() {
    std::unique_ptr<RecordStore> store;
    Result opened = RecordStore::Open(storePath_, &store);
    auto nextWrite = std::chrono::steady_clock::now();
    std::unique_lock lock(mutex_);
    for (;;) {
        // Progress that only moved a packet waits for its time; nothing pending waits for news.
        if (pending_) {
            changed_.wait_until(lock, nextWrite,
                                [this] { return begin_ || finishing_ || (pending_ && urgent_); });
        } else {
            changed_.wait(lock, [this] { return begin_ || finishing_ || pending_; });
        }
        if (begin_) {
            const UpdateProgress progress = std::move(*begin_);
            begin_.reset();
            lock.unlock();
            Result written = opened ? store->BeginUpdate(runUuid_, progress) : opened;
            lock.lock();
            if (!written && failure_) {
                failure_ = written;
            }
            begun_ = true;
            changed_.notify_all();
            continue;
        }
        const bool due = std::chrono::steady_clock::now() >= nextWrite;
        if (pending_ && (urgent_ || due || finishing_)) {
            const UpdateProgress progress = std::move(*pending_);
            pending_.reset();
            urgent_ = false;
            lock.unlock();
            Result written = opened ? store->NoteUpdateProgress(runUuid_, progress) : opened;
            nextWrite =
                std::chrono::steady_clock::now() + std::chrono::milliseconds(kPacketPeriodMs);
            lock.lock();
            if (!written && failure_) {
                failure_ = written;
                WriteLog("Update progress not kept: %s\n", written.reason().c_str());
            }
            continue;
        }
        if (finishing_) {
            return;
        }
    }
}

}  // namespace tavlin
