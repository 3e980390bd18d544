#include "platform/StringConv.h"

#include <cstdint>

namespace tavlin {
namespace {

constexpr uint32_t kReplacement = 0xFFFD;

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

void AppendUtf8(uint32_t c, std::string& out) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        c = kReplacement;
    }
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The length of the UTF-8 sequence that starts at bytes[i], or 0 where none does. The range the
// second byte must lie in rules out overlong forms, surrogates and values above U+10FFFF; the
// later bytes are plain continuation bytes.
size_t Utf8SequenceLength(std::string_view bytes, size_t i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
        return 1;
    }
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        low = b == 0xE0 ? 0xA0 : 0x80;
        high = b == 0xED ? 0x9F : 0xBF;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        low = b == 0xF0 ? 0x90 : 0x80;
        high = b == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > bytes.size()) {
        return 0;
    }
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    if (second < low || second > high) {
        return 0;
    }
    for (size_t k = 2; k < length; ++k) {
        if (!IsContinuation(bytes[i + k])) {
            return 0;
        }
    }
    return length;
}

}  // namespace

std::string CutToBytes(const std::string& utf8, size_t maxBytes) {
    if (utf8.size() <= maxBytes) {
        return utf8;
    }
    size_t end = maxBytes;
    // Step back over continuation bytes so no character is split.
    while (end > 0 && IsContinuation(utf8[end])) {
        --end;
    }
    return utf8.substr(0, end);
}

std::string CutToUtf16Units(const std::string& utf8, size_t maxUnits) {
    size_t units = 0;
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (IsContinuation(utf8[i])) {
            continue;  // belongs to the character before it
        }
        // Four-byte sequences are the characters outside the basic plane.
        const size_t need = (static_cast<unsigned char>(utf8[i]) >> 3) == 0x1E ? 2 : 1;
        if (units + need > maxUnits) {
            return utf8.substr(0, i);
        }
        units += need;
    }
    return utf8;
}

std::string WideToMultiByte(const std::wstring& wide, size_t maxBytes) {
    std::string out;
    for (size_t i = 0; i < wide.size(); ++i) {
        auto c = static_cast<uint32_t>(wide[i]);
        // UTF-16 (Windows): a character outside the basic plane is a pair of surrogates.
        if constexpr (sizeof(wchar_t) == 2) {
            const uint32_t next = i + 1 < wide.size() ? static_cast<uint32_t>(wide[i + 1]) : 0;
            if (c >= 0xD800 && c <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
                ++i;
            }
        }
        AppendUtf8(c, out);  // a lone surrogate comes out as U+FFFD
    }
    return maxBytes == std::string::npos ? out : CutToBytes(out, maxBytes);
}

std::wstring MultiByteToWide(const std::string& utf8) {
    std::wstring out;
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        int extra = b < 0x80           ? 0
                    : (b >> 5) == 0x6  ? 1
                    : (b >> 4) == 0xE  ? 2
                    : (b >> 3) == 0x1E ? 3
                                       : -1;
        if (extra < 0 || i + static_cast<size_t>(extra) >= utf8.size()) {
            out += static_cast<wchar_t>(kReplacement);
            ++i;
            continue;
        }
        uint32_t c = extra == 0 ? b : b & (0x3F >> extra);
        bool valid = true;
        for (int k = 1; k <= extra; ++k) {
            const auto cb = static_cast<unsigned char>(utf8[i + k]);
            if ((cb & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            c = (c << 6) | (cb & 0x3F);
        }
        if (!valid) {
            out += static_cast<wchar_t>(kReplacement);
            ++i;
            continue;
        }
        if (sizeof(wchar_t) == 2 && c >= 0x10000 && c <= 0x10FFFF) {
            out += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<wchar_t>(c);
        }
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

std::string Utf16BytesToUtf8(std::string_view bytes, bool bigEndian) {
    const auto unitAt = [&](size_t i) -> uint32_t {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (first << 8) | second : (second << 8) | first;
    };
    const auto isHigh = [](uint32_t u) { return u >= 0xD800 && u <= 0xDBFF; };
    const auto isLow = [](uint32_t u) { return u >= 0xDC00 && u <= 0xDFFF; };
    std::string out;
    out.reserve(bytes.size());
    size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const uint32_t unit = unitAt(i);
        if (isHigh(unit) && i + 3 < bytes.size() && isLow(unitAt(i + 2))) {
            AppendUtf8(0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 2) - 0xDC00), out);
            i += 2;
        } else {
            AppendUtf8(unit, out);  // a lone surrogate comes out as U+FFFD
        }
    }
    if (i < bytes.size()) {
        AppendUtf8(kReplacement, out);
    }
    return out;
}

bool IsValidUtf8(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size();) {
        const size_t length = Utf8SequenceLength(bytes, i);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

std::string ToValidUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const size_t length = Utf8SequenceLength(bytes, i);
        if (length == 0) {
            AppendUtf8(kReplacement, out);
            ++i;
        } else {
            out.append(bytes.substr(i, length));
            i += length;
        }
    }
    return out;
}

}  // namespace tavlin
