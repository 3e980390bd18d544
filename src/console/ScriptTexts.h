#pragma once
// Output pane lines of the register script runner for lines that are not read as they are
// written, in the program's own language; the translation files map them like the string table.
// Each takes the line number, then the keyword or operand as written.

namespace tavlin::scripttext {

inline constexpr const char* kUnknownCommand = "脚本第 %d 行：未知命令 '%s'\n";
inline constexpr const char* kNotANumber = "脚本第 %d 行：操作数 '%s' 不是数字\n";
inline constexpr const char* kNegative = "脚本第 %d 行：操作数 '%s' 是负数\n";
// A script refused before it ran, after the lines above.
inline constexpr const char* kNotRun = "脚本未运行，没有向设备发送任何命令：请先改正以上各行。\n";

// Every text above, for the translation completeness check.
inline constexpr const char* kAllTexts[] = {kUnknownCommand, kNotANumber, kNegative, kNotRun};

}  // namespace tavlin::scripttext
