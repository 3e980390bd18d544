#include "platform/StandardStreams.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>

namespace tavlin {
namespace {

// System calls themselves: this runs before a sanitizer's runtime has set up the libc functions
// it stands in for (open, fcntl, pipe2, dup2, close), and calling one of those then jumps to
// address zero.
long OpenNullDevice(int flags) {
    return ::syscall(SYS_openat, AT_FDCWD, "/dev/null", flags);
}

}  // namespace

void OccupyClosedStandardStreams(int, char**, char**) {
    bool closed[3] = {};
    for (int fd = 0; fd < 3; ++fd) {
        closed[fd] = ::syscall(SYS_fcntl, fd, F_GETFD) == -1 && errno == EBADF;
    }
    // Each open takes the lowest free number: the closed ones, in order.
    for (int fd = 0; fd < 3; ++fd) {
        if (closed[fd] && OpenNullDevice(fd == 0 ? O_RDONLY : O_WRONLY) != fd) {
            return;
        }
    }
    for (int fd = 1; fd < 3; ++fd) {
        int ends[2];
        if (closed[fd] && ::syscall(SYS_pipe2, ends, O_CLOEXEC) == 0) {
            // In the null device's place; this copy stays across exec.
            ::syscall(SYS_dup3, ends[1], fd, 0);
            ::syscall(SYS_close, ends[0]);
            ::syscall(SYS_close, ends[1]);
        }
    }
}

}  // namespace tavlin
