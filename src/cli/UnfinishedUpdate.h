#pragma once
#include <string>

#include "cli/RunReport.h"

namespace tavlin::cli {

// Where the unit's last update stopped, in the user's language (translated) or as the log keeps
// it (English): "the last update of this unit stopped at LInfo, image 2 of 4".
std::string UnfinishedUpdateText(const RunReport::InterruptedUpdate& cut, bool translated);

}  // namespace tavlin::cli
