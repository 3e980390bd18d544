#include "firmware/VersionInfoRecord.h"

namespace tavlin {
namespace {

struct RecordFields {
    uint32_t version;
    uint32_t at22;
    uint32_t at30;
};

void Put32(VersionInfoRecord& r, size_t offset, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        r[offset + i] = static_cast<uint8_t>(v >> (8 * i));
    }
}

VersionInfoRecord Build(const RecordFields& f) {
    VersionInfoRecord r{};
    Put32(r, 0, 0x46504741);  // "AGPF"
    r[4] = 1;
    r[5] = 0;
    Put32(r, 6, 0x11111111);
    Put32(r, 10, f.version);
    Put32(r, 14, 0);
    Put32(r, 18, 0x00007E00);
    Put32(r, 22, f.at22);
    Put32(r, 26, 1);
    Put32(r, 30, f.at30);
    Put32(r, 34, 0x00007E00);
    return r;
}

}  // namespace

VersionInfoRecord ImageVersionInfoRecord(uint32_t version) {
    return Build({version, 0x22222222, 0x00008000});
}

VersionInfoRecord FixedVersionInfoRecord() {
    return Build({1, 0x11111111, 0});
}

}  // namespace tavlin
