#pragma once
#include <string>

namespace tavlin {

// The environment variable that points the station's key folder elsewhere (tests, a station
// that keeps its keys on another volume).
inline constexpr const char* kKeyFolderVariable = "TAVLIN_KEY_DIR";

// The folder of the public keys a station trusts for firmware packages, UTF-8: TAVLIN_KEY_DIR
// when set; otherwise /etc/tavlin/keys on Linux, and keys\ beside tavlin.exe on Windows (the
// installer's folder, writable only by administrators).
std::string TrustedKeyFolder();

}  // namespace tavlin
