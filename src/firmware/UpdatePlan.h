#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "firmware/FirmwarePackage.h"

namespace tavlin {

// One image write of an update, in the order the device takes them: HInfo to the Left then the
// Right sensor from the same file, LInfo to the Left, RInfo to the Right.
enum class ImageWrite { HInfoLeft, HInfoRight, LInfo, RInfo };

struct PlannedWrite {
    ImageWrite write;
    int base;  // progress bar position (percent) when the image starts
    int span;  // its share of the bar
};

// The enabled writes in order, with the bar shared out as evenly as whole percents allow (the
// last image takes what the rounding left over, so the bar always ends at 100).
std::vector<PlannedWrite> PlanUpdate(const ImageEnables& enables);

// Bar position before packet `index` of an image whose last packet index is `last`. An image
// of a single packet (last 0) shows its whole share at once: the one packet completes it.
int ProgressPosition(const PlannedWrite& plan, uint64_t index, uint64_t last);

PackageSection SectionOf(ImageWrite write);
int SensorOf(ImageWrite write);  // 0 Master (Left), 1 Slave (Right)

}  // namespace tavlin
