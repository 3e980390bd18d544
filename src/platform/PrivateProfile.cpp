#include "platform/PrivateProfile.h"
#include "platform/RegularFile.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "platform/LegacyCodePage.h"
#include "platform/StringConv.h"

namespace tavlin {
namespace {

std::string Trim(const std::string& s) {
    const char* blanks = " \t\r\n";
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return {};
    }
    const auto last = s.find_last_not_of(blanks);
    return s.substr(first, last - first + 1);
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string Unquote(const std::string& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// The file's text as UTF-8. Notepad on Windows saves "Unicode" as UTF-16LE and "UTF-8" with a
// byte-order mark, and the profile functions there read both. A file without a mark is UTF-8 if
// all of it is; otherwise it was saved as "ANSI" and is read in the legacy code page. The whole
// file is decided at once, as Windows does, so one line cannot be read one way and the next
// another.
std::string DecodeText(const std::string& raw) {
    const std::string_view bytes(raw);
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        // Broken UTF-8 would name no file, and on Windows no path could even be made of it.
        return ToValidUtf8(bytes.substr(3));
    }
    if (bytes.starts_with("\xFF\xFE")) {
        return Utf16BytesToUtf8(bytes.substr(2), false);
    }
    if (bytes.starts_with("\xFE\xFF")) {
        return Utf16BytesToUtf8(bytes.substr(2), true);
    }
    if (IsValidUtf8(bytes)) {
        return raw;
    }
    return CodePageToUtf8(bytes, LegacyCodePage());
}

// The next line of the text from *pos on, without its end. A line ends at LF, at CR LF, and at a
// lone CR too (old Mac editors, and some generators, end lines so; Windows reads them).
bool NextLine(const std::string& text, size_t* pos, std::string* line) {
    if (*pos >= text.size()) {
        return false;
    }
    const size_t end = text.find_first_of("\r\n", *pos);
    if (end == std::string::npos) {
        *line = text.substr(*pos);
        *pos = text.size();
        return true;
    }
    *line = text.substr(*pos, end - *pos);
    *pos = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    return true;
}

std::optional<std::string> ReadText(const std::string& path) {
    // OpenFile.ini and a package are named by the user: a FIFO reads as no file, not as a wait.
    const std::optional<std::string> read = ReadRegularFile(path);
    if (!read) {
        return std::nullopt;
    }
    return DecodeText(*read);
}

std::optional<std::string> FindValueIn(const std::string& section, const std::string& key,
                                       const std::optional<std::string>& text) {
    if (!text) {
        return std::nullopt;
    }
    std::string line;
    size_t pos = 0;
    bool inSection = false;
    bool sectionSeen = false;
    while (NextLine(*text, &pos, &line)) {
        const std::string text = Trim(line);
        if (text.empty() || text[0] == ';') {
            continue;
        }
        if (text[0] == '[') {
            const auto close = text.find(']');
            const std::string name =
                Trim(text.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            if (inSection) {
                // Only the first section of that name counts.
                return std::nullopt;
            }
            inSection = !sectionSeen && EqualNoCase(name, section);
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        if (!inSection) {
            continue;
        }
        const auto eq = text.find('=');
        if (eq == std::string::npos) {
            continue;
        }
        if (EqualNoCase(Trim(text.substr(0, eq)), key)) {
            return Unquote(Trim(text.substr(eq + 1)));
        }
    }
    return std::nullopt;
}

std::string StringValue(const std::optional<std::string>& found, const std::string& defaultValue,
                        size_t bufferSize) {
    std::string value = found.value_or(defaultValue);
    if (bufferSize == 0) {
        return {};
    }
    return CutToUtf16Units(value, bufferSize - 1);
}

uint32_t IntValue(const std::optional<std::string>& value, int32_t defaultValue) {
    // "Image_en=" is read as the default, as on Windows: an empty value is no value.
    if (!value || value->empty()) {
        return static_cast<uint32_t>(defaultValue);
    }
    size_t i = 0;
    // Blanks and control characters before the number (left inside quotes) are passed over.
    while (i < value->size() && static_cast<unsigned char>((*value)[i]) <= ' ') {
        ++i;
    }
    bool negative = false;
    if (i < value->size() && ((*value)[i] == '-' || (*value)[i] == '+')) {
        negative = (*value)[i] == '-';
        ++i;
    }
    // Decimal only ("0x10" reads 0); the value wraps around modulo 2^32.
    uint32_t result = 0;
    for (; i < value->size() && (*value)[i] >= '0' && (*value)[i] <= '9'; ++i) {
        result = result * 10 + static_cast<uint32_t>((*value)[i] - '0');
    }
    return negative ? 0u - result : result;
}

}  // namespace

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, const std::string& path,
                                    size_t bufferSize) {
    return StringValue(FindValueIn(section, key, ReadText(path)), defaultValue, bufferSize);
}

uint32_t GetPrivateProfileInt(const std::string& section, const std::string& key,
                              int32_t defaultValue, const std::string& path) {
    return IntValue(FindValueIn(section, key, ReadText(path)), defaultValue);
}

std::string GetProfileStringOf(const std::string& fileBytes, const std::string& section,
                               const std::string& key, const std::string& defaultValue,
                               size_t bufferSize) {
    return StringValue(FindValueIn(section, key, DecodeText(fileBytes)), defaultValue, bufferSize);
}

uint32_t GetProfileIntOf(const std::string& fileBytes, const std::string& section,
                         const std::string& key, int32_t defaultValue) {
    return IntValue(FindValueIn(section, key, DecodeText(fileBytes)), defaultValue);
}

}  // namespace tavlin
