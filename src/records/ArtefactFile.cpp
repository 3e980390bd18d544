#include "records/ArtefactFile.h"

#include <filesystem>
#include <system_error>

#include "crypto/Sha256.h"
#include "platform/FilePath.h"

namespace tavlin {

ArtefactRecord ArtefactOfFile(const std::string& kind, const std::string& path) {
    std::error_code ignored;
    ArtefactRecord artefact;
    artefact.kind = kind;
    artefact.path = Utf8FromPath(std::filesystem::absolute(PathFromUtf8(path), ignored));
    std::string hex;
    std::int64_t size = 0;
    if (Sha256OfFile(path, &hex, &size)) {
        artefact.sha256 = hex;
        artefact.size = size;
    }
    return artefact;
}

}  // namespace tavlin
