#include "console/RegisterPanel.h"

#include "base/StringTable.h"
#include "console/ConsoleTexts.h"
#include "console/DeviceCheck.h"
#include "console/NumberText.h"
#include "device/CommandThread.h"
#include "device/Requests.h"

namespace tavlin {

bool RegisterPanel::DevicePresent() {
    return CheckDevicePresent(state_, view_);
}

void RegisterPanel::Write(const std::string& addressText, const std::string& valueText,
                          bool sensorTicked) {
    if (!DevicePresent()) {
        return;
    }
    if (addressText.empty()) {
        view_.AppendOutputText("The register address can't be NULL!\n");
        return;
    }
    uint32_t address = 0;
    if (!StrToIntEx(addressText, &address)) {
        view_.AppendOutputText(Tr(console::kAddressNotNumber));
        return;
    }
    uint32_t value = 0;
    if (!StrToIntEx(valueText, &value)) {
        view_.AppendOutputText(Tr(console::kValueNotNumber));
        return;
    }
    const RegWriteBlock block{address, 1, value};
    const uint32_t message = sensorTicked ? WM_I2C_WRITE : WM_FPGA_PORT_WRITE;
    if (!PostRequest(state_, message, &block, sizeof block)) {
        view_.AppendOutputText(sensorTicked ? "send message: write_i2c_reg err\n"
                                            : "send message: write_reg err\n");
    }
}

void RegisterPanel::Read(const std::string& addressText, bool sensorTicked) {
    if (!DevicePresent()) {
        return;
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
    if (!request) {
        view_.AppendOutputText("send message: read_i2c_reg err\n");
    }
}

}  // namespace tavlin
