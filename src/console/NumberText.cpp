#include "console/NumberText.h"

namespace tavlin {
namespace {

int DigitValue(char c, unsigned base) {
    int v = -1;
    if (c >= '0' && c <= '9') {
        v = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        v = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        v = c - 'A' + 10;
    }
    return v >= 0 && static_cast<unsigned>(v) < base ? v : -1;
}

}  // namespace

bool StrToIntEx(std::string_view text, uint32_t* value) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    unsigned base = 10;
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    uint64_t result = 0;
    size_t digits = 0;
    for (; i < text.size(); ++i, ++digits) {
        const int d = DigitValue(text[i], base);
        if (d < 0) {
            break;
        }
        result = result * base + static_cast<unsigned>(d);
        if (result > 0xFFFFFFFFull) {
            return false;
        }
    }
    if (digits == 0) {
        return false;
    }
    const auto low = static_cast<uint32_t>(result);
    *value = negative ? 0u - low : low;
    return true;
}

}  // namespace tavlin
