#pragma once
#include <cstdint>
#include <string>
#include <string_view>
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

// The longest line a recording can need (an arrival with the largest report descriptor and a
// long path fits many times over); a longer one is damage, refused before it is held whole.
inline constexpr size_t kMaxTraceLine = 256 * 1024;
// How deep a line may nest: an event is one object of plain values.
inline constexpr int kMaxTraceDepth = 2;

// The recording's first line, whatever its members hold.
bool IsTraceHeaderLine(std::string_view text);
// One event line; false for anything that is no event.
bool ParseTraceEventLine(std::string_view text, TraceEvent* event);

}  // namespace tavlin
