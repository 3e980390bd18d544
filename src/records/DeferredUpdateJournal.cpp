#include "records/DeferredUpdateJournal.h"

namespace tavlin {

DeferredUpdateJournal::~DeferredUpdateJournal() {
    // A keeper not finished by its owner ends here; the failure was its owner's to ask for.
    (void)Finish();
}

Result DeferredUpdateJournal::Starting(const LoadedPackage& package) {
    UpdateProgress progress = track_.Start(package);
    std::lock_guard lock(mutex_);
    if (finished_) {
        return Result::Ok();
    }
    started_ = true;
    if (keeper_ != nullptr) {
        keeper_->BeginWithoutWaiting(progress);
    } else {
        start_ = std::move(progress);
        latest_.reset();
    }
    return Result::Ok();
}

void DeferredUpdateJournal::Writing(ImageWrite write, uint64_t packet) {
    Note(track_.Writing(write, packet));
}

void DeferredUpdateJournal::Leaving() {
    Note(track_.Leaving());
}

void DeferredUpdateJournal::Note(UpdateProgress progress) {
    std::lock_guard lock(mutex_);
    if (!started_) {
        return;  // no package kept: nothing for the progress to belong to
    }
    if (keeper_ != nullptr) {
        keeper_->Note(progress);
    } else if (!finished_) {
        latest_ = std::move(progress);
    }
}

void DeferredUpdateJournal::Open(const std::string& storePath, const std::string& runUuid) {
    std::lock_guard lock(mutex_);
    if (keeper_ != nullptr || finished_) {
        return;
    }
    keeper_ = std::make_unique<UpdateProgressKeeper>(storePath, runUuid);
    if (start_) {
        keeper_->BeginWithoutWaiting(*start_);
        start_.reset();
    }
    if (latest_) {
        keeper_->Note(*latest_);
        latest_.reset();
    }
}

Result DeferredUpdateJournal::Finish() {
    std::unique_ptr<UpdateProgressKeeper> keeper;
    {
        std::lock_guard lock(mutex_);
        finished_ = true;
        start_.reset();
        latest_.reset();
        keeper = std::move(keeper_);
    }
    // Outside the lock: the update's worker may still note progress, and must not wait for it.
    return keeper != nullptr ? keeper->Finish() : Result::Ok();
}

}  // namespace tavlin
