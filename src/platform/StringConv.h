#pragma once
#include <string>

namespace tavlin {

// Paths and texts travel as UTF-8 inside the program. Where a narrow buffer of fixed size held
// a converted path, the conversion cuts the result to at most maxBytes bytes, never in the middle
// of a character.
std::string CutToBytes(const std::string& utf8, size_t maxBytes);

// Wide (UTF-32 on Linux) to UTF-8 and back.
std::string WideToMultiByte(const std::wstring& wide, size_t maxBytes = std::string::npos);
std::wstring MultiByteToWide(const std::string& utf8);

}  // namespace tavlin
