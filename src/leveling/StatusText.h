#pragma once
#include <string>

namespace tavlin {

// A string table text in the current language, formatted with printf conversions.
std::string FormatString(int id, ...);

}  // namespace tavlin
