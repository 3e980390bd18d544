#include "firmware/UpdatePlan.h"

namespace tavlin {

std::vector<PlannedWrite> PlanUpdate(const ImageEnables& enables) {
    std::vector<ImageWrite> writes;
    if (enables.enabled(PackageSection::HInfo)) {
        writes.push_back(ImageWrite::HInfoLeft);
        writes.push_back(ImageWrite::HInfoRight);
    }
    if (enables.enabled(PackageSection::LInfo)) {
        writes.push_back(ImageWrite::LInfo);
    }
    if (enables.enabled(PackageSection::RInfo)) {
        writes.push_back(ImageWrite::RInfo);
    }
    std::vector<PlannedWrite> plan;
    if (writes.empty()) {
        return plan;
    }
    const int share = 100 / static_cast<int>(writes.size());
    for (size_t i = 0; i < writes.size(); ++i) {
        const int base = static_cast<int>(i) * share;
        const int span = i + 1 == writes.size() ? 100 - base : share;
        plan.push_back({writes[i], base, span});
    }
    return plan;
}

int ProgressPosition(const PlannedWrite& plan, uint64_t index, uint64_t last) {
    if (last == 0) {
        return plan.base + plan.span;
    }
    return plan.base + static_cast<int>(static_cast<uint64_t>(plan.span) * index / last);
}

PackageSection SectionOf(ImageWrite write) {
    switch (write) {
        case ImageWrite::HInfoLeft:
        case ImageWrite::HInfoRight:
            return PackageSection::HInfo;
        case ImageWrite::LInfo:
            return PackageSection::LInfo;
        case ImageWrite::RInfo:
            break;
    }
    return PackageSection::RInfo;
}

int SensorOf(ImageWrite write) {
    return write == ImageWrite::HInfoRight || write == ImageWrite::RInfo ? 1 : 0;
}

}  // namespace tavlin
