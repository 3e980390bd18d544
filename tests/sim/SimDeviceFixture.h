#pragma once
// A HidDevice opened on a fresh simulated device, with a short transfer time-out so that
// faults cost little time.
#include <gtest/gtest.h>

#include "device/DeviceProtocol.h"
#include "device/HidDevice.h"
#include "sim/SimTransport.h"

namespace tavlin::sim::testing {

inline constexpr int kTestTimeoutMs = 150;

class SimDeviceTest : public ::testing::Test {
  protected:
    SimDeviceTest() : device(transport) {
        transport.recorder().SetEnabled(true);
        device.setTimeoutMs(kTestTimeoutMs);
        uint16_t pid = 0;
        EXPECT_EQ(OpenHidDevice(device, &pid), 1);
        EXPECT_EQ(pid, kProductIdWork);
    }

    SimFirmware& firmware() { return transport.firmware(); }
    std::vector<Report> sent() { return transport.recorder().outReports(); }

    SimTransport transport;
    HidDevice device;
};

}  // namespace tavlin::sim::testing
