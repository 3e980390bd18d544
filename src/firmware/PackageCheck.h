#pragma once
#include <cstdint>
#include <string>

#include "base/Result.h"

namespace tavlin {

// The size the file system reports for a regular file we can open; false for a folder, a FIFO
// (without waiting for a writer), a missing or an unreadable file, with `why` (when given) saying
// which.
bool ImageFileUsable(const std::string& name, uint64_t* size, std::string* why = nullptr);

// What an update of the package would refuse, found without the device: a package that cannot
// be read or has no image section, one with no image enabled, an image file that cannot be
// opened. On failure *statusText is the firmware window's text for it (untranslated).
Result CheckPackage(const std::string& packagePath, const char** statusText);

}  // namespace tavlin
