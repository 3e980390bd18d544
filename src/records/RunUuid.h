#pragma once
#include <string>

namespace tavlin {

// A random (version 4) UUID in its lower-case 8-4-4-4-12 form, from std::random_device: the
// name a run keeps in every station database and on the line's server.
std::string NewRunUuid();

}  // namespace tavlin
