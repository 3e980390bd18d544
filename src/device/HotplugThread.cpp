#include "device/HotplugThread.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "base/Unexpected.h"

namespace tavlin {

HotplugThread::HotplugThread(HotplugSource& source, std::function<void()> onChange)
    : source_(source), onChange_(std::move(onChange)) {}

HotplugThread::~HotplugThread() {
    Stop();
}

bool HotplugThread::Start() {
    if (thread_.joinable() || source_.fd() < 0) {
        return false;
    }
    stopFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (stopFd_ < 0) {
        return false;
    }
    thread_ = std::thread([this] { RunGuarded([this] { Run(); }); });
    return true;
}

void HotplugThread::Stop() {
    if (!thread_.joinable()) {
        return;
    }
    const uint64_t one = 1;
    // An eventfd write of 1 cannot fail short of an overflow after 2^64 - 2 stops.
    [[maybe_unused]] const ssize_t n = write(stopFd_, &one, sizeof one);
    thread_.join();
    close(stopFd_);
    stopFd_ = -1;
}

void HotplugThread::Run() {
    pollfd fds[2] = {{source_.fd(), POLLIN, 0}, {stopFd_, POLLIN, 0}};
    for (;;) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (fds[1].revents != 0) {
            return;
        }
        if ((fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            return;  // the source is gone: nothing more will come
        }
        if ((fds[0].revents & POLLIN) != 0 && source_.DrainEvents()) {
            onChange_();
        }
    }
}

}  // namespace tavlin
