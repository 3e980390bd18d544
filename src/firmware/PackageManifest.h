#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"

namespace tavlin {

// A package's list of files with their SHA-256, in the form sha256sum writes and checks:
// "<64 hex digits>  <path>" per line ("<hex> *<path>" for its binary mode), paths relative to
// the package file's folder, '/' between folders.
struct ManifestEntry {
    std::string sha256;  // lower-case hex
    std::string path;    // as written
};

// The entries of a manifest. Refused (BadInput, with the line) for anything else: a line that
// is not hash and path, a path that could leave the package's folder or be read differently on
// another system (ManifestPathProblem), a path listed twice, no entry at all.
Result ParseManifest(std::string_view text, std::vector<ManifestEntry>* out);

// Why `path` may not stand in a manifest, or empty when it may: empty, absolute ("/x",
// "C:x", "\\x"), a ".." folder, a backslash or a colon anywhere, or a control character.
std::string ManifestPathProblem(std::string_view path);

// One line of a manifest, as sha256sum writes it.
std::string ManifestLine(const ManifestEntry& entry);

}  // namespace tavlin
