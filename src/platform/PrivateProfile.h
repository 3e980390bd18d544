#pragma once
#include <cstdint>
#include <string>

namespace tavlin {

// Reads INI files the way the Windows private-profile functions do: section and key names are
// compared without regard to case, the first matching section and key win, values are trimmed,
// and a missing or unreadable file reads as a file in which every key is absent. The file is read
// anew on every call; nothing is cached. A file may be UTF-8 (with or without a byte-order mark)
// or UTF-16 with its mark; values come back as UTF-8.

// Returns the value of the key, or defaultValue when the key is absent. The result is cut to the
// whole characters that a wide buffer of bufferSize units holds with its terminator.
std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, const std::string& path,
                                    size_t bufferSize = 256);

// Returns the key's value read as an unsigned decimal number (a leading '-' negates it), or
// defaultValue when the key is absent. Reading stops at the first non-digit; a value with no
// leading digit reads as 0.
uint32_t GetPrivateProfileInt(const std::string& section, const std::string& key,
                              int32_t defaultValue, const std::string& path);

}  // namespace tavlin
