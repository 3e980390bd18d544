#include "platform/StandardStreams.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace tavlin {

void OccupyClosedStandardStreams(int, char**, char**) {
    bool closed[3] = {};
    for (int fd = 0; fd < 3; ++fd) {
        closed[fd] = ::fcntl(fd, F_GETFD) == -1 && errno == EBADF;
    }
    // Each open takes the lowest free number: the closed ones, in order.
    for (int fd = 0; fd < 3; ++fd) {
        if (closed[fd] && ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) != fd) {
            return;
        }
    }
    for (int fd = 1; fd < 3; ++fd) {
        int ends[2];
        if (closed[fd] && ::pipe2(ends, O_CLOEXEC) == 0) {
            ::dup2(ends[1], fd);  // in the null device's place; this copy stays across exec
            ::close(ends[0]);
            ::close(ends[1]);
        }
    }
}

}  // namespace tavlin
