// A package's list of files and hashes, as a station reads it from the package's folder: no
// crash, and every path it accepts stays inside the folder and prints back to the same entry.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "firmware/PackageManifest.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<tavlin::ManifestEntry> entries;
    if (!tavlin::ParseManifest(text, &entries).ok()) {
        return 0;
    }
    if (entries.empty()) {
        std::abort();  // a list of nothing vouches for nothing
    }
    for (const tavlin::ManifestEntry& entry : entries) {
        if (!tavlin::ManifestPathProblem(entry.path).empty() || entry.sha256.size() != 64) {
            std::abort();
        }
        std::vector<tavlin::ManifestEntry> again;
        if (!tavlin::ParseManifest(tavlin::ManifestLine(entry), &again).ok() || again.size() != 1 ||
            again[0].path != entry.path || again[0].sha256 != entry.sha256) {
            std::abort();
        }
    }
    return 0;
}
