#pragma once
#include <string>

#include "base/Result.h"

namespace tavlin {

// Looks at what is at `path` before SQLite is let near it, reading only: nothing that is not a
// whole station database of ours is ever opened for writing. Sets *exists; fails (BadInput)
// for a folder or other non-file, an empty or short file, a file that is not SQLite, another
// program's SQLite database, and one of ours shorter than its own header says.
Result CheckStoreFile(const std::string& path, bool* exists);

// Makes a new station database at `path` whole before it appears there: built under a temporary
// name beside it, then linked to `path` only if nothing is there yet, so a second process never
// sees a half-made file and nothing that came first is replaced. *created says whether this call
// made the file (false: another process got there first, which is fine).
Result CreateStoreFile(const std::string& path, bool* created);

}  // namespace tavlin
