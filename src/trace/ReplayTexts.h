#pragma once
// What a replay tells of the recording it replays, in the program's own language; the
// translation files map them like the string table.

namespace tavlin::replay {

// A recording cut short, which the program wanted more of than it holds (its line %d).
inline constexpr const char* kRanOut = "记录文件在第 %d 行用完";

// Every text above, for the translation completeness check.
inline constexpr const char* kAllTexts[] = {kRanOut};

}  // namespace tavlin::replay
