#pragma once
#include <cstdint>

#include "device/SharedState.h"
#include "firmware/FirmwareView.h"

namespace tavlin {

// The firmware window's four engineering buttons: one fixed request each to the sensor that
// g_SensorSel selects at the press, carried in the request. Only a missing device or an unanswered
// request is reported; values read land in the process-wide version records.
class VersionInfoButtons {
  public:
    static constexpr int kReadImageVersion = 1074;
    static constexpr int kWriteImageVersion = 1075;
    static constexpr int kReadVersionInfo = 1076;
    static constexpr int kWriteVersionInfo = 1077;
    static constexpr uint32_t kFixedImageVersion = 0xCC332211;
    static constexpr uint32_t kAnswerWaitMs = 3000;

    VersionInfoButtons(SharedState& state, FirmwareView& view) : state_(state), view_(view) {}

    // Returns false for an id that is not one of the four buttons.
    bool Press(int controlId, uint32_t waitMs = kAnswerWaitMs);

  private:
    SharedState& state_;
    FirmwareView& view_;
};

}  // namespace tavlin
