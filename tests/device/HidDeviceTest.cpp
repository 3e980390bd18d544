#include "device/HidDevice.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <cerrno>

#include "device/FakeTransport.h"
#include "device/LogCapture.h"
#include "device/SystemTransport.h"

namespace tavlin {
namespace {

using testing::Accepted;
using testing::FakeTransport;
using ::testing::HasSubstr;
using testing::OurVendorCollection;

TEST(OpenHidDevice, NoMatchingDeviceAmongOthersClosesEverythingItOpened) {
    FakeTransport t;
    t.interfaces = {{"/dev/hidraw0", 0x046D, 0xC077, 0x0001, 0x0002},  // a mouse
                    {"/dev/hidraw1", 0x1FC9, 0x0099, kVendorUsagePage, kVendorUsage}};
    HidDevice dev(t);
    uint16_t pid = 0;
    EXPECT_EQ(OpenHidDevice(dev, &pid), 0);
    EXPECT_FALSE(dev.isOpen());
    EXPECT_EQ(t.opened, t.closed);
}

TEST(OpenHidDevice, SkipsTheTouchCollectionAndFindsTheVendorOne) {
    FakeTransport t;
    t.interfaces = {{"/dev/hidraw2:touch", kVendorId, kProductIdWork2, 0x000D, 0x0004},
                    OurVendorCollection("/dev/hidraw2", kProductIdWork2)};
    HidDevice dev(t);
    uint16_t pid = 0;
    EXPECT_EQ(OpenHidDevice(dev, &pid), 1);
    EXPECT_EQ(pid, kProductIdWork2);
    EXPECT_EQ(dev.handle()->Path(), "/dev/hidraw2");
    EXPECT_EQ(t.opened, 1);
}

TEST(OpenHidDevice, SecondCallWithTheDeviceStillThereReturns2AndOpensNothing) {
    FakeTransport t;
    t.interfaces = {OurVendorCollection("/dev/hidraw0", kProductIdUpdate)};
    HidDevice dev(t);
    uint16_t pid = 0;
    ASSERT_EQ(OpenHidDevice(dev, &pid), 1);
    pid = 0;
    EXPECT_EQ(OpenHidDevice(dev, &pid), 2);
    EXPECT_EQ(pid, kProductIdUpdate);
    EXPECT_EQ(t.opened, 1);
    EXPECT_EQ(t.closed, 0);
}

TEST(OpenHidDevice, RemovedThenReattached) {
    FakeTransport t;
    t.interfaces = {OurVendorCollection("/dev/hidraw0")};
    HidDevice dev(t);
    uint16_t pid = 0;
    ASSERT_EQ(OpenHidDevice(dev, &pid), 1);
    t.interfaces.clear();
    EXPECT_EQ(OpenHidDevice(dev, &pid), 0);
    EXPECT_FALSE(dev.isOpen());
    EXPECT_EQ(t.closed, 1) << "the stale handle is closed";
    t.interfaces = {OurVendorCollection("/dev/hidraw3")};
    EXPECT_EQ(OpenHidDevice(dev, &pid), 1);
    EXPECT_EQ(dev.handle()->Path(), "/dev/hidraw3");
}

TEST(OpenHidDevice, ProductIdOfTheLastDeviceOfOursSeenIsKept) {
    FakeTransport t;
    t.interfaces = {{"/dev/hidraw0", kVendorId, kProductIdUpdate, 0x000D, 0x0004}};
    HidDevice dev(t);
    uint16_t pid = 0;
    EXPECT_EQ(OpenHidDevice(dev, &pid), 0);
    EXPECT_EQ(pid, kProductIdUpdate);
}

// A node this user may not open is logged and opens nothing, but it is not "no device": the
// outcome says NoAccess. Any other open failure is no device to talk to; a device of ours that
// opens after a refused one wins.
TEST(OpenHidDevice, PermissionDeniedIsLoggedAndToldApartFromNoDevice) {
    testing::LogCapture log;
    FakeTransport t;
    t.interfaces = {OurVendorCollection("/dev/hidraw0")};
    t.openErrors["/dev/hidraw0"] = 13;
    HidDevice dev(t);
    uint16_t pid = 0;
    Result why;
    EXPECT_EQ(OpenHidDevice(dev, &pid, &why), 0);
    EXPECT_EQ(why.code(), ResultCode::NoAccess) << why.describe();
    EXPECT_THAT(why.reason(), HasSubstr("/dev/hidraw0"));
    EXPECT_THAT(log.Text(), HasSubstr("(error 13, permission denied: install the udev rules)"));

    t.openErrors["/dev/hidraw0"] = 5;  // EIO
    EXPECT_EQ(OpenHidDevice(dev, &pid, &why), 0);
    EXPECT_EQ(why.code(), ResultCode::NoDevice) << why.describe();
    EXPECT_THAT(log.Text(), HasSubstr("(error 5)"));

    t.openErrors["/dev/hidraw0"] = 1;  // EPERM
    t.interfaces.push_back(OurVendorCollection("/dev/hidraw1"));
    EXPECT_EQ(OpenHidDevice(dev, &pid, &why), 1);
    EXPECT_TRUE(why.ok()) << why.describe();
}

#ifndef _WIN32
// The system transport's own rule, not a fake's copy of it: a node the user may not open fails
// with EACCES or, under some security modules and for a device node on a nodev mount, EPERM.
TEST(SystemTransport, PermissionErrorsAreNoAccessAndOthersAreNot) {
    const auto transport = CreateSystemTransport();
    EXPECT_TRUE(transport->DeniesAccess(EACCES));
    EXPECT_TRUE(transport->DeniesAccess(EPERM));
    for (int other : {0, ENOENT, EIO, EBUSY, ENODEV, ENXIO}) {
        EXPECT_FALSE(transport->DeniesAccess(other)) << other;
    }
}
#endif

class HidCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        t.interfaces = {OurVendorCollection("/dev/hidraw0")};
        uint16_t pid = 0;
        ASSERT_EQ(OpenHidDevice(dev, &pid), 1);
    }
    FakeTransport t;
    HidDevice dev{t};
    testing::LogCapture log;
};

TEST_F(HidCommandTest, BuildsTheOutputReportAndCopiesReplyData) {
    t.answer = [](const auto&, size_t) { return Accepted({0x5A, 0x6B}); };
    const uint8_t payload[] = {0x34, 0x12};
    uint8_t reply[2] = {};
    ASSERT_TRUE(HidCommand(dev, 0x19, payload, 2, reply, 2));
    ASSERT_EQ(t.written.size(), 1u);
    testing::Report expected{};
    expected[0] = 0x03;
    expected[1] = 0x19;
    expected[2] = 0x34;
    expected[3] = 0x12;
    EXPECT_EQ(t.written[0], expected);
    EXPECT_EQ(reply[0], 0x5A);
    EXPECT_EQ(reply[1], 0x6B);
}

TEST_F(HidCommandTest, StatusOtherThan22FailsWithAllFfAndNoLogLine) {
    t.answer = [](const auto&, size_t) { return testing::WithStatus(0x21); };
    uint8_t reply[4] = {1, 2, 3, 4};
    EXPECT_FALSE(HidCommand(dev, 0x05, nullptr, 0, reply, 4));
    EXPECT_THAT(reply, ::testing::Each(0xFF));
    EXPECT_EQ(log.Text(), "");
}

TEST_F(HidCommandTest, TimeOutLogsRet258AndDiscardsTheLateReplyBeforeTheNextExchange) {
    t.answer = [](const auto&, size_t) { return testing::TimedOut(); };
    uint8_t reply[1] = {0};
    EXPECT_FALSE(HidCommand(dev, 0x06, nullptr, 0, reply, 1));
    EXPECT_EQ(reply[0], 0xFF);
    EXPECT_THAT(log.Text(), HasSubstr(") GetOverlappedResult_Tav failed! ret=258\n"));
    EXPECT_THAT(log.Text(), HasSubstr(") ReadHidDevice failed. Device communicates failed!\n"));
    EXPECT_EQ(t.discards, 0);
    t.answer = [](const auto&, size_t) { return Accepted({0x11}); };
    EXPECT_TRUE(HidCommand(dev, 0x06, nullptr, 0, reply, 1));
    EXPECT_EQ(reply[0], 0x11);
    EXPECT_EQ(t.discards, 1) << "what came late is dropped before the next request goes out";
    EXPECT_TRUE(HidCommand(dev, 0x06, nullptr, 0, reply, 1));
    EXPECT_EQ(t.discards, 1) << "after a good exchange nothing is left over to drop";
}

TEST_F(HidCommandTest, DeviceGoneLogs1167) {
    t.answer = [](const auto&, size_t) { return testing::Gone(); };
    EXPECT_FALSE(HidCommand(dev, 0x0E, nullptr, 0, nullptr, 0));
    EXPECT_THAT(
        log.Text(),
        HasSubstr(") GetOverlappedResult_Tav failed! \nret=1167 ERROR_DEVICE_NOT_CONNECTED!\n"));
}

TEST_F(HidCommandTest, NoOpenDeviceFailsAtOnceWithTheSystemCode) {
    CloseHidDevice(dev);
    EXPECT_FALSE(HidCommand(dev, 0x0E, nullptr, 0, nullptr, 0));
    EXPECT_THAT(log.Text(), HasSubstr(") GetOverlappedResult_Tav failed! ret=6 !\n"));
    EXPECT_THAT(log.Text(), HasSubstr(") WriteHidDevice failed. Device communicates failed!\n"));
    EXPECT_TRUE(t.written.empty());
}

TEST_F(HidCommandTest, PayloadThatDoesNotFitIsRefusedUnsent) {
    uint8_t big[63] = {};
    EXPECT_FALSE(HidCommand(dev, 0x04, big, 63, nullptr, 0));
    uint8_t reply[62];
    EXPECT_FALSE(HidCommand(dev, 0x05, nullptr, 0, reply, 62));
    EXPECT_TRUE(t.written.empty());
}

}  // namespace
}  // namespace tavlin
