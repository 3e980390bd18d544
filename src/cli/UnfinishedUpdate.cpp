#include "cli/UnfinishedUpdate.h"

#include <cstdio>

#include "base/StringTable.h"
#include "cli/RecordTexts.h"

namespace tavlin::cli {

std::string UnfinishedUpdateText(const RunReport::InterruptedUpdate& cut, bool translated) {
    const auto text = [translated](const char* builtIn, const char* english) {
        return translated ? Tr(builtIn) : std::string(english);
    };
    if (cut.stage == "restart-in") {
        return text(recordtext::kStoppedRestartingIn,
                    "the last update of this unit stopped as it restarted into its update "
                    "environment");
    }
    if (cut.stage == "restart-out") {
        return text(recordtext::kStoppedRestartingOut,
                    "the last update of this unit stopped as it restarted out of its update "
                    "environment");
    }
    const std::string format = text(recordtext::kStoppedAtImage,
                                    "the last update of this unit stopped at %s, image %d of %d");
    char line[256];
    std::snprintf(line, sizeof line, format.c_str(), cut.image.c_str(), cut.imageNumber,
                  cut.imageCount);
    return line;
}

}  // namespace tavlin::cli
