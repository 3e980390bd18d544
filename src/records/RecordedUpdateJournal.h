#pragma once
#include <string>
#include <vector>

#include "firmware/UpdateJournal.h"
#include "records/UpdateProgressKeeper.h"
#include "records/UpdateProgressTrack.h"

namespace tavlin {

// An update's journal in the station database, under the run's record: Starting returns once the
// package is kept, for a front end that asks the unit to restart only then.
class RecordedUpdateJournal : public UpdateJournal {
  public:
    RecordedUpdateJournal(std::string storePath, std::string runUuid);

    Result Starting(const LoadedPackage& package) override;
    void Writing(ImageWrite write, uint64_t packet) override;
    void Leaving() override;
    // Writes what is pending; the first write that failed, else Ok.
    Result Finish() { return keeper_.Finish(); }

  private:
    UpdateProgressTrack track_;
    UpdateProgressKeeper keeper_;
};

// What an update keeps before it starts: the package (absolute), the folder its image names are
// read in, and the hashes of the bytes that will be written.
UpdateProgress ProgressOfPackage(const LoadedPackage& package);

// How `package` as read now differs from the files an update kept (ProgressOfPackage's): the
// first file whose bytes changed, that went, or that came; empty when they are the same. The
// package file is compared by its hash alone, so it may be named another way now.
std::string PackageDifference(const std::vector<ArtefactRecord>& kept,
                              const LoadedPackage& package);

// "HInfo", "LInfo" or "RInfo".
const char* ImageNameOf(PackageSection section);

}  // namespace tavlin
