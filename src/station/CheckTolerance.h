#pragma once
#include <optional>
#include <string>

namespace tavlin::station {

// --check-tolerance: millimetres above 0 and at most 50, written as a plain number. Beyond 50 a
// "tolerance" would pass any touch on the screen: a typing error, not a choice.
inline constexpr double kMaxToleranceMm = 50.0;
std::optional<double> ParseCheckToleranceMm(const std::string& text);

}  // namespace tavlin::station
