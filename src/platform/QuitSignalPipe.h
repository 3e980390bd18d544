#pragma once
#include <csignal>

namespace tavlin {

// The signals that end a run through its exit path: SIGINT, SIGTERM, and SIGHUP (the terminal
// or the SSH session the run was started from went away).
sigset_t QuitSignalSet();

// For a program's very first instant (called from its .preinit_array, before any shared
// library's constructor runs): holds the quit signals blocked, so that one sent while the
// program loads waits as pending until its pipe opens, and ignores SIGPIPE, so that output
// nobody reads any more is a failed write the program can tell, not the end of the run.
// Arguments as the loader gives them; none is used.
void HoldQuitSignalsAtStart(int argc, char** argv, char** envp);

// The quit signals handed on through a pipe (POSIX only): the handler writes one byte, the
// only async-signal-safe way to pass the news on; whoever watches the read end does the rest
// on a thread of its own. One pipe can be open at a time, since signal handlers are global.
class QuitSignalPipe {
  public:
    enum class Reading { Blocking, NonBlocking };
    enum class Afterwards { DefaultAction, Ignore };
    static constexpr char kSignalled = 'q';

    QuitSignalPipe() = default;
    ~QuitSignalPipe() { Close(Afterwards::DefaultAction); }
    QuitSignalPipe(const QuitSignalPipe&) = delete;
    QuitSignalPipe& operator=(const QuitSignalPipe&) = delete;

    // Opens the pipe, installs the handlers and unblocks the quit signals on the calling thread
    // (threads started later inherit that): one held pending since the start arrives in the pipe
    // now. False when no pipe could be made; the signals then keep their usual effect. A SIGHUP
    // the program was started ignoring (nohup) stays ignored.
    bool Open(Reading reading);
    bool IsOpen() const { return readEnd_ >= 0; }
    int ReadEnd() const { return readEnd_; }

    // Blocking reading: the next byte, 0 when the pipe failed.
    char Next() const;
    // Non-blocking reading: empties the pipe; true when anything was in it.
    bool Drain() const;
    // Sends a byte of the watcher's own, such as a reader thread's signal to end.
    void Send(char byte) const;

    // Gives the signals the chosen disposition and closes the pipe. Ignoring suits an exit
    // path that has already run: a late signal would only cut off the process's last writes.
    void Close(Afterwards afterwards);

  private:
    int readEnd_ = -1;
};

}  // namespace tavlin
