// The recorder around the simulated device on a shared node: it sees what the link sees - the
// touch reports drained before a write and skipped during a read as well as the replies - and
// the device's comings and goings; and what it recorded plays back to the same replies.
#include <gtest/gtest.h>

#include <filesystem>
#include <future>

#include "device/DeviceProtocol.h"
#include "device/HidDevice.h"
#include "sim/SimReportDescriptor.h"
#include "sim/SimTransport.h"
#include "trace/RecordingTransport.h"
#include "trace/ReplayTransport.h"
#include "trace/TraceFormat.h"
#include "trace/TraceReader.h"
#include "trace/TraceWriter.h"

namespace tavlin {
namespace {

using Kind = TraceEvent::Kind;

std::vector<TraceEvent> Recorded(const std::string& path) {
    TraceProblem problem;
    auto events = ReadTrace(path, &problem);
    EXPECT_TRUE(events.has_value()) << problem.detail;
    return events.value_or(std::vector<TraceEvent>{});
}

size_t Count(const std::vector<TraceEvent>& events, Kind kind, uint8_t reportId) {
    return std::count_if(events.begin(), events.end(), [&](const TraceEvent& e) {
        return e.kind == kind && !e.bytes.empty() && e.bytes[0] == reportId;
    });
}

class RecordingTest : public ::testing::Test {
  protected:
    RecordingTest() {
        sim::SimTransport::Options options;
        options.sharedNode = true;
        options.reenumerationDelay = std::chrono::milliseconds(0);
        sim_ = std::make_unique<sim::SimTransport>(options);
        path_ = (std::filesystem::temp_directory_path() /
                 ("recording-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name())))
                    .string();
    }
    ~RecordingTest() override { std::filesystem::remove(path_); }

    // Three register reads through the link as the program makes them; their values.
    // `opened` runs once the node is open.
    static std::vector<uint8_t> ReadRegisters(HidTransport& transport,
                                              const std::function<void()>& opened = {}) {
        HidDevice device(transport);
        device.setTimeoutMs(500);
        uint16_t productId = 0;
        EXPECT_EQ(OpenHidDevice(device, &productId), 1);
        if (opened) {
            opened();
        }
        std::vector<uint8_t> values;
        for (uint16_t address = 0x0100; address < 0x0103; ++address) {
            uint8_t value = 0;
            EXPECT_TRUE(SingleRegisterRead(device, address, &value));
            values.push_back(value);
        }
        CloseHidDevice(device);
        return values;
    }

    std::unique_ptr<sim::SimTransport> sim_;
    std::string path_;
};

TEST_F(RecordingTest, StrayTouchesAreRecordedAndPlayBackToTheSameReplies) {
    for (uint16_t a = 0; a < 3; ++a) {
        sim_->firmware().setFpgaRegister(kMaster, 0x0100 + a, static_cast<uint8_t>(a * 7 + 1));
    }
    std::vector<uint8_t> live;
    {
        auto writer = TraceWriter::Create(path_, "test");
        RecordingTransport recording(*sim_, *writer);
        live = ReadRegisters(recording, [this] {
            sim_->QueueTouchReports(3);  // waiting on the node before the first write: drained
            sim_->StreamTouches(true);   // one before every reply: skipped by the read
        });
    }
    const auto events = Recorded(path_);
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[0].kind, Kind::Arrival);
    EXPECT_EQ(events[0].bytes, std::vector<uint8_t>(std::begin(sim::kSimReportDescriptor),
                                                    std::end(sim::kSimReportDescriptor)));
    EXPECT_EQ(Count(events, Kind::Out, kReportId), 3u);
    EXPECT_EQ(Count(events, Kind::In, kReportId), 3u);
    EXPECT_GE(Count(events, Kind::In, sim::kTouchReportId), 3u + 3u);
    // The queued touches were drained before the first report went out.
    const auto firstOut = std::find_if(events.begin(), events.end(),
                                       [](const TraceEvent& e) { return e.kind == Kind::Out; });
    EXPECT_GE(std::count_if(events.begin(), firstOut,
                            [](const TraceEvent& e) { return e.kind == Kind::In; }),
              3);

    ReplayTransport replay(events, false);
    EXPECT_EQ(live, (std::vector<uint8_t>{1, 8, 15}));
    EXPECT_EQ(ReadRegisters(replay), live);
}

TEST_F(RecordingTest, ARePlugIsRecordedAsTheProgramSawIt) {
    {
        auto writer = TraceWriter::Create(path_, "test");
        RecordingTransport recording(*sim_, *writer);
        ASSERT_EQ(recording.Enumerate().size(), 2u);  // both collections, one node
        sim_->Attach(kProductIdUpdate);               // re-plugged as a new instance
        recording.Enumerate();
        sim_->Detach();
        recording.Enumerate();
        recording.Enumerate();  // nothing changed: nothing recorded
    }
    const auto events = Recorded(path_);
    std::vector<std::pair<Kind, uint64_t>> seen;
    for (const TraceEvent& e : events) {
        seen.emplace_back(e.kind, e.look);
    }
    const std::vector<std::pair<Kind, uint64_t>> expected = {
        {Kind::Arrival, 1}, {Kind::Arrival, 1}, {Kind::Removal, 2},
        {Kind::Removal, 2}, {Kind::Arrival, 2}, {Kind::Arrival, 2},
        {Kind::Removal, 3}, {Kind::Removal, 3}, {Kind::End, 0}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(events[4].info.productId, kProductIdUpdate);
    EXPECT_NE(events[4].info.path, events[0].info.path);
}

// One interface whose read takes the reply and makes the device leave; the thread that took it is
// then held up (preempted) while the program's detection looks at the device list.
class LeavingTransport final : public HidTransport {
  public:
    std::function<void()> afterReply;  // runs inside the read, after the device has left
    bool present = true;

    std::vector<HidInterfaceInfo> Enumerate() override {
        if (!present) {
            return {};
        }
        return {{"leaving", kVendorId, kProductIdWork, kVendorUsagePage, kVendorUsage}};
    }
    std::unique_ptr<HidConnection> Open(const std::string&, int*) override {
        return std::make_unique<Connection>(*this);
    }
    std::optional<std::pair<uint16_t, uint16_t>> Attributes(HidConnection&) override {
        return std::nullopt;
    }

  private:
    class Connection final : public HidConnection {
      public:
        explicit Connection(LeavingTransport& t) : t_(t) {}
        IoResult Write(const uint8_t*, size_t) override { return IoResult::Ok(); }
        IoResult Read(uint8_t* report, size_t length, int) override {
            std::fill(report, report + length, 0x38);
            t_.present = false;
            t_.afterReply();
            return IoResult::Ok();
        }
        void DiscardPendingInput() override {}
        const std::string& Path() const override { return path_; }

      private:
        LeavingTransport& t_;
        std::string path_ = "leaving";
    };
};

TEST_F(RecordingTest, AReplyIsWrittenBeforeTheRemovalItCausedThoughItsThreadWasHeldUp) {
    {
        auto writer = TraceWriter::Create(path_, "test");
        LeavingTransport leaving;
        RecordingTransport recording(leaving, *writer);
        ASSERT_EQ(recording.Enumerate().size(), 1u);
        int error = 0;
        auto connection = recording.Open("leaving", &error);
        std::future<void> detection;
        leaving.afterReply = [&] {
            detection = std::async(std::launch::async, [&] { recording.Enumerate(); });
            detection.wait_for(std::chrono::milliseconds(100));  // the reading thread stalls
        };
        uint8_t reply[4] = {};
        ASSERT_TRUE(connection->Read(reply, sizeof reply, 100).ok());
        detection.wait();
    }
    std::vector<Kind> kinds;
    for (const TraceEvent& e : Recorded(path_)) {
        kinds.push_back(e.kind);
    }
    EXPECT_EQ(kinds, (std::vector<Kind>{Kind::Arrival, Kind::In, Kind::Removal, Kind::End}));
}

// The system's notices are recorded where they came, before the program heard of them, and
// only while the program listens.
TEST_F(RecordingTest, ANoticeIsRecordedWhereItCameBeforeTheProgramHearsOfIt) {
    std::vector<size_t> heardAfter;  // the events recorded when the program heard a notice
    {
        auto writer = TraceWriter::Create(path_, "test");
        RecordingTransport recording(*sim_, *writer);
        recording.Enumerate();
        {
            auto watch = recording.WatchPresence([&] { heardAfter.push_back(0); });
            ASSERT_NE(watch, nullptr);
            sim_->Detach();
            recording.Enumerate();
        }
        sim_->Attach(kProductIdWork);  // nobody listens: no notice
        recording.Enumerate();
    }
    std::vector<Kind> kinds;
    for (const TraceEvent& e : Recorded(path_)) {
        kinds.push_back(e.kind);
    }
    EXPECT_EQ(heardAfter.size(), 1u);
    EXPECT_EQ(kinds, (std::vector<Kind>{Kind::Arrival, Kind::Arrival, Kind::Notice, Kind::Removal,
                                        Kind::Removal, Kind::Arrival, Kind::Arrival, Kind::End}));
}

// A node this user may not open: the recording keeps the failed open, and the replay fails the
// same open the same way, so a station's "no access" replays as one.
class DeniedTransport final : public HidTransport {
  public:
    std::vector<HidInterfaceInfo> Enumerate() override {
        return {{"denied", kVendorId, kProductIdWork, kVendorUsagePage, kVendorUsage}};
    }
    std::unique_ptr<HidConnection> Open(const std::string&, int* error) override {
        *error = kDeniedError;
        return nullptr;
    }
    bool DeniesAccess(int error) const override { return error == kDeniedError; }
    std::string AccessRefusalNote() const override { return "another program holds it"; }
    std::optional<std::pair<uint16_t, uint16_t>> Attributes(HidConnection&) override {
        return std::nullopt;
    }
    static constexpr int kDeniedError = 13;
};

TEST_F(RecordingTest, AnOpenThatWasRefusedReplaysAsRefused) {
    const auto opened = [](HidTransport& transport) {
        HidDevice device(transport);
        uint16_t productId = 0;
        Result why;
        EXPECT_EQ(OpenHidDevice(device, &productId, &why), 0);
        return why.code();
    };
    {
        auto writer = TraceWriter::Create(path_, "test");
        DeniedTransport denied;
        RecordingTransport recording(denied, *writer);
        EXPECT_EQ(opened(recording), ResultCode::NoAccess);
        // The log's remedy is the recorded system's, not another system's.
        EXPECT_EQ(recording.AccessRefusalNote(), denied.AccessRefusalNote());
    }
    ReplayTransport replay(Recorded(path_), false);
    EXPECT_EQ(opened(replay), ResultCode::NoAccess);
}

}  // namespace
}  // namespace tavlin
