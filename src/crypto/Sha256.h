#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/Result.h"

namespace tavlin {

// SHA-256 in the lower-case hex that sha256sum prints.
std::string Sha256Hex(const void* data, std::size_t size);
inline std::string Sha256Hex(const std::string& bytes) {
    return Sha256Hex(bytes.data(), bytes.size());
}

// The SHA-256 and size of the file at `path` (UTF-8), read in pieces so a large file costs no
// memory. Fails (IoError) when the file cannot be opened or read to its end.
Result Sha256OfFile(const std::string& path, std::string* hex, std::int64_t* size);

}  // namespace tavlin
