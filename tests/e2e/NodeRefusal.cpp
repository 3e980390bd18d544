#include "NodeRefusal.h"

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavlin::e2e {
namespace {

constexpr uid_t kNobody = 65534;
constexpr gid_t kNogroup = 65534;

bool Root() {
    return geteuid() == 0;
}

}  // namespace

NodeRefusal::NodeRefusal(UmockdevBed& bed, int plug) : terminal_(bed.TerminalOf(plug)) {
    dir_ = std::filesystem::temp_directory_path() /
           ("tavlin-e2e-refused-" + std::to_string(getpid()) + "-" + std::to_string(plug));
    std::filesystem::create_directories(dir_);
    struct stat before {};
    if (terminal_.empty() || stat(terminal_.c_str(), &before) != 0 ||
        chmod(dir_.c_str(), 0777) != 0) {
        problem_ = "the plug's node cannot be found";
        return;
    }
    mode_ = before.st_mode & 07777;
    if (Root()) {
        // The testbed stays readable; umockdev's preload reaches its ioctl socket before the
        // node itself is opened, so that must stay reachable too.
        chmod(bed.SysRoot().c_str(), 0755);
        const std::string ioctl = bed.SysRoot() + "/ioctl";
        std::error_code error;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(ioctl, error)) {
            chmod(entry.path().c_str(), entry.is_directory() ? 0755 : 0777);
        }
        chmod(ioctl.c_str(), 0755);
    }
    if (chmod(terminal_.c_str(), Root() ? 0600 : 0) != 0) {
        problem_ = "the node's permissions cannot be changed";
        return;
    }
    changed_ = true;
}

NodeRefusal::~NodeRefusal() {
    if (changed_) {
        chmod(terminal_.c_str(), mode_);
    }
    std::error_code error;
    std::filesystem::remove_all(dir_, error);
}

NodeRefusal::Unprivileged::Unprivileged(const NodeRefusal&) {
    if (Root()) {
        dropped_ = seteuid(kNobody) == 0;
        ok_ = dropped_;
    }
}

NodeRefusal::Unprivileged::~Unprivileged() {
    if (dropped_) {
        static_cast<void>(seteuid(0));
    }
}

bool NodeRefusal::BecomeUnprivilegedForGood() {
    if (!Root()) {
        return true;
    }
    return setgroups(0, nullptr) == 0 && setgid(kNogroup) == 0 && setuid(kNobody) == 0;
}

}  // namespace tavlin::e2e
