#pragma once
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "firmware/UpdateJournal.h"
#include "records/UpdateProgressKeeper.h"
#include "records/UpdateProgressTrack.h"

namespace tavlin {

// An update's journal for a front end whose threads may never wait for the database, and whose
// run record is begun on another thread while the update already goes (the window). Nothing here
// waits for a write: until Open names the run, only the newest progress is held in memory; from
// then on a keeper of its own writes it.
class DeferredUpdateJournal : public UpdateJournal {
  public:
    DeferredUpdateJournal() = default;
    ~DeferredUpdateJournal() override;
    DeferredUpdateJournal(const DeferredUpdateJournal&) = delete;
    DeferredUpdateJournal& operator=(const DeferredUpdateJournal&) = delete;

    // Returns at once: the package and its hashes are kept once the run is known.
    Result Starting(const LoadedPackage& package) override;
    void Writing(ImageWrite write, uint64_t packet) override;
    void Leaving() override;

    // The run's record is in `storePath` as `runUuid`: what came so far, and all that comes, is
    // written under it. Once only; from a thread that may wait (the keeper's thread starts here).
    void Open(const std::string& storePath, const std::string& runUuid);
    // Writes what is pending and stops keeping: before the run's record is completed, since
    // progress written after it would speak of a run that is over. The first write that failed,
    // else Ok (also when the journal was never opened). From a thread that may wait.
    Result Finish();

  private:
    void Note(UpdateProgress progress);

    UpdateProgressTrack track_;
    std::mutex mutex_;
    std::unique_ptr<UpdateProgressKeeper> keeper_;  // once opened
    bool started_ = false;
    bool finished_ = false;
    std::optional<UpdateProgress> start_;   // before Open: the package and its files
    std::optional<UpdateProgress> latest_;  // before Open: the newest progress since
};

}  // namespace tavlin
