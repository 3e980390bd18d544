// The vendor collection's exchanges over a node shared with the touch collection: which input
// reports are ours, what is dropped before a write, and how interrupted or timed-out transfers
// are told apart from an unplugged device.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <deque>
#include <vector>

#include "device/HidDevice.h"
#include "device/LogCapture.h"
#include "device/ReportDescriptor.h"
#include "device/SharedNodeLink.h"
#include "sim/SimReportDescriptor.h"

namespace tavlin {
namespace {

using Clock = std::chrono::steady_clock;

// A node fed by the test: queued input reports, and scripted read and write failures.
class ScriptedNode : public RawReportNode {
  public:
    std::deque<std::vector<uint8_t>> queued;
    std::deque<int> readErrors;   // errno of the next failing reads, ahead of the queue
    std::deque<int> writeErrors;  // errno of the next failing writes
    bool endlessTouches = false;  // a finger that never lifts
    std::vector<std::vector<uint8_t>> written;
    // Queued as the device's answer whenever a report is written.
    std::vector<uint8_t> answer;

    int ReadRaw(uint8_t* report, size_t length, int, int* error) override {
        if (!readErrors.empty()) {
            *error = readErrors.front();
            readErrors.pop_front();
            return -1;
        }
        if (queued.empty() && endlessTouches) {
            queued.push_back(Report(0x01, 0x22));
        }
        if (queued.empty()) {
            return 0;
        }
        const std::vector<uint8_t> r = queued.front();
        queued.pop_front();
        const size_t n = std::min(length, r.size());
        std::copy(r.begin(), r.begin() + static_cast<long>(n), report);
        return static_cast<int>(n);
    }
    int WriteRaw(const uint8_t* report, size_t length, int* error) override {
        if (!writeErrors.empty()) {
            *error = writeErrors.front();
            writeErrors.pop_front();
            return -1;
        }
        written.emplace_back(report, report + length);
        if (!answer.empty()) {
            queued.push_back(answer);
        }
        return static_cast<int>(length);
    }

    static std::vector<uint8_t> Report(uint8_t id, uint8_t status, uint8_t value = 0) {
        std::vector<uint8_t> r(kReportSize, 0);
        r[0] = id;
        r[2] = status;
        r[3] = value;
        return r;
    }
};

InputReportFilter SimDeviceFilter() {
    return InputReportFilter::FromDescriptor(sim::kSimReportDescriptor,
                                             sizeof sim::kSimReportDescriptor);
}

const uint8_t kOut[kReportSize] = {kReportId, 0x10};

// --- which reports are ours ---

TEST(ReportDescriptorTest, TouchAndVendorCollectionsKeepOnlyTheVendorInputId) {
    const InputReportFilter f = SimDeviceFilter();
    EXPECT_TRUE(f.Accepts(0x03));
    EXPECT_FALSE(f.Accepts(0x01));
    EXPECT_FALSE(f.Accepts(0x00));
}

TEST(ReportDescriptorTest, TheVendorIdIsReadNotAssumed) {
    // The vendor collection's input report is 7 here, its output report 3; touch is 3.
    const uint8_t d[] = {0x05, 0x0D, 0x09, 0x04, 0xA1, 0x01, 0x85, 0x03, 0x09, 0x42, 0x75,
                         0x08, 0x95, 0x01, 0x81, 0x02, 0xC0, 0x06, 0x00, 0xFF, 0x09, 0x01,
                         0xA1, 0x01, 0x85, 0x07, 0x09, 0x01, 0x75, 0x08, 0x95, 0x3F, 0x81,
                         0x02, 0x85, 0x03, 0x09, 0x01, 0x95, 0x3F, 0x91, 0x02, 0xC0};
    const InputReportFilter f = InputReportFilter::FromDescriptor(d, sizeof d);
    EXPECT_TRUE(f.Accepts(0x07));
    EXPECT_FALSE(f.Accepts(0x03));
}

TEST(ReportDescriptorTest, AnExtendedUsageNamesTheVendorPageToo) {
    // Usage 0xFF000001 as one 4-byte local item, no usage page item before it.
    const uint8_t d[] = {0x0B, 0x01, 0x00, 0x00, 0xFF, 0xA1, 0x01, 0x85, 0x05,
                         0x09, 0x01, 0x75, 0x08, 0x95, 0x3F, 0x81, 0x02, 0xC0};
    const InputReportFilter f = InputReportFilter::FromDescriptor(d, sizeof d);
    EXPECT_TRUE(f.Accepts(0x05));
    EXPECT_FALSE(f.Accepts(0x03));
}

TEST(ReportDescriptorTest, NoReportIdsMeansOneCollectionAndNothingToSkip) {
    const uint8_t d[] = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75,
                         0x08, 0x95, 0x40, 0x81, 0x02, 0x91, 0x02, 0xC0};
    const InputReportFilter f = InputReportFilter::FromDescriptor(d, sizeof d);
    EXPECT_TRUE(f.acceptsAll());
}

TEST(ReportDescriptorTest, AnUnreadableOrVendorlessDescriptorFallsBackToOurOutputId) {
    const InputReportFilter none = InputReportFilter::FromDescriptor(nullptr, 0);
    EXPECT_TRUE(none.Accepts(0x03));
    EXPECT_FALSE(none.Accepts(0x01));
    // Report ids, but only a touch collection.
    const uint8_t touchOnly[] = {0x05, 0x0D, 0x09, 0x04, 0xA1, 0x01, 0x85, 0x01, 0x09,
                                 0x42, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0xC0};
    const InputReportFilter f = InputReportFilter::FromDescriptor(touchOnly, sizeof touchOnly);
    EXPECT_TRUE(f.Accepts(0x03));
    EXPECT_FALSE(f.Accepts(0x01));
}

TEST(ReportDescriptorTest, AnInputAfterTheVendorCollectionClosedIsNotOurs) {
    // Vendor collection (id 3) closes; a second top-level collection (id 9) follows.
    const uint8_t d[] = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x03, 0x81, 0x02, 0xC0,
                         0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x09, 0x81, 0x02, 0xC0};
    const InputReportFilter f = InputReportFilter::FromDescriptor(d, sizeof d);
    EXPECT_TRUE(f.Accepts(0x03));
    EXPECT_FALSE(f.Accepts(0x09));
}

// --- reading and writing over the shared node ---

TEST(SharedNodeLinkTest, TouchesQueuedWhileIdleAreDroppedBeforeTheWrite) {
    ScriptedNode node;
    for (int i = 0; i < 40; ++i) {
        node.queued.push_back(ScriptedNode::Report(0x01, 0x22, 0xAA));
    }
    node.queued.push_back(ScriptedNode::Report(0x03, 0x22, 0x99));  // a stale late reply
    node.answer = ScriptedNode::Report(0x03, 0x22, 0x10);
    SharedNodeLink link(node, SimDeviceFilter());
    uint8_t in[kReportSize];
    ASSERT_TRUE(link.Write(kOut, sizeof kOut).ok());
    ASSERT_TRUE(link.Read(in, sizeof in, 50).ok());
    EXPECT_EQ(in[3], 0x10) << "a report queued before the write was taken for the reply";
}

TEST(SharedNodeLinkTest, ForeignReportsBetweenWriteAndReplyAreSkipped) {
    ScriptedNode node;
    SharedNodeLink link(node, SimDeviceFilter());
    ASSERT_TRUE(link.Write(kOut, sizeof kOut).ok());
    node.queued.push_back(ScriptedNode::Report(0x01, 0x22, 0xAA));
    node.queued.push_back(ScriptedNode::Report(0x01, 0x22, 0xAB));
    node.queued.push_back(ScriptedNode::Report(0x03, 0x22, 0x20));
    uint8_t in[kReportSize];
    ASSERT_TRUE(link.Read(in, sizeof in, 50).ok());
    EXPECT_EQ(in[0], 0x03);
    EXPECT_EQ(in[3], 0x20);
}

TEST(SharedNodeLinkTest, EndlessTouchesEndTheReadAtItsBudget) {
    ScriptedNode node;
    node.endlessTouches = true;
    SharedNodeLink link(node, SimDeviceFilter());
    uint8_t in[kReportSize];
    const auto start = Clock::now();
    const IoResult r = link.Read(in, sizeof in, 60);
    const auto took = Clock::now() - start;
    EXPECT_EQ(r.status, IoStatus::Timeout);
    EXPECT_EQ(r.code, WAIT_TIMEOUT);
    EXPECT_GE(took, std::chrono::milliseconds(60));
    EXPECT_LT(took, std::chrono::milliseconds(600));
    EXPECT_NE(in[0], 0x01) << "a skipped touch was left in the caller's buffer";
}

TEST(SharedNodeLinkTest, AnInterruptedReadIsRetriedNotTakenForAnUnplug) {
    ScriptedNode node;
    node.readErrors = {EINTR, EINTR};
    node.queued.push_back(ScriptedNode::Report(0x03, 0x22, 0x30));
    SharedNodeLink link(node, SimDeviceFilter());
    uint8_t in[kReportSize];
    ASSERT_TRUE(link.Read(in, sizeof in, 50).ok());
    EXPECT_EQ(in[3], 0x30);
    EXPECT_FALSE(link.gone());
}

TEST(SharedNodeLinkTest, AHungUpNodeIsAGoneDeviceFromThenOn) {
    ScriptedNode node;
    node.readErrors = {0};
    SharedNodeLink link(node, SimDeviceFilter());
    uint8_t in[kReportSize];
    EXPECT_EQ(link.Read(in, sizeof in, 50).status, IoStatus::DeviceGone);
    EXPECT_TRUE(link.gone());
    EXPECT_EQ(link.Write(kOut, sizeof kOut).status, IoStatus::DeviceGone);
    EXPECT_TRUE(node.written.empty());
}

TEST(SharedNodeLinkTest, WriteFailuresKeepTheirMeaning) {
    ScriptedNode node;
    SharedNodeLink link(node, SimDeviceFilter());
    node.writeErrors = {EINTR};
    EXPECT_TRUE(link.Write(kOut, sizeof kOut).ok()) << "an interrupted write is tried again";
    EXPECT_EQ(node.written.size(), 1u);

    node.writeErrors = {ETIMEDOUT};
    const IoResult timedOut = link.Write(kOut, sizeof kOut);
    EXPECT_EQ(timedOut.status, IoStatus::Timeout);
    EXPECT_EQ(timedOut.code, WAIT_TIMEOUT);
    EXPECT_FALSE(link.gone());

    node.writeErrors = {EINVAL};
    EXPECT_EQ(link.Write(kOut, sizeof kOut).code, static_cast<uint32_t>(EINVAL));
    EXPECT_FALSE(link.gone());

    node.writeErrors = {ENODEV};
    EXPECT_EQ(link.Write(kOut, sizeof kOut).status, IoStatus::DeviceGone);
    EXPECT_TRUE(link.gone());
}

// The link under the device layer: a write the kernel timed out is logged as the time-out the
// log already knows, not as an unknown error code.
class NodeConnection : public HidConnection {
  public:
    explicit NodeConnection(RawReportNode& node) : link_(node, SimDeviceFilter()) {}
    IoResult Write(const uint8_t* r, size_t n) override { return link_.Write(r, n); }
    IoResult Read(uint8_t* r, size_t n, int ms) override { return link_.Read(r, n, ms); }
    void DiscardPendingInput() override { link_.Drain(); }
    const std::string& Path() const override { return path_; }

  private:
    SharedNodeLink link_;
    std::string path_ = "node";
};

class NoTransport : public HidTransport {
  public:
    std::vector<HidInterfaceInfo> Enumerate() override { return {}; }
    std::unique_ptr<HidConnection> Open(const std::string&, int*) override { return nullptr; }
    std::optional<std::pair<uint16_t, uint16_t>> Attributes(HidConnection&) override {
        return std::nullopt;
    }
};

TEST(SharedNodeLinkTest, AKernelWriteTimeoutIsLoggedAsRet258) {
    testing::LogCapture log;
    ScriptedNode node;
    node.writeErrors = {ETIMEDOUT};
    NoTransport transport;
    HidDevice device(transport);
    device.setHandle(std::make_shared<NodeConnection>(node));
    uint8_t reply[4];
    EXPECT_FALSE(HidCommand(device, 0x10, nullptr, 0, reply, sizeof reply));
    EXPECT_TRUE(log.Contains("GetOverlappedResult_Tav failed! ret=258\n")) << log.Text();
    EXPECT_FALSE(log.Contains("ret=110"));
}

}  // namespace
}  // namespace tavlin
