#pragma once
#include <string>

namespace tavlin {

// An advisory lock on a file, held until Release or the end of the process (the system lets go
// of it when a process dies, so a crashed run leaves no stale lock behind). The file is made
// when missing and never removed: removing it would let two processes each lock a file of that
// name. Locks of other processes and of other FileLocks in this process both count.
class FileLock {
  public:
    FileLock() = default;
    ~FileLock() { Release(); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    enum class Outcome { Locked, HeldElsewhere, Unavailable };
    // Locks the file named by UTF-8 `path` without waiting. Unavailable: the file cannot be
    // opened (a folder that takes no files), so there is nothing to lock against either.
    Outcome TryLock(const std::string& path);
    void Release();

  private:
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

}  // namespace tavlin
