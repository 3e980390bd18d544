#pragma once
#include <string>

#include "records/RunRecord.h"

namespace tavlin {

// Where a unit's last update stopped (its stage, image, image number and count), in the user's
// language (translated) or as the log keeps it (English): "the last update of this unit stopped
// at LInfo, image 2 of 4".
std::string UnfinishedUpdateText(const UpdateProgress& where, bool translated);

}  // namespace tavlin
