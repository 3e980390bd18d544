#pragma once
#include <cstddef>
#include <cstdint>

#include "base/Result.h"
#include "device/SharedState.h"
#include "firmware/VersionInfoRecord.h"
#include "platform/MessageQueue.h"

namespace tavlin {

// The firmware update's requests to the command thread. Each fails at once, posting nothing,
// without a device. A failure carries the link's code and reason: Timeout only when the wait's
// time ran out or the device did not answer, DeviceGone, Refused for a device that answered
// with a failure status, or what a request that ended without its event ended with. On success
// the result flag is cleared again, as the poster reads it.
// `sensor` is the one the request is for (0 Master, 1 Slave; 3 both for the image version read).
Result ReadVersionInfo(SharedState& state, int sensor, uint32_t timeoutMs);
Result ReadImageVersion(SharedState& state, int sensor, uint32_t timeoutMs);
Result WriteVersionInfo(SharedState& state, int sensor, const VersionInfoRecord& record,
                        uint32_t timeoutMs);
Result WriteImageVersion(SharedState& state, int sensor, uint32_t version, uint32_t timeoutMs);
// One code packet of 1 to 62 bytes to area 1 (WM_CODE_PACKET) or 2 (WM_CODE_PACKET_2), for the
// sensor and with the packet's place in its transfer that `meaning` gives. Waits until the
// command thread is done with it.
Result SendCodePacket(SharedState& state, bool secondArea, const RequestMeaning& meaning,
                      const uint8_t* data, size_t length);
// WM_UPDATE_CONTROL: 0x42 into the update environment, 0x55 back to the application.
Result SendUpdateControl(SharedState& state, uint8_t code, uint32_t timeoutMs);

inline constexpr uint8_t kEnterUpdateEnvironment = 0x42;
inline constexpr uint8_t kLeaveUpdateEnvironment = 0x55;

}  // namespace tavlin
