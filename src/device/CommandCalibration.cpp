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
    const Result r = CalibrationInit(c.device);
    c.Finish(r, s.g_CalInitEvent, [&] {
        s.g_CalDataInitSuc = r ? 1 : 0;
        s.g_isDeviceCommunicate = r ? 1 : 0;
    });
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
        c.result = Result::Fail(ResultCode::Failed, "no valid calibration point answer");
        if (c.Publish()) {
            s.g_CalPointFlag = 0;
            s.g_CalCheckFlag = 0;
            s.g_isDeviceCommunicate = 0;
        }
        return;
    }
    if (block->kind != 0) {
        c.Finish(Result::Ok(), s.g_CalCheckEvent, [&] {
            s.g_isDeviceCommunicate = 1;
            s.g_CalCheckFlag = r == 0 ? 1 : 0;
        });
        return;
    }
    c.Finish(Result::Ok(), s.g_CalPointEvent, [&] {
        s.g_isDeviceCommunicate = 1;
        if (r == 2) {
            s.g_CalPointFlag = 1;
        } else {
            s.g_CalPointCount = 0;
            s.g_CalPointFlag = 0;
        }
    });
}

void ServeCalParam(CommandContext& c) {
    SharedState& s = c.state;
    const auto block = c.Block<CalParamBlock>();
    const Result r = block ? CalibrationParam(c.device, block->a, block->b) : ShortBlock();
    c.Finish(r, s.g_CalParamEvent, [&] {
        s.g_CalParamSuc = r ? 1 : 0;
        s.g_isDeviceCommunicate = r ? 1 : 0;
    });
}

}  // namespace tavlin::command
