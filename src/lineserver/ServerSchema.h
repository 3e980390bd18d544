#pragma once
#include "base/Result.h"

namespace tavlin::lineserver {

class ServerLink;

// The version of the tables this program writes on the line's server (schema "tavlin").
inline constexpr int kServerSchemaVersion = 1;

// Makes the server's tables where they are not there yet, in one transaction under an advisory
// lock, so the stations of a line starting at once do not race to create them. A server whose
// tables are of another version is refused (BadInput, saying both versions) and left as it is.
Result PrepareServerSchema(ServerLink& link);

}  // namespace tavlin::lineserver
