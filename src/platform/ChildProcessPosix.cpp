#include <fcntl.h>
#include <linux/close_range.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
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

// Marks every descriptor from `first` on to close on exec. Between fork and exec: only calls
// that are safe there (no allocation, no locks).
void CloseOnExecFrom(int first) {
    if (::close_range(static_cast<unsigned>(first), ~0U, CLOSE_RANGE_CLOEXEC) == 0) {
        return;
    }
    rlimit limit{};
    const rlim_t last = ::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY
                            ? std::min<rlim_t>(limit.rlim_cur, 1 << 20)
                            : 1 << 16;
    for (int fd = first; static_cast<rlim_t>(fd) < last; ++fd) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
}

// The child's side of the fork, up to its program. Only calls that are safe between fork and
// exec in a program with threads; a failure is written to `status` as errno, and the child ends.
[[noreturn]] void BecomeChild(const char* program, char* const* argv, int outputFd, int errorFd,
                              int statusFd, pid_t parent) {
    const int input = ::open("/dev/null", O_RDONLY);
    if (input < 0 || ::dup2(input, STDIN_FILENO) < 0 || ::dup2(outputFd, STDOUT_FILENO) < 0 ||
        ::dup2(errorFd, STDERR_FILENO) < 0) {
        const int code = errno;
        [[maybe_unused]] const ssize_t n = ::write(statusFd, &code, sizeof code);
        ::_exit(127);
    }
    // A descriptor some library opened without O_CLOEXEC would otherwise reach the child too,
    // and a pipe end held open there keeps our readers from ever seeing its end.
    CloseOnExecFrom(STDERR_FILENO + 1);

    // The quit signals at their default action but blocked: one sent before the child has set
    // up its own handling waits as pending and is taken then (as the CLI's quit watch does),
    // rather than ending it on the spot. SIGPIPE, which this process ignores, is no business of
    // the child's.
    struct sigaction defaulted {};
    defaulted.sa_handler = SIG_DFL;
    sigemptyset(&defaulted.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGPIPE}) {
        ::sigaction(signal, &defaulted, nullptr);
    }
    sigset_t blocked;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGTERM);
    ::sigprocmask(SIG_SETMASK, &blocked, nullptr);

    // Our death asks the child to stop through its own exit path. A parent that died before
    // this took effect left the child to another parent already: it asks itself.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent) {
        ::kill(::getpid(), SIGTERM);
    }

    ::execve(program, argv, environ);
    const int code = errno;
    [[maybe_unused]] const ssize_t n = ::write(statusFd, &code, sizeof code);
    ::_exit(127);
}

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
    Pipe status;  // the child's errno when it could not start its program; closed by its exec
    for (Pipe* pipe : {&output, &errors, &status}) {
        if (const int code = pipe->Open(); code != 0) {
            return fail(code);
        }
    }

    // Everything the child needs is made before the fork: after it, the child may not allocate.
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);

    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid < 0) {
        return fail(errno);
    }
    if (pid == 0) {
        BecomeChild(program.c_str(), argv.data(), output.WriteEnd(), errors.WriteEnd(),
                    status.WriteEnd(), parent);
    }
    // Our copies of the child's ends go, so that the pipes end when the child has ended.
    output.CloseWrite();
    errors.CloseWrite();
    status.CloseWrite();
    int code = 0;
    ssize_t n = -1;
    do {
        n = ::read(status.ReadEnd(), &code, sizeof code);
    } while (n < 0 && errno == EINTR);
    if (n == static_cast<ssize_t>(sizeof code)) {
        int ignored = 0;
        while (::waitpid(pid, &ignored, 0) < 0 && errno == EINTR) {
        }
        return fail(code);
    }
    return std::make_unique<PosixChildProcess>(pid, output.TakeReadEnd(), errors.TakeReadEnd(),
                                               std::move(onErrorLine));
}

}  // namespace tavlin
