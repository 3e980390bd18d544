#pragma once
#include <string>
#include <string_view>

namespace tavlin {

// Paths and texts travel as UTF-8 inside the program. Where a narrow buffer of fixed size held
// a converted path, the conversion cuts the result to at most maxBytes bytes, never in the middle
// of a character.
std::string CutToBytes(const std::string& utf8, size_t maxBytes);

// Where a wide buffer of fixed size held a text, it held at most maxUnits UTF-16 code units; the
// cut keeps whole characters (a character outside the basic plane takes two units and is left
// out whole when only one is left).
std::string CutToUtf16Units(const std::string& utf8, size_t maxUnits);

// Wide (UTF-16 on Windows, UTF-32 on Linux) to UTF-8 and back. A character that does not convert
// (a lone surrogate, a broken sequence) becomes U+FFFD.
std::string WideToMultiByte(const std::wstring& wide, size_t maxBytes = std::string::npos);
std::wstring MultiByteToWide(const std::string& utf8);

// UTF-16 text given as raw bytes (no byte-order mark) to UTF-8. A surrogate without its partner
// and a last byte without its pair each become U+FFFD, so broken text stays visible as broken.
std::string Utf16BytesToUtf8(std::string_view bytes, bool bigEndian);

// Whether the bytes are UTF-8 throughout: no stray or missing continuation byte, no overlong
// form, no surrogate, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);
// The bytes with each one that starts no valid sequence replaced by U+FFFD, as Windows reads
// broken UTF-8: for texts that came from outside (an exception's message, a system text) and go
// where UTF-8 alone is taken (JSON, the log).
std::string ToValidUtf8(std::string_view bytes);

}  // namespace tavlin
