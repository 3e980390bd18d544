#pragma once
// A station without the udev rules: the device is listed, but its node refuses this user.
#include <sys/types.h>

#include <filesystem>
#include <string>

#include "UmockdevFixture.h"

namespace tavlin::e2e {

// Takes the access to one plug's node away for as long as it lives, and gives it back after.
// The kernel refuses the open for real: a non-root run takes the permissions off the node's
// PTY. Root passes every mode bit, so a root run leaves the node to root alone and lets an
// unprivileged user do the opening - this process for a while (Unprivileged) or a child that
// becomes that user (BecomeUnprivilegedForGood) - with the rest of the testbed readable to it,
// so that the node is the only thing refused.
class NodeRefusal {
  public:
    NodeRefusal(UmockdevBed& bed, int plug);
    ~NodeRefusal();
    NodeRefusal(const NodeRefusal&) = delete;
    NodeRefusal& operator=(const NodeRefusal&) = delete;

    // Empty when the refusal is in place; otherwise why it could not be set up.
    const std::string& problem() const { return problem_; }
    // A folder every user may write (the log of a run as the unprivileged user goes there).
    const std::filesystem::path& workDir() const { return dir_; }

    // While alive, this process runs with the unprivileged user's effective id (root runs).
    class Unprivileged {
      public:
        explicit Unprivileged(const NodeRefusal& refusal);
        ~Unprivileged();
        bool ok() const { return ok_; }

      private:
        bool dropped_ = false;
        bool ok_ = true;
    };

    // In a child process before exec: becomes the unprivileged user for good (root runs); a
    // process that keeps a root real id would run the program in secure mode, without the
    // umockdev preload. False when that failed.
    static bool BecomeUnprivilegedForGood();

  private:
    std::string terminal_;
    mode_t mode_ = 0;
    bool changed_ = false;
    std::filesystem::path dir_;
    std::string problem_;
};

}  // namespace tavlin::e2e
