#pragma once
// What both front ends say when something that should never happen ends the run, in the
// program's own language; the translation files map them like the string table.

namespace tavlin::frontend {

// An exception nobody expected reached the edge of the program (its main, a worker thread, the
// window's event dispatch): the run ends with exit status 1. %s: what the exception says.
inline constexpr const char* kUnexpectedError = "意外错误，运行已结束：%s";

// Every text above, for the translation completeness check.
inline constexpr const char* kAllTexts[] = {kUnexpectedError};

}  // namespace tavlin::frontend
