// The Windows transport's enumeration and overlapped-transfer logic, against a stand-in for the
// Win32 HID calls. Built on every platform: the logic is plain C++.
#include <gtest/gtest.h>

#include "FakeWinHidApi.h"
#include "device/HidDevice.h"
#include "device/LogCapture.h"
#include "device/UsbPortPath.h"
#include "device/WinHidTransport.h"

namespace tavlin::testing {
namespace {

constexpr uint32_t kPending = 997;
constexpr uint32_t kTimedOut = 258;

FakeWinInterface Ours(std::string path, uint16_t usagePage, uint16_t pid = kProductIdWork) {
    FakeWinInterface i{std::move(path), kVendorId, pid, {}, 0};
    i.caps = {usagePage, static_cast<uint16_t>(usagePage == kVendorUsagePage ? kVendorUsage : 4),
              64, 64};
    return i;
}

FakeWinInterface Foreign(std::string path) {
    return {std::move(path), 0x046D, 0xC52B, {0x0001, 0x0002, 8, 0}, 0};
}

std::vector<uint8_t> AcceptedReply(std::vector<uint8_t> data) {
    std::vector<uint8_t> r(64, 0);
    r[0] = kReportId;
    r[2] = 0x22;
    std::copy(data.begin(), data.end(), r.begin() + 3);
    return r;
}

std::unique_ptr<WinHidTransport> TransportOver(FakeWinHidApi** fake) {
    auto api = std::make_unique<FakeWinHidApi>();
    *fake = api.get();
    return std::make_unique<WinHidTransport>(std::move(api));
}

class WinHidTest : public ::testing::Test {
  protected:
    // Opens the device through the link, as a detection does.
    int Detect(uint16_t* pid) { return OpenHidDevice(device, pid); }

    FakeWinHidApi* fake = nullptr;
    std::unique_ptr<WinHidTransport> transport = TransportOver(&fake);
    HidDevice device{*transport};
};

// Enumeration

TEST_F(WinHidTest, OtherVendorsOnlyMeansNoDeviceAndEveryHandleClosed) {
    fake->interfaces = {Foreign("\\\\?\\hid#mouse"), Foreign("\\\\?\\hid#keyboard")};
    uint16_t pid = 0;
    EXPECT_EQ(Detect(&pid), 0);
    EXPECT_EQ(fake->openHandles(), 0);
    EXPECT_EQ(fake->capabilityQueries, 0);  // foreign devices' collections are not examined
}

TEST_F(WinHidTest, TouchCollectionIsSkippedAndTheVendorCollectionOpenedForTransfers) {
    fake->interfaces = {Foreign("mouse"), Ours("touch", 0x000D), Ours("vendor", kVendorUsagePage),
                        Foreign("keyboard")};
    uint16_t pid = 0;
    ASSERT_EQ(Detect(&pid), 1);
    EXPECT_EQ(pid, kProductIdWork);
    EXPECT_EQ(device.handle()->Path(), "vendor");
    EXPECT_EQ(fake->transferHandlesOpened(), 1);
    EXPECT_EQ(fake->openHandles(), 1);  // only the link's own handle stays open
}

TEST_F(WinHidTest, InterfaceThatCannotBeOpenedIsPassedOver) {
    FakeWinInterface locked = Foreign("locked");
    locked.openError = 5;  // access denied
    fake->interfaces = {locked, Ours("vendor", kVendorUsagePage, kProductIdUpdate)};
    uint16_t pid = 0;
    ASSERT_EQ(Detect(&pid), 1);
    EXPECT_EQ(pid, kProductIdUpdate);
}

// A vendor collection whose read/write open is refused is not "no device": access denied is
// this user's rights, a sharing violation another program that holds it. Both are told as the
// no-access case, with the Windows remedy in the log; any other code is no device to talk to.
TEST_F(WinHidTest, AccessDeniedAndSharingViolationAreNoAccessNotNoDevice) {
    const struct {
        uint32_t code;
        ResultCode expected;
    } cases[] = {{5, ResultCode::NoAccess},    // ERROR_ACCESS_DENIED
                 {32, ResultCode::NoAccess},   // ERROR_SHARING_VIOLATION
                 {31, ResultCode::NoDevice}};  // ERROR_GEN_FAILURE
    for (const auto& c : cases) {
        LogCapture log;
        FakeWinInterface vendor = Ours("vendor", kVendorUsagePage);
        vendor.transferOpenError = c.code;
        fake->interfaces = {Ours("touch", 0x000D), vendor};
        uint16_t pid = 0;
        Result why;
        EXPECT_EQ(OpenHidDevice(device, &pid, &why), 0);
        EXPECT_EQ(why.code(), c.expected) << c.code << ": " << why.describe();
        const bool refused = c.expected == ResultCode::NoAccess;
        EXPECT_EQ(log.Contains("(error " + std::to_string(c.code) +
                               ", refused: another program "
                               "holds it, or this user has no right to open it)"),
                  refused)
            << log.Text();
        EXPECT_FALSE(log.Contains("udev")) << log.Text();
        EXPECT_EQ(fake->openHandles(), 0);
    }
}

TEST_F(WinHidTest, SecondDetectionWithTheDeviceThereReturns2AndOpensNothing) {
    fake->interfaces = {Ours("vendor", kVendorUsagePage)};
    uint16_t pid = 0;
    ASSERT_EQ(Detect(&pid), 1);
    auto first = device.handle();
    EXPECT_EQ(Detect(&pid), 2);
    EXPECT_EQ(device.handle(), first);
    EXPECT_EQ(fake->transferHandlesOpened(), 1);
}

TEST_F(WinHidTest, PulledDeviceHasNoAttributesSoTheNextDetectionFindsItGone) {
    fake->interfaces = {Ours("vendor", kVendorUsagePage)};
    uint16_t pid = 0;
    ASSERT_EQ(Detect(&pid), 1);
    fake->gone.insert("vendor");
    fake->interfaces.clear();
    EXPECT_EQ(Detect(&pid), 0);
    EXPECT_FALSE(device.isOpen());
    EXPECT_EQ(fake->openHandles(), 0);
}

// Ports

TEST(UsbPortPath, FromALocationPath) {
    const struct {
        const char* locationPath;
        const char* port;
    } cases[] = {
        {"PCIROOT(0)#PCI(1400)#USBROOT(0)#USB(4)#USB(2)#USBMI(0)", "1400-4.2"},  // composite
        {"PCIROOT(0)#PCI(1400)#USBROOT(0)#USB(4)#USB(2)", "1400-4.2"},  // its device, or 0x0042
        {"PCIROOT(0)#PCI(1400)#USBROOT(0)#USB(4)#USB(2)#USBMI(1)#X(3)", "1400-4.2"},
        {"PCIROOT(0)#PCI(1400)#USBROOT(0)#USB(11)", "1400-11"},  // on the root hub
        {"PCIROOT(0)#PCI(1C04)#PCI(0000)#USBROOT(0)#USB(1)#USB(3)#USB(2)", "1C04.0000-1.3.2"},
        {"ACPI(_SB_)#ACPI(USB0)#USBROOT(0)#USB(1)", "_SB_.USB0-1"},      // a controller off PCI
        {"ACPI(_SB_)#ACPI(PCI0)#ACPI(XHC_)#ACPI(RHUB)#ACPI(HS04)", ""},  // names no hub ports
        {"PCIROOT(0)#PCI(1F02)", ""},                                    // not USB
        {"PCIROOT(0)#PCI(1400)#USBROOT(0)", ""},                         // the root hub itself
        {"USBROOT(0)#USB(4)", ""},                                       // no controller
        {"", ""},
        {"PCIROOT(0)#PCI(1400)#USBROOT(0)#USB(4", ""},
        {"PCIROOT(0)##USBROOT(0)#USB(4)", ""},
        {"PCIROOT(0)#PCI(14/0)#USBROOT(0)#USB(4)", ""},
        {"PCIROOT(0)#PCI(1400)#USBROOT(0)#USB(x)", ""},
        {"PCIROOT(0)#PCI(1400)#USBROOT(0)#USB((4))", ""},
        {"PCIROOT(0)#PCI(1400)#USBROOT(0)#USB(4) ", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PortFromLocationPath(c.locationPath), c.port) << c.locationPath;
    }
}

TEST(UsbPortPath, TheFirstLocationPathThatNamesAPortCounts) {
    EXPECT_EQ(PortFromLocationPaths({"ACPI(_SB_)#ACPI(PCI0)#ACPI(XHC_)#ACPI(RHUB)#ACPI(HS04)",
                                     "PCIROOT(0)#PCI(1400)#USBROOT(0)#USB(4)#USBMI(0)",
                                     "PCIROOT(0)#PCI(0D00)#USBROOT(0)#USB(1)"}),
              "1400-4");
    EXPECT_EQ(PortFromLocationPaths({}), "");
}

TEST_F(WinHidTest, EnumerationGivesTheSamePortInTheApplicationAndInTheUpdateEnvironment) {
    const std::string acpi = "ACPI(_SB_)#ACPI(PCI0)#ACPI(XHC_)#ACPI(RHUB)#ACPI(HS04)";
    FakeWinInterface working = Ours("vendor", kVendorUsagePage, kProductIdWork);
    working.locationPaths = {acpi, "PCIROOT(0)#PCI(1400)#USBROOT(0)#USB(4)#USB(2)#USBMI(1)"};
    FakeWinInterface unplaced = Ours("other", kVendorUsagePage, kProductIdWork2);
    FakeWinInterface mouse = Foreign("mouse");
    mouse.locationPaths = {"PCIROOT(0)#PCI(1400)#USBROOT(0)#USB(1)"};
    fake->interfaces = {mouse, working, unplaced};
    const std::vector<HidInterfaceInfo> before = transport->Enumerate();
    ASSERT_EQ(before.size(), 3u);
    EXPECT_EQ(before[1].port, "1400-4.2");
    EXPECT_EQ(before[2].port, "") << "no location path: no port made up";
    EXPECT_EQ(before[0].port, "") << "other vendors' devices are not asked";
    EXPECT_EQ(fake->locationQueries, 2);

    FakeWinInterface updating = Ours("update", kVendorUsagePage, kProductIdUpdate);
    updating.locationPaths = {acpi, "PCIROOT(0)#PCI(1400)#USBROOT(0)#USB(4)#USB(2)"};
    fake->interfaces = {updating};
    const std::vector<HidInterfaceInfo> after = transport->Enumerate();
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0].productId, kProductIdUpdate);
    EXPECT_EQ(after[0].port, before[1].port);
}

// Transfers

class WinHidTransferTest : public WinHidTest {
  protected:
    void SetUp() override {
        fake->interfaces = {Ours("vendor", kVendorUsagePage)};
        // A failed transfer on a listed device is an error at once, unless a test says so.
        transport->setRemovalGraceMs(0);
        uint16_t pid = 0;
        ASSERT_EQ(Detect(&pid), 1);
        device.setTimeoutMs(150);
    }
    LogCapture log;
};

TEST_F(WinHidTransferTest, ExchangeWritesTheReportAndCopiesTheReplyData) {
    fake->script = {{kPending, 0, 0, {}}, {kPending, 0, 0, AcceptedReply({0xAB, 0xCD})}};
    const uint8_t payload[] = {0x10, 0x00};
    uint8_t reply[2] = {};
    ASSERT_TRUE(HidCommand(device, 0x21, payload, 2, reply, 2));
    ASSERT_EQ(fake->writes.size(), 1u);
    std::vector<uint8_t> expected(64, 0);
    expected[0] = 0x03;
    expected[1] = 0x21;
    expected[2] = 0x10;
    EXPECT_EQ(fake->writes[0], expected);
    EXPECT_EQ(reply[0], 0xAB);
    EXPECT_EQ(reply[1], 0xCD);
    EXPECT_EQ(fake->waits, (std::vector<uint32_t>{2000, 150}));  // write: product constant
}

TEST_F(WinHidTransferTest, ReportsFollowTheCollectionsReportLengths) {
    fake->interfaces[0].caps.outputReportLength = 65;
    fake->interfaces[0].caps.inputReportLength = 65;
    uint16_t pid = 0;
    device.setHandle(nullptr);
    ASSERT_EQ(Detect(&pid), 1);
    fake->script = {{0, 0, 0, {}}, {0, 0, 0, AcceptedReply({})}};
    ASSERT_TRUE(HidCommand(device, 0x30, nullptr, 0, nullptr, 0));
    ASSERT_EQ(fake->writes[0].size(), 65u);
    EXPECT_EQ(fake->writes[0][64], 0);
    EXPECT_EQ(fake->readLengths.back(), 65u);
}

TEST_F(WinHidTransferTest, TimedOutReadIsCancelledAndReapedBeforeTheCallReturns) {
    fake->script = {{0, 0, 0, {}}, {kPending, kTimedOut, 0, {}}};
    uint8_t reply[4] = {};
    EXPECT_FALSE(HidCommand(device, 0x21, nullptr, 0, reply, 4));
    EXPECT_EQ(fake->cancels, 1);
    EXPECT_EQ(fake->unreapedTransfers(), 0);
    EXPECT_TRUE(log.Contains("GetOverlappedResult_Tav failed! ret=258\n"));
    EXPECT_TRUE(log.Contains("ReadHidDevice failed. Device communicates failed!\n"));
    EXPECT_EQ(reply[0], 0xFF);
    // The late reply of the timed-out read is dropped before the next exchange writes.
    fake->script = {{0, 0, 0, {}}, {0, 0, 0, AcceptedReply({})}};
    EXPECT_TRUE(HidCommand(device, 0x21, nullptr, 0, nullptr, 0));
    EXPECT_EQ(fake->flushes, 1);
    EXPECT_EQ(fake->unreapedTransfers(), 0);
}

TEST_F(WinHidTransferTest, TimedOutWriteIsCancelledToo) {
    fake->script = {{kPending, kTimedOut, 0, {}}};
    EXPECT_FALSE(HidCommand(device, 0x21, nullptr, 0, nullptr, 0));
    EXPECT_EQ(fake->cancels, 1);
    EXPECT_EQ(fake->readLengths.size(), 0u);  // no read after a failed write
    EXPECT_TRUE(log.Contains("WriteHidDevice failed. Device communicates failed!\n"));
}

TEST_F(WinHidTransferTest, TransferEndedByAPulledDeviceIsAFailureNotASuccess) {
    // The event is signalled, but the transfer ended with ERROR_DEVICE_NOT_CONNECTED.
    fake->script = {{0, 0, 0, {}}, {kPending, 0, kErrorDeviceNotConnected, {}}};
    uint8_t reply[2] = {};
    EXPECT_FALSE(HidCommand(device, 0x21, nullptr, 0, reply, 2));
    EXPECT_TRUE(
        log.Contains("GetOverlappedResult_Tav failed! \nret=1167 ERROR_DEVICE_NOT_CONNECTED!\n"));
    EXPECT_EQ(reply[0], 0xFF);
}

// A pulled device fails its transfers with a code that depends on the driver (Wine: 5, real
// drivers 5 or 1167). Whether the device is still listed decides; the listing may lag a little.
TEST_F(WinHidTransferTest, ATransferFailingOnAnUnlistedDeviceIsGoneWhateverTheCode) {
    transport->setRemovalGraceMs(2000);
    uint16_t pid = 0;
    device.setHandle(nullptr);
    ASSERT_EQ(Detect(&pid), 1);
    fake->interfaces[0].listedFor = 2;  // still listed twice after the failure
    fake->script = {{0, 0, 0, {}}, {kPending, 0, 5, {}}};
    uint8_t reply[2] = {};
    const Result result = HidCommand(device, 0x21, nullptr, 0, reply, 2);
    EXPECT_EQ(result.code(), ResultCode::DeviceGone) << result.describe();
    EXPECT_TRUE(
        log.Contains("GetOverlappedResult_Tav failed! \nret=1167 ERROR_DEVICE_NOT_CONNECTED!\n"));
    EXPECT_FALSE(log.Contains("ret=5 "));
    // Gone for good: the next transfer starts nothing, and the detection finds it gone.
    const size_t writes = fake->writes.size();
    EXPECT_EQ(HidCommand(device, 0x21, nullptr, 0, nullptr, 0).code(), ResultCode::DeviceGone);
    EXPECT_EQ(fake->writes.size(), writes);
    EXPECT_EQ(Detect(&pid), 0);
}

// The same code on a device that stays listed is an error of that device, with its code.
TEST_F(WinHidTransferTest, ATransferFailingOnAListedDeviceIsAnErrorWithItsCode) {
    fake->script = {{5, 0, 0, {}}};
    const Result result = HidCommand(device, 0x21, nullptr, 0, nullptr, 0);
    EXPECT_EQ(result.code(), ResultCode::IoError) << result.describe();
    EXPECT_TRUE(log.Contains("GetOverlappedResult_Tav failed! ret=5 !\n"));
}

// A completed write is whole at the report's length, or one byte less (Wine counts a report
// without its id); any other count is a report the device did not get, whether the write
// completed at once or after waiting.
TEST_F(WinHidTransferTest, AWriteCountsWhenItsByteCountIsTheReportsLengthOrOneLess) {
    struct Case {
        uint32_t start;
        int64_t bytes;
        bool written;
    };
    for (const Case& c : {Case{kPending, 64, true}, Case{0, 64, true}, Case{kPending, 63, true},
                          Case{0, 63, true}, Case{kPending, 62, false}, Case{0, 0, false},
                          Case{kPending, 0, false}, Case{0, 65, false}}) {
        SCOPED_TRACE(::testing::Message() << "start " << c.start << ", " << c.bytes << " bytes");
        fake->script = {{c.start, 0, 0, {}, c.bytes}, {0, 0, 0, AcceptedReply({7})}};
        uint8_t reply[1] = {};
        const Result result = HidCommand(device, 0x21, nullptr, 0, reply, 1);
        EXPECT_EQ(result.ok(), c.written) << result.describe();
        if (!c.written) {
            EXPECT_EQ(result.code(), ResultCode::IoError);
            EXPECT_NE(result.describe().find("wrote " + std::to_string(c.bytes) + " of 64 bytes"),
                      std::string::npos)
                << result.describe();
            EXPECT_EQ(fake->script.size(), 1u) << "no read after a write that was not whole";
        }
    }
    EXPECT_TRUE(log.Contains("WriteFile wrote 62 of 64 bytes\n"));
    EXPECT_TRUE(log.Contains("GetOverlappedResult_Tav failed! ret=29 !\n"));  // ERROR_WRITE_FAULT
}

// Where the system merges a device's collections into one interface (Wine 8), the touch
// reports arrive on the vendor handle: a read passes them over within its one time budget.
TEST_F(WinHidTransferTest, OtherCollectionsReportsOnTheHandleAreNotTakenForTheReply) {
    fake->interfaces[0].caps.vendorInputReportIds = {kReportId};
    uint16_t pid = 0;
    device.setHandle(nullptr);
    ASSERT_EQ(Detect(&pid), 1);
    const std::vector<uint8_t> touch = {0x01, 0x01, 0x22, 0x99};
    fake->script = {
        {0, 0, 0, {}}, {0, 0, 0, touch}, {kPending, 0, 0, touch}, {0, 0, 0, AcceptedReply({0x42})}};
    uint8_t reply[1] = {};
    ASSERT_TRUE(HidCommand(device, 0x21, nullptr, 0, reply, 1));
    EXPECT_EQ(reply[0], 0x42);
    EXPECT_EQ(fake->readLengths.size(), 3u);
    // Only touches: the read times out as with no reply at all.
    fake->script = {{0, 0, 0, {}}, {kPending, 0, 0, touch}, {kPending, kTimedOut, 0, {}}};
    EXPECT_EQ(HidCommand(device, 0x21, nullptr, 0, reply, 1).code(), ResultCode::Timeout);
    EXPECT_EQ(fake->unreapedTransfers(), 0);
}

TEST_F(WinHidTransferTest, WriteRefusedAtOnceLogsTheSystemCode) {
    fake->script = {{kErrorDeviceNotConnected, 0, 0, {}}};
    EXPECT_FALSE(HidCommand(device, 0x21, nullptr, 0, nullptr, 0));
    uint16_t pid = 0;
    ASSERT_EQ(Detect(&pid), 1);       // gone: the listed device is opened anew
    fake->script = {{31, 0, 0, {}}};  // ERROR_GEN_FAILURE
    EXPECT_FALSE(HidCommand(device, 0x21, nullptr, 0, nullptr, 0));
    EXPECT_TRUE(
        log.Contains("GetOverlappedResult_Tav failed! \nret=1167 ERROR_DEVICE_NOT_CONNECTED!\n"));
    EXPECT_TRUE(log.Contains("GetOverlappedResult_Tav failed! ret=31 !\n"));
    EXPECT_EQ(fake->cancels, 0);  // nothing was pending
}

TEST_F(WinHidTransferTest, FailedWaitCancelsAndReportsTheSystemCode) {
    fake->script = {{0, 0, 0, {}}, {kPending, 0xFFFFFFFFu, 0, {}}};
    EXPECT_FALSE(HidCommand(device, 0x21, nullptr, 0, nullptr, 0));
    EXPECT_EQ(fake->cancels, 1);
    EXPECT_EQ(fake->unreapedTransfers(), 0);
    EXPECT_TRUE(log.Contains("GetOverlappedResult_Tav failed! ret=6 !\n"));
}

TEST_F(WinHidTransferTest, ClosingTheLinkClosesTheHandle) {
    CloseHidDevice(device);
    EXPECT_EQ(fake->openHandles(), 0);
}

}  // namespace
}  // namespace tavlin::testing
