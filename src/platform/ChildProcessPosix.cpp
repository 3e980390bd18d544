#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

#include "platform/ChildProcess.h"
#include "platform/ChildStreams.h"
#include "platform/FilePath.h"

extern char** environ;

namespace tavlin {
namespace {

std::string SystemText(int code) {
    return ErrorText(std::error_code(code, std::generic_category()));
}

std::string SignalName(int number) {
#ifdef __GLIBC__
    if (const char* name = ::sigabbrev_np(number)) {
        return std::string("SIG") + name;
    }
#endif
    return "signal " + std::to_string(number);
}

class Pipe {
  public:
    Pipe() = default;
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    ~Pipe() {
        CloseRead();
        CloseWrite();
    }
    // Both ends close on exec: the child gets its end only through the dup2 of the spawn.
    int Open() { return ::pipe2(ends_.data(), O_CLOEXEC) == 0 ? 0 : errno; }
    int ReadEnd() const { return ends_[0]; }
    int WriteEnd() const { return ends_[1]; }
    int TakeReadEnd() {
        const int fd = ends_[0];
        ends_[0] = -1;
        return fd;
    }
    void CloseRead() { CloseEnd(0); }
    void CloseWrite() { CloseEnd(1); }

  private:
    void CloseEnd(size_t which) {
        if (ends_[which] >= 0) {
            ::close(ends_[which]);
            ends_[which] = -1;
        }
    }
    std::array<int, 2> ends_{-1, -1};
};

// Reads `fd` to its end, handing each piece on, and closes it.
template <typename Take>
std::thread ReadToEnd(int fd, Take take) {
    return std::thread([fd, take] {
        char buffer[16384];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n > 0) {
                take(buffer, static_cast<size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                break;
            }
        }
        ::close(fd);
    });
}

class PosixChildProcess final : public ChildProcess {
  public:
    PosixChildProcess(pid_t pid, int outputFd, int errorFd, LineSink onErrorLine)
        : pid_(pid), streams_(std::move(onErrorLine)) {
        streams_.StartReaders(
            ReadToEnd(outputFd,
                      [this](const char* data, size_t size) { streams_.AddOutput(data, size); }),
            ReadToEnd(errorFd,
                      [this](const char* data, size_t size) { streams_.AddError(data, size); }));
    }

    // Dropped unwaited, the child is of no more use to anyone: it is ended outright, so that
    // neither a zombie nor the reader threads outlive this object.
    ~PosixChildProcess() override {
        {
            std::lock_guard lock(mutex_);
            if (Signallable()) {
                ::kill(pid_, SIGKILL);
            }
        }
        Wait();
    }

    void Interrupt() override {
        // Under the lock the child is at worst a zombie not yet reaped, so its pid cannot have
        // gone to another process.
        std::lock_guard lock(mutex_);
        if (Signallable()) {
            ::kill(pid_, SIGTERM);
        }
    }

    int Wait() override {
        std::lock_guard waitLock(waitMutex_);
        if (!reaped_) {
            // Waits for the end without reaping, so that Interrupt may run meanwhile.
            siginfo_t info{};
            while (::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOWAIT) != 0 &&
                   errno == EINTR) {
            }
            std::lock_guard lock(mutex_);
            int status = 0;
            pid_t reaped = -1;
            do {
                reaped = ::waitpid(pid_, &status, 0);
            } while (reaped < 0 && errno == EINTR);
            exitStatus_ = reaped == pid_ && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            if (reaped == pid_ && WIFSIGNALED(status)) {
                signal_ = SignalName(WTERMSIG(status));
            }
            reaped_ = true;
        }
        streams_.JoinReaders();
        return exitStatus_;
    }

    std::string StandardOutput() const override { return streams_.Output(); }

    std::string EndingSignal() const override {
        std::lock_guard lock(waitMutex_);
        return signal_;
    }

  private:
    // Called under mutex_. A pid of 0 or below would signal a whole process group, or every
    // process we may signal.
    bool Signallable() const { return !reaped_ && pid_ > 0; }

    const pid_t pid_;
    ChildStreams streams_;
    mutable std::mutex waitMutex_;  // one Wait at a time
    std::mutex mutex_;              // between reaping and signalling
    bool reaped_ = false;           // written under both locks
    int exitStatus_ = -1;
    std::string signal_;  // written under waitMutex_
};

class SpawnSetup {
  public:
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
    ~SpawnSetup() {
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
    }
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
};

}  // namespace

std::unique_ptr<ChildProcess> ChildProcess::Start(const std::string& program,
                                                  const std::vector<std::string>& arguments,
                                                  LineSink onErrorLine, std::string* error) {
    const auto fail = [error](int code) -> std::unique_ptr<ChildProcess> {
        if (error != nullptr) {
            *error = SystemText(code);
        }
        return nullptr;
    };
    Pipe output;
    Pipe errors;
    if (const int code = output.Open(); code != 0) {
        return fail(code);
    }
    if (const int code = errors.Open(); code != 0) {
        return fail(code);
    }

    SpawnSetup setup;
    posix_spawn_file_actions_addopen(&setup.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&setup.actions, output.WriteEnd(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&setup.actions, errors.WriteEnd(), STDERR_FILENO);
    // A descriptor some library opened without O_CLOEXEC would otherwise reach the child too,
    // and a pipe end held open there keeps our readers from ever seeing its end.
    posix_spawn_file_actions_addclosefrom_np(&setup.actions, STDERR_FILENO + 1);

    // The child starts with the quit signals at their default action but blocked: one sent
    // before it has set up its own handling waits as pending and is taken then (as the CLI's
    // quit watch does), rather than ending it on the spot. What this process ignores or blocks
    // is no business of the child's.
    sigset_t blocked;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGTERM);
    sigset_t defaulted;
    sigemptyset(&defaulted);
    sigaddset(&defaulted, SIGINT);
    sigaddset(&defaulted, SIGTERM);
    sigaddset(&defaulted, SIGPIPE);
    posix_spawnattr_setsigmask(&setup.attributes, &blocked);
    posix_spawnattr_setsigdefault(&setup.attributes, &defaulted);
    posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);

    pid_t pid = -1;
    const int code = ::posix_spawn(&pid, program.c_str(), &setup.actions, &setup.attributes,
                                   argv.data(), environ);
    if (code != 0) {
        return fail(code);
    }
    // Our copies of the child's ends go, so that the pipes end when the child has ended.
    output.CloseWrite();
    errors.CloseWrite();
    return std::make_unique<PosixChildProcess>(pid, output.TakeReadEnd(), errors.TakeReadEnd(),
                                               std::move(onErrorLine));
}

std::string CurrentProgramPath() {
    std::string path(256, '\0');
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
        if (n < 0) {
            return {};
        }
        if (static_cast<size_t>(n) < path.size()) {
            path.resize(static_cast<size_t>(n));
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace tavlin
