#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tavlin {

// Another program run alongside this one, its standard output kept whole and its standard error
// handed over line by line as it comes. Both are read on threads of the child's own, so a child
// that writes a lot never stalls on a full pipe. Standard input is the null device.
class ChildProcess {
  public:
    // Called on one of the child's reader threads, one complete line at a time (without its line
    // feed; a last line without one comes when the pipe ends). Never called after Wait returned.
    using LineSink = std::function<void(const std::string& line)>;

    // A child dropped before Wait is of no more use to anyone: it is ended outright (SIGKILL,
    // TerminateProcess) and waited for, so that no reader thread outlives this object.
    virtual ~ChildProcess() = default;

    // Starts `program` (a path, UTF-8) with `arguments` (UTF-8, each passed as one argument,
    // spaces and quotes included). nullptr when it could not be started; *error then says why
    // in the system's words.
    // On POSIX the child starts with SIGINT and SIGTERM blocked, so that an Interrupt that comes
    // before it has set up its handling waits for it: a program run this way unblocks them once
    // it is ready (the CLI's quit watch does). On Windows it starts in a process group of its
    // own, with Ctrl+C ignored, as Windows does for such a group.
    // When this process dies (killed outright, say) the child is asked to stop as Interrupt
    // asks it: on Linux by SIGTERM (PR_SET_PDEATHSIG, which follows the thread that started the
    // child: start children from a thread that outlives them); on Windows the child finds this
    // process in kParentProcessVariable, and a program run this way watches it (the CLI's quit
    // watch does).
    static std::unique_ptr<ChildProcess> Start(const std::string& program,
                                               const std::vector<std::string>& arguments,
                                               LineSink onErrorLine, std::string* error);

    // Asks the child to stop through its own exit path: SIGTERM on POSIX, a Ctrl+Break to its
    // own process group on Windows (for a child whose console is not ours, and on Wine, the
    // system's console event routine started inside it). Safe to call more than once, and after
    // it ended.
    virtual void Interrupt() = 0;
    // Waits until the child ended and both pipes are read to their end; its exit status, or -1
    // when it was ended by a signal or a fault (see EndingSignal) or its status could not be had.
    virtual int Wait() = 0;
    // Once Wait returned: what ended a child that did not end by itself, named as people look
    // it up: its signal on POSIX ("SIGKILL"), on Windows the fault its exit code carries
    // ("STATUS_ACCESS_VIOLATION"). Empty for a child that exited.
    virtual std::string EndingSignal() const = 0;
    // Everything the child wrote to standard output; whole once Wait returned.
    virtual std::string StandardOutput() const = 0;
};

#ifdef _WIN32
// "HANDLE:PROCESS-ID" of the process that started this one through ChildProcess: the handle (to
// wait on) is inherited, the id tells it from a handle of the same value that means something
// else here.
inline constexpr const char* kParentProcessVariable = "TAVLIN_PARENT_PROCESS";
#endif

}  // namespace tavlin
