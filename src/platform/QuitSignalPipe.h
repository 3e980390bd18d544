#pragma once

namespace tavlin {

// SIGINT and SIGTERM handed on through a pipe (POSIX only): the handler writes one byte, the
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

    // Opens the pipe and installs the handlers. False when no pipe could be made; the signals
    // then keep their usual effect.
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
