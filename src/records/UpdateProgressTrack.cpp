#include "records/UpdateProgressTrack.h"

#include "records/RecordedUpdateJournal.h"

namespace tavlin {

UpdateProgress UpdateProgressTrack::Start(const LoadedPackage& package) {
    UpdateProgress progress = ProgressOfPackage(package);
    std::lock_guard lock(mutex_);
    writes_.clear();
    for (const PlannedWrite& plan : PlanUpdate(package.enables)) {
        writes_.push_back(plan.write);
    }
    progress_ = progress;
    return progress;
}

UpdateProgress UpdateProgressTrack::Writing(ImageWrite write, uint64_t packet) {
    UpdateProgress progress;
    {
        std::lock_guard lock(mutex_);
        progress_.stage = "image";
        progress_.image = ImageNameOf(SectionOf(write));
        for (size_t i = 0; i < writes_.size(); ++i) {
            if (writes_[i] == write) {
                progress_.imageNumber = static_cast<int>(i) + 1;
            }
        }
        progress_.packet = static_cast<std::int64_t>(packet);
        progress = progress_;
    }
    progress.files.clear();
    return progress;
}

UpdateProgress UpdateProgressTrack::Leaving() {
    UpdateProgress progress;
    {
        std::lock_guard lock(mutex_);
        progress_.stage = "restart-out";
        progress = progress_;
    }
    progress.files.clear();
    return progress;
}

}  // namespace tavlin
