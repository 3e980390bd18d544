// Several simulated devices at one station: each on its own port, chosen by it, and followed
// through its restart on that port only.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "../device/FakeTransport.h"
#include "../device/LogCapture.h"
#include "device/AttachedDevices.h"
#include "device/HidDevice.h"
#include "sim/SimStation.h"

namespace tavlin::sim {
namespace {

using namespace std::chrono_literals;

TEST(Station, ListsEachDeviceOnItsPortAndAKeptPortOpensOnlyThatOne) {
    SimStation station(3);
    station.device(2).Detach();
    station.device(2).Attach(kProductIdUpdate);
    const std::vector<AttachedDevice> devices = ListAttachedDevices(station);
    ASSERT_EQ(devices.size(), 3u);
    EXPECT_EQ(PortList(devices), "sim-1, sim-2, sim-3");
    EXPECT_FALSE(devices[0].inUpdateEnvironment());
    EXPECT_TRUE(devices[2].inUpdateEnvironment());

    HidDevice device(station);
    device.setKeptPort("sim-2");
    uint16_t productId = 0;
    ASSERT_EQ(OpenHidDevice(device, &productId), 1);
    EXPECT_EQ(device.handle()->Path().rfind("sim-2:", 0), 0u);
    EXPECT_EQ(device.openedPort(), "sim-2");

    HidDevice nowhere(station);
    nowhere.setKeptPort("sim-9");
    Result why;
    EXPECT_EQ(OpenHidDevice(nowhere, &productId, &why), 0);
    EXPECT_EQ(why.code(), ResultCode::NoDevice);
}

// The device being updated restarts on its port while another device restarts into its update
// environment and a third is pulled: only the same port's device counts as the one back.
TEST(Station, ARestartIsFollowedOnTheSamePortOnly) {
    SimStation station(3);
    HidDevice device(station);
    device.setKeptPort("sim-1");
    uint16_t productId = 0;
    ASSERT_EQ(OpenHidDevice(device, &productId), 1);

    station.device(0).Detach();
    station.device(1).Detach();
    station.device(1).Attach(kProductIdUpdate);
    station.device(2).Detach();
    EXPECT_EQ(OpenHidDevice(device, &productId), 0) << "another port's device was taken";

    station.device(0).Attach(kProductIdUpdate);
    ASSERT_EQ(OpenHidDevice(device, &productId), 1);
    EXPECT_EQ(productId, kProductIdUpdate);
    EXPECT_EQ(device.handle()->Path().rfind("sim-1:", 0), 0u);
}

// The window works on every port and takes the first device; while its firmware tool runs it
// keeps to the unit it is updating, and lets go afterwards.
TEST(Station, AToolsRestartKeepsToTheUnitItStartedWith) {
    SimStation station(2);
    HidDevice device(station);
    uint16_t productId = 0;
    station.device(0).Detach();
    ASSERT_EQ(OpenHidDevice(device, &productId), 1);  // sim-2, the only one there
    station.device(0).Attach();
    {
        const KeepingToPort keep(device);
        EXPECT_EQ(device.keptPort(), "sim-2");
        station.device(1).Detach();
        EXPECT_EQ(OpenHidDevice(device, &productId), 0) << "sim-1 taken for the unit coming back";
        station.device(1).Attach(kProductIdUpdate);
        ASSERT_EQ(OpenHidDevice(device, &productId), 1);
        EXPECT_EQ(device.handle()->Path().rfind("sim-2:", 0), 0u);
    }
    EXPECT_EQ(device.keptPort(), "");
}

// A window started on one port keeps to it through its firmware tool and after it.
TEST(Station, AToolLeavesThePortTheRunWasStartedOn) {
    SimStation station(2);
    HidDevice device(station);
    device.setKeptPort("sim-2");
    uint16_t productId = 0;
    ASSERT_EQ(OpenHidDevice(device, &productId), 1);
    {
        const KeepingToPort keep(device);
        EXPECT_EQ(device.keptPort(), "sim-2");
    }
    EXPECT_EQ(device.keptPort(), "sim-2");
    station.device(1).Detach();
    EXPECT_EQ(OpenHidDevice(device, &productId), 0) << "sim-1 taken after the tool ended";
}

// A lone device is not kept to its port: its restart may bring it back on another (a hub's
// choice, or a system that tells no port), and it is followed there, with a log line.
TEST(Station, AToolFollowsALoneDeviceToAnotherPort) {
    testing::LogCapture log;
    SimStation station(2);
    HidDevice device(station);
    uint16_t productId = 0;
    station.device(0).Detach();
    ASSERT_EQ(OpenHidDevice(device, &productId), 1);  // sim-2, alone
    {
        const KeepingToPort keep(device);
        EXPECT_EQ(device.keptPort(), "");
        station.device(1).Detach();
        station.device(0).Attach(kProductIdUpdate);
        ASSERT_EQ(OpenHidDevice(device, &productId), 1);
        EXPECT_EQ(device.handle()->Path().rfind("sim-1:", 0), 0u);
        EXPECT_EQ(device.openedPort(), "sim-1");
    }
    EXPECT_TRUE(log.Contains("Open hid device: on port sim-1 now, was on port sim-2\n"))
        << log.Text();
    EXPECT_FALSE(log.Contains("was on port \n")) << "the first device opened came from nowhere";
    // Back on the same port: nothing to say.
    station.device(0).Attach();
    ASSERT_EQ(OpenHidDevice(device, &productId), 1);
    EXPECT_EQ(log.Text().find("was on port sim-1"), std::string::npos) << log.Text();
}

TEST(Station, FaultsGoToTheDeviceTheyName) {
    std::string error;
    const auto plans =
        SplitFaultsByDevice("latency=1ms,device=sim-2,refuse=0x38", {"sim-1", "sim-2"}, &error);
    ASSERT_TRUE(plans) << error;
    EXPECT_EQ(plans->at("sim-1"), "latency=1ms");
    EXPECT_EQ(plans->at("sim-2"), "latency=1ms,refuse=0x38");
    EXPECT_FALSE(SplitFaultsByDevice("device=sim-3,refuse=1", {"sim-1", "sim-2"}, &error));
    EXPECT_NE(error.find("sim-3"), std::string::npos);
}

// Right after an arrival the node may refuse to open for a moment (udev still at work): the
// open is tried again. An interface that was there before gets no such grace.
TEST(Station, AnOpenRightAfterAnArrivalIsTriedAgain) {
    testing::FakeTransport transport;
    HidDevice device(transport);
    uint16_t productId = 0;
    ASSERT_EQ(OpenHidDevice(device, &productId), 0);  // the first look: nothing there

    transport.interfaces = {
        {"/dev/hidraw4", kVendorId, kProductIdUpdate, kVendorUsagePage, kVendorUsage, "1-1.2"}};
    transport.openErrors["/dev/hidraw4"] = 13;
    std::thread ready([&] {
        std::this_thread::sleep_for(200ms);
        transport.ClearOpenError("/dev/hidraw4");
    });
    EXPECT_EQ(OpenHidDevice(device, &productId), 1);
    ready.join();

    CloseHidDevice(device);
    transport.openErrors["/dev/hidraw4"] = 13;  // still listed: no second grace
    const auto start = std::chrono::steady_clock::now();
    Result why;
    EXPECT_EQ(OpenHidDevice(device, &productId, &why), 0);
    EXPECT_EQ(why.code(), ResultCode::NoAccess);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
}

}  // namespace
}  // namespace tavlin::sim
