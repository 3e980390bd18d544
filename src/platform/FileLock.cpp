#include "platform/FileLock.h"

#include "platform/FilePath.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <cerrno>
#endif

namespace tavlin {

#ifdef _WIN32

FileLock::Outcome FileLock::TryLock(const std::string& path) {
    Release();
    // Shared for every use, so the lock, not the sharing mode, decides who owns the name.
    HANDLE file = CreateFileW(PathFromUtf8(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return Outcome::Unavailable;
    }
    OVERLAPPED at{};
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        CloseHandle(file);
        return Outcome::HeldElsewhere;
    }
    handle_ = file;
    return Outcome::Locked;
}

void FileLock::Release() {
    if (handle_ != nullptr) {
        CloseHandle(static_cast<HANDLE>(handle_));  // closing the handle lets go of its lock
        handle_ = nullptr;
    }
}

#else

FileLock::Outcome FileLock::TryLock(const std::string& path) {
    Release();
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        return Outcome::Unavailable;
    }
    // flock belongs to the open file, so a second FileLock of this process conflicts too, and a
    // child process (CLOEXEC) does not inherit it.
    int status;
    do {
        status = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (status != 0 && errno == EINTR);
    if (status != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return held ? Outcome::HeldElsewhere : Outcome::Unavailable;
    }
    fd_ = fd;
    return Outcome::Locked;
}

void FileLock::Release() {
    if (fd_ >= 0) {
        ::close(fd_);  // closing the only descriptor lets go of its lock
        fd_ = -1;
    }
}

#endif

}  // namespace tavlin
