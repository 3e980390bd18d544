#pragma once
#include <string>

#include "records/RunRecord.h"

namespace tavlin {

// A file a run made or used, as its record keeps it: the whole path, the size and the SHA-256
// of the bytes there now. A file that cannot be read keeps its path, size 0 and no hash, so the
// record still says it was meant to be there.
ArtefactRecord ArtefactOfFile(const std::string& kind, const std::string& path);

}  // namespace tavlin
