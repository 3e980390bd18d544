#pragma once
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "trace/TraceEvent.h"

namespace tavlin {

// Why a recording cannot be replayed; `line` counts from 1.
struct TraceProblem {
    enum class Kind { Unreadable, NotAFile, UnknownFormat, BadLine };
    Kind kind = Kind::Unreadable;
    int line = 0;
    std::string detail;  // what went wrong, for the log
};

// Reads a recording one event at a time, holding no more of the file than one line: a station's
// recording may be larger than the memory of the machine that replays it. Only a regular file
// is read (a FIFO would block for ever, a folder or a device is no recording).
class TraceReader {
  public:
    // Opens the file and reads its first line; nullptr with *problem set when it is no recording.
    static std::unique_ptr<TraceReader> Open(const std::string& path, TraceProblem* problem);
    // The same on an open stream (taken over and closed by the reader).
    static std::unique_ptr<TraceReader> FromFile(std::FILE* file, TraceProblem* problem);
    ~TraceReader();
    TraceReader(const TraceReader&) = delete;
    TraceReader& operator=(const TraceReader&) = delete;

    enum class Step { Event, End, Problem };
    Step Next(TraceEvent* event, TraceProblem* problem);
    // After the end: the last line was cut short, and left out.
    bool cutShort() const { return cutShort_; }
    // The line read last, counted from 1: after the end, the line where a further event would
    // have stood (the cut-short one, when the last was cut short).
    int line() const { return line_; }

  private:
    explicit TraceReader(std::FILE* file) : file_(file) {}
    // The next line that is not blank, without its line end; false at the end or on a problem.
    bool NextLine(std::string* line, TraceProblem* problem);

    std::FILE* file_;
    int line_ = 0;
    bool ended_ = false;
    bool cutShort_ = false;
};

// Reads a recording to its end without keeping it: the problem of the first line at fault.
bool CheckTrace(const std::string& path, TraceProblem* problem);

// Reads a whole recording. Every line must parse before any of it is used: a half-read session
// replayed would fail somewhere unrelated to the fault it was made to show.
std::optional<std::vector<TraceEvent>> ReadTrace(const std::string& path, TraceProblem* problem);

}  // namespace tavlin
