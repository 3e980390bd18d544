#pragma once
#include <cstdint>
#include <mutex>
#include <vector>

#include "firmware/LoadedPackage.h"
#include "firmware/UpdatePlan.h"
#include "records/RunRecord.h"

namespace tavlin {

// Where an update stands, worked out from its package and the packets it is about to send, for a
// journal to keep. Any thread.
class UpdateProgressTrack {
  public:
    // The update of `package` begins: the package, its files and their hashes, "restart-in".
    UpdateProgress Start(const LoadedPackage& package);
    // Packet `packet` of the `write` image is about to go. Without the files: they are kept once.
    UpdateProgress Writing(ImageWrite write, uint64_t packet);
    // The images are written: "restart-out", without the files.
    UpdateProgress Leaving();

  private:
    std::mutex mutex_;
    std::vector<ImageWrite> writes_;  // in the order the update goes
    UpdateProgress progress_;
};

}  // namespace tavlin
