#include "station/CheckTolerance.h"

#include <charconv>

namespace tavlin::station {

std::optional<double> ParseCheckToleranceMm(const std::string& text) {
    double mm = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, mm);
    // NaN fails the first comparison, infinity the second.
    if (error != std::errc() || stop != end || !(mm > 0) || mm > kMaxToleranceMm) {
        return std::nullopt;
    }
    return mm;
}

}  // namespace tavlin::station
