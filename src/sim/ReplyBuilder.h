#pragma once
#include <cstddef>
#include <cstdint>

#include "sim/SimTypes.h"

namespace tavlin::sim {

// Builds an input report: report id, the command echoed, status, then data appended in order
// (anything past the 61 data bytes is cut).
class ReplyBuilder {
  public:
    explicit ReplyBuilder(uint8_t command) {
        report_[0] = kReportId;
        report_[1] = command;
        report_[2] = kStatusAccepted;
    }
    ReplyBuilder& Status(uint8_t status) {
        report_[2] = status;
        return *this;
    }
    ReplyBuilder& Byte(uint8_t value) { return Data(&value, 1); }
    ReplyBuilder& U16(uint16_t value) {
        const uint8_t le[2] = {static_cast<uint8_t>(value & 0xFF),
                               static_cast<uint8_t>(value >> 8)};
        return Data(le, 2);
    }
    ReplyBuilder& Data(const uint8_t* data, size_t length) {
        for (size_t i = 0; i < length && used_ < report_.size(); ++i) {
            report_[used_++] = data[i];
        }
        return *this;
    }
    const Report& report() const { return report_; }

  private:
    Report report_{};
    size_t used_ = 3;
};

}  // namespace tavlin::sim
