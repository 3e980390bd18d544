#include "device/ReportDescriptor.h"

#include <vector>

#include "device/HidTransport.h"

namespace tavlin {
namespace {

// Short item prefix fields (HID 1.11, 6.2.2.2).
constexpr uint8_t kTypeMain = 0;
constexpr uint8_t kTypeGlobal = 1;
constexpr uint8_t kTypeLocal = 2;
constexpr uint8_t kMainInput = 0x8;
constexpr uint8_t kMainCollection = 0xA;
constexpr uint8_t kMainEndCollection = 0xC;
constexpr uint8_t kGlobalUsagePage = 0x0;
constexpr uint8_t kGlobalReportId = 0x8;
constexpr uint8_t kGlobalPush = 0xA;
constexpr uint8_t kGlobalPop = 0xB;
constexpr uint8_t kLocalUsage = 0x0;
constexpr uint8_t kLongItem = 0xFE;
// Push without pop is bounded: a hostile descriptor must not grow memory without limit.
constexpr size_t kMaxPushDepth = 32;

struct Globals {
    uint32_t usagePage = 0;
    uint8_t reportId = 0;
};

struct Scan {
    bool usesReportIds = false;
    bool vendorInputFound = false;
    std::array<bool, 256> vendorIds{};
};

Scan ScanDescriptor(const uint8_t* d, size_t length) {
    Scan scan;
    Globals globals;
    std::vector<Globals> pushed;
    bool haveUsage = false;
    uint32_t firstUsage = 0;
    bool firstUsageExtended = false;
    int depth = 0;
    bool inVendor = false;
    size_t at = 0;
    while (at < length) {
        const uint8_t prefix = d[at];
        if (prefix == kLongItem) {
            if (at + 1 >= length) {
                break;
            }
            at += 3 + static_cast<size_t>(d[at + 1]);
            continue;
        }
        const size_t size = (prefix & 3) == 3 ? 4 : (prefix & 3);
        if (at + 1 + size > length) {
            break;  // a cut item: what came before still counts
        }
        uint32_t value = 0;
        for (size_t i = 0; i < size; ++i) {
            value |= static_cast<uint32_t>(d[at + 1 + i]) << (8 * i);
        }
        const uint8_t type = (prefix >> 2) & 3;
        const uint8_t tag = prefix >> 4;
        at += 1 + size;
        if (type == kTypeGlobal) {
            if (tag == kGlobalUsagePage) {
                globals.usagePage = value & 0xFFFF;
            } else if (tag == kGlobalReportId) {
                globals.reportId = static_cast<uint8_t>(value);
                scan.usesReportIds = true;
            } else if (tag == kGlobalPush && pushed.size() < kMaxPushDepth) {
                pushed.push_back(globals);
            } else if (tag == kGlobalPop && !pushed.empty()) {
                globals = pushed.back();
                pushed.pop_back();
            }
        } else if (type == kTypeLocal) {
            if (tag == kLocalUsage && !haveUsage) {
                haveUsage = true;
                firstUsage = value;
                firstUsageExtended = size == 4;
            }
        } else if (type == kTypeMain) {
            if (tag == kMainCollection) {
                if (depth == 0) {
                    const uint32_t page = firstUsageExtended ? firstUsage >> 16 : globals.usagePage;
                    const uint32_t usage = firstUsage & 0xFFFF;
                    inVendor = haveUsage && IsVendorCollection(page, usage);
                }
                ++depth;
            } else if (tag == kMainEndCollection) {
                depth = depth > 0 ? depth - 1 : 0;
                if (depth == 0) {
                    inVendor = false;
                }
            } else if (tag == kMainInput && inVendor) {
                scan.vendorInputFound = true;
                scan.vendorIds[globals.reportId] = true;
            }
            haveUsage = false;
            firstUsage = 0;
            firstUsageExtended = false;
        }
    }
    return scan;
}

}  // namespace

InputReportFilter InputReportFilter::AcceptAll() {
    InputReportFilter f;
    f.acceptAll_ = true;
    return f;
}

InputReportFilter InputReportFilter::Only(std::initializer_list<uint8_t> ids) {
    InputReportFilter f;
    for (uint8_t id : ids) {
        f.ids_[id] = true;
    }
    return f;
}

InputReportFilter InputReportFilter::FromDescriptor(const uint8_t* descriptor, size_t length) {
    if (descriptor == nullptr || length == 0) {
        return Only({kReportId});
    }
    const Scan scan = ScanDescriptor(descriptor, length);
    if (!scan.usesReportIds) {
        return AcceptAll();
    }
    if (!scan.vendorInputFound) {
        return Only({kReportId});
    }
    InputReportFilter f;
    f.ids_ = scan.vendorIds;
    return f;
}

}  // namespace tavlin
