#include "console/RegisterPanel.h"

#include "base/StringTable.h"
#include "console/DeviceCheck.h"
#include "console/NumberText.h"
#include "device/CommandThread.h"
#include "device/Requests.h"

namespace tavlin {

bool RegisterPanel::DevicePresent() {
    return CheckDevicePresent(state_, view_);
}

Result RegisterPanel::Posted(RequestHandle request, const char* failureText,
                             RequestHandle* posted) {
    if (!request) {
        view_.AppendOutputText(failureText);
        return Result::Fail(ResultCode::NoDevice, "no command thread to post to");
    }
    if (posted != nullptr) {
        *posted = std::move(request);
    }
    return Result::Ok();
}

Result RegisterPanel::Write(const std::string& addressText, const std::string& valueText,
                            bool sensorTicked, RequestHandle* posted) {
    if (!DevicePresent()) {
        return Result::Fail(ResultCode::NoDevice, "no device");
    }
    if (addressText.empty()) {
        view_.AppendOutputText("The register address can't be NULL!\n");
        return Result::Fail(ResultCode::BadInput, "no register address");
    }
    uint32_t address = 0;
    if (!StrToIntEx(addressText, &address)) {
        view_.AppendOutputText("The register address is not a number!\n");
        return Result::Fail(ResultCode::BadInput, "register address is not a number");
    }
    uint32_t value = 0;
    if (!StrToIntEx(valueText, &value)) {
        view_.AppendOutputText("The register value is not a number!\n");
        return Result::Fail(ResultCode::BadInput, "register value is not a number");
    }
    const RegWriteBlock block{address, 1, value};
    const uint32_t message = sensorTicked ? WM_I2C_WRITE : WM_FPGA_PORT_WRITE;
    return Posted(
        PostRequest(state_, message, &block, sizeof block),
        sensorTicked ? "send message: write_i2c_reg err\n" : "send message: write_reg err\n",
        posted);
}

Result RegisterPanel::Read(const std::string& addressText, bool sensorTicked,
                           RequestHandle* posted) {
    if (!DevicePresent()) {
        return Result::Fail(ResultCode::NoDevice, "no device");
    }
    uint32_t address = 0;
    StrToIntEx(addressText, &address);  // number-less reads address 0
    RequestHandle request;
    if (sensorTicked) {
        const RegReadBlock block{address, 1};
        request = PostRequest(state_, WM_I2C_READ, &block, sizeof block);
    } else {
        const SingleReadBlock block{address};
        request = PostRequest(state_, WM_FPGA_SINGLE_READ, &block, sizeof block);
    }
    return Posted(std::move(request), "send message: read_i2c_reg err\n", posted);
}

}  // namespace tavlin
