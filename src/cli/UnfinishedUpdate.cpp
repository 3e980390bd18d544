#include "cli/UnfinishedUpdate.h"

#include "station/UnfinishedUpdateText.h"

namespace tavlin::cli {

std::string UnfinishedUpdateText(const RunReport::InterruptedUpdate& cut, bool translated) {
    UpdateProgress where;
    where.stage = cut.stage;
    where.image = cut.image;
    where.imageNumber = cut.imageNumber;
    where.imageCount = cut.imageCount;
    return tavlin::UnfinishedUpdateText(where, translated);
}

}  // namespace tavlin::cli
