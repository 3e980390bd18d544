#include "platform/ProcessIdentity.h"

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

namespace tavlin {

namespace {

std::string BootId() {
    std::ifstream in("/proc/sys/kernel/random/boot_id");
    std::string id;
    std::getline(in, id);
    return id;
}

}  // namespace

std::int64_t CurrentProcessId() {
    return static_cast<std::int64_t>(::getpid());
}

std::string ProcessStartIdentity(std::int64_t pid) {
    if (pid <= 0) {
        return {};
    }
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    if (!std::getline(in, stat)) {
        return {};
    }
    // The program's name (field 2) is in parentheses and may hold spaces and parentheses of its
    // own: the fields are counted from the last closing one. Start time is field 22.
    const auto close = stat.rfind(')');
    if (close == std::string::npos) {
        return {};
    }
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    for (int number = 3; number <= 22; ++number) {
        if (!(fields >> field)) {
            return {};
        }
    }
    // A zombie has ended: only its exit status is left for its parent to collect.
    std::istringstream state(stat.substr(close + 1));
    std::string letter;
    state >> letter;
    if (letter == "Z" || letter == "X") {
        return {};
    }
    return BootId() + ":" + field;
}

std::string HostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) {
        return {};
    }
    return name;
}

}  // namespace tavlin
