#include "platform/LegacyCodePage.h"

#include <atomic>

#include "platform/StringConv.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#endif

namespace tavlin {
namespace {

// 0 until set: the platform's own choice.
std::atomic<unsigned> chosenCodePage{0};

}  // namespace

unsigned LegacyCodePage() {
    const unsigned chosen = chosenCodePage.load(std::memory_order_relaxed);
    if (chosen != 0) {
        return chosen;
    }
#ifdef _WIN32
    return GetACP();
#else
    return kCodePageWestern;
#endif
}

void SetLegacyCodePage(unsigned codePage) {
    chosenCodePage.store(codePage, std::memory_order_relaxed);
}

#ifdef _WIN32

std::string CodePageToUtf8(std::string_view bytes, unsigned codePage) {
    if (bytes.empty()) {
        return {};
    }
    const int size = static_cast<int>(bytes.size());
    const int units = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    if (units <= 0) {
        return {};
    }
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), units);
    // UTF-16 as it lies in memory; characters outside the basic plane are pairs there.
    return Utf16BytesToUtf8(
        std::string_view(reinterpret_cast<const char*>(wide.data()), wide.size() * 2), false);
}

#else

namespace {

std::string IconvName(unsigned codePage) {
    // GB18030 holds all of GBK and also reads what a system set to GB18030 (54936) writes.
    if (codePage == kCodePageChinese || codePage == 54936) {
        return "GB18030";
    }
    return "CP" + std::to_string(codePage);  // glibc knows CP1250 to CP1258, CP932, CP936, ...
}

}  // namespace

std::string CodePageToUtf8(std::string_view bytes, unsigned codePage) {
    constexpr char kReplacement[] = "\xEF\xBF\xBD";
    const iconv_t cd = iconv_open("UTF-8", IconvName(codePage).c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        // A code page glibc does not know: keep what every code page agrees on, ASCII.
        std::string out;
        for (char c : bytes) {
            out += static_cast<unsigned char>(c) < 0x80 ? std::string(1, c) : kReplacement;
        }
        return out;
    }
    std::string out;
    char buffer[1024];
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t done = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        const int error = errno;
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (done != static_cast<size_t>(-1) || error == E2BIG) {
            continue;
        }
        // EILSEQ: no character starts here; EINVAL: the last character is cut off. GBK as
        // Windows has it puts the euro sign at 0x80, where GB18030 has nothing.
        const bool euro = error == EILSEQ && *in == '\x80' && IconvName(codePage) == "GB18030";
        out += euro ? "\xE2\x82\xAC" : kReplacement;
        if (error == EINVAL) {
            break;
        }
        ++in;
        --inLeft;
    }
    iconv_close(cd);
    return out;
}

#endif

}  // namespace tavlin
