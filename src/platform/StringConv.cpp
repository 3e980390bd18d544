#include "platform/StringConv.h"

namespace tavlin {

std::string CutToBytes(const std::string& utf8, size_t maxBytes) {
    if (utf8.size() <= maxBytes) {
        return utf8;
    }
    size_t end = maxBytes;
    // Step back over continuation bytes so no character is split.
    while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) {
        --end;
    }
    return utf8.substr(0, end);
}

std::string WideToMultiByte(const std::wstring& wide, size_t maxBytes) {
    std::string out;
    for (wchar_t wc : wide) {
        auto c = static_cast<uint32_t>(wc);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            c = 0xFFFD;
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
            out += static_cast<wchar_t>(0xFFFD);
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
            out += static_cast<wchar_t>(0xFFFD);
            ++i;
            continue;
        }
        out += static_cast<wchar_t>(c);
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

}  // namespace tavlin
