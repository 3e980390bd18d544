#pragma once
#include <cstdint>
#include <string>

namespace tavlin {

// Reads INI files the way the Windows private-profile functions do: section and key names are
// compared without regard to case, the first matching section and key win, values are trimmed,
// and a missing or unreadable file reads as a file in which every key is absent. The file is read
// anew on every call; nothing is cached. A line ends at LF, CR LF or a lone CR. A file may be
// UTF-16 with its byte-order mark, UTF-8 with or without one, or, when it has no mark and is not
// UTF-8 throughout, text in the legacy code page (LegacyCodePage.h); values come back as UTF-8.

// Returns the value of the key, or defaultValue when the key is absent. The result is cut to the
// whole characters that a wide buffer of bufferSize units holds with its terminator.
std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, const std::string& path,
                                    size_t bufferSize = 256);

// Returns the key's value read as an unsigned decimal number (a leading '-' negates it), or
// defaultValue when the key is absent or its value empty. Blanks before the number are passed
// over; reading stops at the first non-digit, so a value with no leading digit reads as 0 and
// "0x10" too.
uint32_t GetPrivateProfileInt(const std::string& section, const std::string& key,
                              int32_t defaultValue, const std::string& path);

// The same readings of a file's bytes already in memory: a package is read once, checked, and
// then understood from the bytes that were checked.
std::string GetProfileStringOf(const std::string& fileBytes, const std::string& section,
                               const std::string& key, const std::string& defaultValue,
                               size_t bufferSize = 256);
uint32_t GetProfileIntOf(const std::string& fileBytes, const std::string& section,
                         const std::string& key, int32_t defaultValue);

}  // namespace tavlin
