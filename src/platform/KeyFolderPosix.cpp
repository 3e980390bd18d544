#include <cstdlib>

#include "platform/KeyFolder.h"

namespace tavlin {

std::string TrustedKeyFolder() {
    if (const char* given = std::getenv(kKeyFolderVariable); given != nullptr && *given != '\0') {
        return given;
    }
    return "/etc/tavlin/keys";
}

}  // namespace tavlin
