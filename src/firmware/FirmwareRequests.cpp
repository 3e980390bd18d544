#include "firmware/FirmwareRequests.h"

#include <cstring>
#include <vector>

#include "device/CommandThread.h"
#include "device/Requests.h"

namespace tavlin {
namespace {

Result Post(SharedState& state, uint32_t message, const RequestMeaning& meaning,
            const std::vector<uint8_t>& block, uint32_t lParam, Event& done, std::atomic<int>* flag,
            uint32_t timeoutMs, const char* what) {
    if (state.g_bDevExist == 0) {
        return Result::Fail(ResultCode::NoDevice, what);
    }
    const RequestHandle request =
        PostRequest(state, message, meaning, block.data(), block.size(), lParam);
    if (request == nullptr) {
        return Result::Fail(ResultCode::Failed, std::string(what) + ": no command thread");
    }
    if (const uint32_t code = WaitRequest(request, done, timeoutMs); code != WAIT_OBJECT_0) {
        // Only a wait that ran out is a time-out; a request that ended without its event (the
        // command thread went, the request was dropped) says what it ended with.
        const Result outcome = RequestOutcome(request, code);
        return Result::Fail(outcome.code(), std::string(what) + ": " + outcome.reason());
    }
    if (flag != nullptr && flag->exchange(0) == 0) {
        // A link that failed (no answer, device gone) says so; only a device that answered
        // with a failure status refused.
        if (const Result& outcome = request->result; !outcome.ok()) {
            return Result::Fail(outcome.code(), std::string(what) + ": " + outcome.reason());
        }
        return Result::Fail(ResultCode::Refused, std::string(what) + ": refused by the device");
    }
    return Result::Ok();
}

std::vector<uint8_t> AreaBlock(const uint8_t (&area)[3], uint8_t n, const uint8_t* data,
                               size_t dataSize) {
    std::vector<uint8_t> block(4 + dataSize);
    block[0] = area[0];
    block[1] = area[1];
    block[2] = area[2];
    block[3] = n;
    std::memcpy(block.data() + 4, data, dataSize);
    return block;
}

RequestMeaning ForSensor(int sensor) {
    RequestMeaning meaning;
    meaning.sensor = sensor;
    return meaning;
}

}  // namespace

Result ReadVersionInfo(SharedState& state, int sensor, uint32_t timeoutMs) {
    const std::vector<uint8_t> block{0x00, 0x00, 0x01, 0x02, 0x00, 0x00, 0x00, 0x00};
    return Post(state, WM_READ_VERSION_INFO, ForSensor(sensor), block, 2,
                state.g_ReadVersionInfoEvent, &state.g_ReadImageVersionSuc, timeoutMs,
                "read version info");
}

Result ReadImageVersion(SharedState& state, int sensor, uint32_t timeoutMs) {
    std::vector<uint8_t> block(32, 0);
    block[1] = 0x30;
    block[2] = 0x01;
    block[3] = 0x02;
    return Post(state, WM_READ_IMAGE_VERSION, ForSensor(sensor), block, 2,
                state.g_ReadImageVersionEvent, &state.g_ReadImageVersionSuc, timeoutMs,
                "read image version");
}

Result WriteVersionInfo(SharedState& state, int sensor, const VersionInfoRecord& record,
                        uint32_t timeoutMs) {
    const auto block = AreaBlock(kVersionInfoArea, static_cast<uint8_t>(record.size()),
                                 record.data(), record.size());
    return Post(state, WM_WRITE_VERSION_INFO, ForSensor(sensor), block,
                static_cast<uint32_t>(block.size()), state.g_WriteVersionInfoEvent,
                &state.g_ReadImageVersionSuc, timeoutMs, "write version info");
}

Result WriteImageVersion(SharedState& state, int sensor, uint32_t version, uint32_t timeoutMs) {
    const uint8_t bytes[4] = {static_cast<uint8_t>(version), static_cast<uint8_t>(version >> 8),
                              static_cast<uint8_t>(version >> 16),
                              static_cast<uint8_t>(version >> 24)};
    const auto block = AreaBlock(kImageVersionArea, 4, bytes, sizeof bytes);
    return Post(state, WM_WRITE_IMAGE_VERSION, ForSensor(sensor), block,
                static_cast<uint32_t>(block.size()), state.g_WriteImageVersionEvent,
                &state.g_ReadImageVersionSuc, timeoutMs, "write image version");
}

Result SendCodePacket(SharedState& state, bool secondArea, const RequestMeaning& meaning,
                      const uint8_t* data, size_t length) {
    const std::vector<uint8_t> block(data, data + length);
    return Post(state, secondArea ? WM_CODE_PACKET_2 : WM_CODE_PACKET, meaning, block,
                static_cast<uint32_t>(length), state.g_CodePacketEvent, &state.g_CodePacketSuc,
                INFINITE, "code packet");
}

Result SendUpdateControl(SharedState& state, uint8_t code, uint32_t timeoutMs) {
    const std::vector<uint8_t> block{code};
    return Post(state, WM_UPDATE_CONTROL, RequestMeaning{}, block, 0, state.g_UpdateCtrlEvent,
                &state.g_UpdateCtrlSuc, timeoutMs, "update control");
}

}  // namespace tavlin
