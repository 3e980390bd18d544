#include "station/UnfinishedUpdateText.h"

#include <cstdio>

#include "base/StringTable.h"
#include "station/UpdateStopTexts.h"

namespace tavlin {

std::string UnfinishedUpdateText(const UpdateProgress& where, bool translated) {
    const auto text = [translated](const char* builtIn, const char* english) {
        return translated ? Tr(builtIn) : std::string(english);
    };
    if (where.stage == "restart-in") {
        return text(stoptext::kStoppedRestartingIn,
                    "the last update of this unit stopped as it restarted into its update "
                    "environment");
    }
    if (where.stage == "restart-out") {
        return text(stoptext::kStoppedRestartingOut,
                    "the last update of this unit stopped as it restarted out of its update "
                    "environment");
    }
    const std::string format = text(stoptext::kStoppedAtImage,
                                    "the last update of this unit stopped at %s, image %d of %d");
    char line[256];
    std::snprintf(line, sizeof line, format.c_str(), where.image.c_str(), where.imageNumber,
                  where.imageCount);
    return line;
}

}  // namespace tavlin
