#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "trace/TraceEvent.h"

namespace tavlin {

inline constexpr const char* kTraceFormat = "tavlin-trace";
inline constexpr int kTraceVersion = 1;

// The recording's first line: format, version, the tool's version and the platform.
std::string TraceHeaderLine(const std::string& toolVersion);
// One event as one line of JSON (no line feed).
std::string TraceEventLine(const TraceEvent& event);

std::string HexBytes(const std::vector<uint8_t>& bytes);

// Why a recording cannot be replayed; `line` counts from 1.
struct TraceProblem {
    enum class Kind { Unreadable, UnknownFormat, BadLine };
    Kind kind = Kind::Unreadable;
    int line = 0;
    std::string detail;  // what the parser said, for the log
};

// Reads a whole recording. Every line must parse before any of it is used: a half-read session
// replayed would fail somewhere unrelated to the fault it was made to show.
std::optional<std::vector<TraceEvent>> ReadTrace(const std::string& path, TraceProblem* problem);

}  // namespace tavlin
