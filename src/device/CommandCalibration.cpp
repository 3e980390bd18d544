// The calibration requests.
#include "device/CommandContext.h"
#include "device/DeviceProtocol.h"

namespace tavlin::command {

// Initialisation and points are served only while the calibration worker runs; otherwise they
// are dropped without a result or an event.
void ServeCalInit(CommandContext& c) {
    SharedState& s = c.state;
    if (s.g_CalThread == nullptr) {
        return;
    }
    const int ok = CalibrationInit(c.device) ? 1 : 0;
    s.g_CalDataInitSuc = ok;
    s.g_isDeviceCommunicate = ok;
    c.Signal(s.g_CalInitEvent);
}

void ServeCalPoint(CommandContext& c) {
    SharedState& s = c.state;
    if (s.g_CalThread == nullptr) {
        return;
    }
    const auto block = c.Block<CalPointBlock>();
    const int r = block ? CalibrationPoint(c.device, block->payload) : 3;
    if (r == 3) {
        // No valid answer: the worker's own time limit decides, no event.
        s.g_CalPointFlag = 0;
        s.g_CalCheckFlag = 0;
        s.g_isDeviceCommunicate = 0;
        return;
    }
    s.g_isDeviceCommunicate = 1;
    if (block->kind != 0) {
        s.g_CalCheckFlag = r == 0 ? 1 : 0;
        c.Signal(s.g_CalCheckEvent);
        return;
    }
    if (r == 2) {
        s.g_CalPointFlag = 1;
    } else {
        s.g_CalPointCount = 0;
        s.g_CalPointFlag = 0;
    }
    c.Signal(s.g_CalPointEvent);
}

void ServeCalParam(CommandContext& c) {
    SharedState& s = c.state;
    const auto block = c.Block<CalParamBlock>();
    const int ok = block && CalibrationParam(c.device, block->a, block->b) ? 1 : 0;
    s.g_CalParamSuc = ok;
    s.g_isDeviceCommunicate = ok;
    c.Signal(s.g_CalParamEvent);
}

}  // namespace tavlin::command
