// The simulated bus: enumeration, presence events and update-control re-enumeration.
#include <atomic>
#include <thread>

#include "sim/SimDeviceFixture.h"

namespace tavlin::sim {
namespace {

using namespace std::chrono_literals;
using testing::SimDeviceTest;

TEST(SimBus, ListsTheDigitizerCollectionFirstAndForeignDevicesToo) {
    SimTransport t;
    t.AddForeignDevice({"sim:mouse", 0x046D, 0xC077, 0x0001, 0x0002});
    const auto list = t.Enumerate();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].usagePage, 0x0D);
    EXPECT_EQ(list[0].usage, 0x04);
    EXPECT_EQ(list[1].usagePage, kVendorUsagePage);
    EXPECT_EQ(list[1].productId, kProductIdWork);
    EXPECT_NE(list[0].path, list[1].path);

    // The mouse opens but takes no reports.
    int error = 0;
    auto mouse = t.Open("sim:mouse", &error);
    ASSERT_NE(mouse, nullptr);
    const uint8_t report[64] = {0x03};
    EXPECT_EQ(mouse->Write(report, 64).status, IoStatus::Error);
    EXPECT_EQ(t.Open("sim:nothing", &error), nullptr);
    EXPECT_NE(error, 0);
}

TEST(SimBus, PresenceListenersHearEveryChangeAndMayCallBack) {
    SimTransport t(SimTransport::Options{.attached = false});
    std::vector<std::pair<PresenceEvent::Kind, uint16_t>> heard;
    const int id = t.AddPresenceListener([&](const PresenceEvent& e) {
        heard.emplace_back(e.kind, e.productId);
        t.Enumerate();  // no lock is held while listeners run
    });
    t.Attach(kProductIdUpdate);
    t.AddForeignDevice({"sim:mouse", 0x046D, 0xC077, 1, 2});
    EXPECT_TRUE(t.RemoveForeignDevice("sim:mouse"));
    t.Detach();
    t.RemovePresenceListener(id);
    t.Attach();
    using K = PresenceEvent::Kind;
    const std::vector<std::pair<K, uint16_t>> want = {{K::Arrived, kProductIdUpdate},
                                                      {K::Arrived, 0xC077},
                                                      {K::Removed, 0xC077},
                                                      {K::Removed, kProductIdUpdate}};
    EXPECT_EQ(heard, want);
}

class Presence : public SimDeviceTest {};

TEST_F(Presence, AReplugIsANewDeviceAndOldConnectionsStayGone) {
    auto old = device.handle();
    transport.Detach();
    EXPECT_FALSE(transport.Attributes(*old));
    uint16_t pid = 0;
    EXPECT_EQ(OpenHidDevice(device, &pid), 0);
    transport.Attach(kProductIdWork2);
    EXPECT_FALSE(transport.Attributes(*old));
    const uint8_t report[64] = {0x03, 0x0E, 0x22};
    EXPECT_EQ(old->Write(report, 64).status, IoStatus::DeviceGone);
    EXPECT_EQ(OpenHidDevice(device, &pid), 1);
    EXPECT_EQ(pid, kProductIdWork2);
    EXPECT_EQ(OpenHidDevice(device, &pid), 2);
}

TEST_F(Presence, UpdateControlLeavesAndComesBackWithTheNewProductId) {
    transport.setReenumerationDelay(100ms);
    std::atomic<int> events{0};
    transport.AddPresenceListener([&](const PresenceEvent&) { ++events; });
    ASSERT_TRUE(UpdateControl(device, 0x42));  // the reply comes before the device leaves
    ASSERT_TRUE(transport.WaitForDetached(1s));
    uint16_t pid = 0;
    EXPECT_EQ(OpenHidDevice(device, &pid), 0);
    ASSERT_TRUE(transport.WaitForAttached(kProductIdUpdate, 1s));
    EXPECT_EQ(OpenHidDevice(device, &pid), 1);
    EXPECT_EQ(pid, kProductIdUpdate);
    for (int i = 0; i < 100 && events < 2; ++i) {
        std::this_thread::sleep_for(5ms);  // listeners run on the scheduler thread
    }
    EXPECT_EQ(events, 2);

    ASSERT_TRUE(UpdateControl(device, 0x55));
    ASSERT_TRUE(transport.WaitForAttached(kProductIdWork, 1s));
    EXPECT_FALSE(UpdateControl(device, 0x17));  // unknown codes are refused
}

TEST_F(Presence, UnplugWakesAReadThatIsWaiting) {
    transport.faults().NoReplyTo(cmd::kModeSwitch);
    device.setTimeoutMs(5000);
    std::thread unplug([&] {
        std::this_thread::sleep_for(50ms);
        transport.Detach();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(ModeSwitch(device, 0xFF));
    unplug.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
}

TEST(SimBus, DestructionWithAPendingReplugLeavesNoThreadBehind) {
    auto t = std::make_unique<SimTransport>();
    t->faults().UnplugAfter(0, Replug{kProductIdWork, 10s});
    HidDevice d(*t);
    uint16_t pid = 0;
    ASSERT_EQ(OpenHidDevice(d, &pid), 1);
    EXPECT_FALSE(ModeSwitch(d, 0xFF));
    d.setHandle(nullptr);
    const auto start = std::chrono::steady_clock::now();
    t.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s) << "waited for the pending re-plug";
}

}  // namespace
}  // namespace tavlin::sim
