// A recorded session in the device's place: the first output report that differs fails with
// its number and both reports, a recording that runs out leaves a silent device (time-outs, no
// hang), arrivals and removals happen again in their order, and the recorded pace is kept
// when asked for.
#include <gtest/gtest.h>

#include <fstream>

#include <filesystem>

#include <atomic>
#include <condition_variable>
#include <future>
#include <mutex>
#include <thread>

#include "device/HidDevice.h"
#include "sim/SimReportDescriptor.h"
#include "trace/ReplayTransport.h"
#include "trace/TraceFormat.h"
#include "trace/TraceReader.h"

namespace tavlin {
namespace {

using Kind = TraceEvent::Kind;
using Clock = std::chrono::steady_clock;

const char* const kNode = "/dev/hidraw7";

std::vector<uint8_t> Command(uint8_t command, uint8_t payload = 0) {
    std::vector<uint8_t> report(kReportSize, 0);
    report[0] = kReportId;
    report[1] = command;
    report[2] = payload;
    return report;
}

std::vector<uint8_t> Reply(uint8_t command, uint8_t value) {
    std::vector<uint8_t> report(kReportSize, 0);
    report[0] = kReportId;
    report[1] = command;
    report[2] = 0x22;  // accepted
    report[3] = value;
    return report;
}

TraceEvent Event(Kind kind, uint64_t us, std::vector<uint8_t> bytes = {}) {
    TraceEvent event;
    event.kind = kind;
    event.us = us;
    event.bytes = std::move(bytes);
    return event;
}

TraceEvent Arrival(const std::string& path, uint16_t productId, uint64_t look, uint64_t us = 0) {
    TraceEvent event =
        Event(Kind::Arrival, us,
              {std::begin(sim::kSimReportDescriptor), std::end(sim::kSimReportDescriptor)});
    event.info = {path, kVendorId, productId, kVendorUsagePage, kVendorUsage};
    event.look = look;
    return event;
}

// One exchange as the program makes it; the reply's first data byte, or the failure.
Result Exchange(HidDevice& device, uint8_t command, uint8_t payload, uint8_t* value) {
    uint8_t reply[1] = {0};
    Result result = HidCommand(device, command, &payload, 1, reply, 1);
    *value = reply[0];
    return result;
}

class ReplayTest : public ::testing::Test {
  protected:
    void Start(std::vector<TraceEvent> events, bool recordedPace = false) {
        replay_ = std::make_unique<ReplayTransport>(std::move(events), recordedPace);
        device_ = std::make_unique<HidDevice>(*replay_);
        device_->setTimeoutMs(100);
        uint16_t productId = 0;
        ASSERT_EQ(OpenHidDevice(*device_, &productId), 1);
    }

    std::unique_ptr<ReplayTransport> replay_;
    std::unique_ptr<HidDevice> device_;
};

TEST_F(ReplayTest, TheFirstOutputReportThatDiffersFailsWithItsNumberAndBothReports) {
    Start({Arrival(kNode, kProductIdWork, 1), Event(Kind::Out, 10, Command(0x06, 1)),
           Event(Kind::In, 11, Reply(0x06, 0x41)), Event(Kind::Out, 20, Command(0x06, 2)),
           Event(Kind::In, 21, Reply(0x06, 0x42))});
    uint8_t value = 0;
    ASSERT_TRUE(Exchange(*device_, 0x06, 1, &value));
    EXPECT_EQ(value, 0x41);

    const Result differs = Exchange(*device_, 0x06, 3, &value);
    EXPECT_EQ(differs.code(), ResultCode::IoError);
    EXPECT_NE(differs.reason().find("output report 2 "), std::string::npos) << differs.reason();
    EXPECT_NE(differs.reason().find("sent " + HexBytes(Command(0x06, 3))), std::string::npos)
        << differs.reason();
    EXPECT_NE(differs.reason().find("recorded " + HexBytes(Command(0x06, 2))), std::string::npos)
        << differs.reason();
    // The session has gone another way: even the recorded report is no longer taken.
    const Result after = Exchange(*device_, 0x06, 2, &value);
    EXPECT_FALSE(after);
    EXPECT_EQ(after.reason(), differs.reason());
}

// Every byte of a report counts, the last one as much as the first.
TEST(ReplayMatch, AReportThatDiffersInAnyOneByteIsNotTheRecordedOne) {
    const std::vector<uint8_t> recorded = Command(0x06, 1);
    ASSERT_EQ(recorded.size(), 64u);
    for (size_t at : {size_t{0}, size_t{1}, size_t{2}, size_t{32}, size_t{62}, size_t{63}}) {
        ReplayTransport replay({Arrival(kNode, kProductIdWork, 1), Event(Kind::Out, 10, recorded)},
                               false);
        int error = 0;
        auto node = replay.Open(kNode, &error);
        ASSERT_NE(node, nullptr);
        std::vector<uint8_t> sent = recorded;
        sent[at] ^= 0x01;
        EXPECT_FALSE(node->Write(sent.data(), sent.size()).ok()) << "byte " << at;
    }
    ReplayTransport replay({Arrival(kNode, kProductIdWork, 1), Event(Kind::Out, 10, recorded)},
                           false);
    int error = 0;
    auto node = replay.Open(kNode, &error);
    ASSERT_NE(node, nullptr);
    EXPECT_TRUE(node->Write(recorded.data(), recorded.size()).ok());
}

// A recording read from its file is held a few events at a time, however long it is.
TEST(ReplayCursorTest, AReplayFromAFileHoldsOnlyAFewEventsAtATime) {
    const std::string path =
        (std::filesystem::temp_directory_path() /
         ("replay-cursor-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed())))
            .string();
    constexpr int kExchanges = 2000;
    {
        std::ofstream out(path);
        out << TraceHeaderLine("test") << "\n"
            << TraceEventLine(Arrival(kNode, kProductIdWork, 1)) << "\n";
        for (int i = 0; i < kExchanges; ++i) {
            out << TraceEventLine(Event(Kind::Out, 10 * i, Command(0x06, uint8_t(i)))) << "\n"
                << TraceEventLine(Event(Kind::In, 10 * i + 5, Reply(0x06, uint8_t(i)))) << "\n";
        }
    }
    TraceProblem problem;
    ReplayTransport replay(TraceReader::Open(path, &problem), false);
    int error = 0;
    auto node = replay.Open(kNode, &error);
    ASSERT_NE(node, nullptr);
    size_t mostHeld = 0;
    for (int i = 0; i < kExchanges; ++i) {
        const std::vector<uint8_t> out = Command(0x06, uint8_t(i));
        uint8_t reply[kReportSize];
        ASSERT_TRUE(node->Write(out.data(), out.size()).ok()) << i;
        ASSERT_TRUE(node->Read(reply, sizeof reply, 100).ok()) << i;
        EXPECT_EQ(reply[3], uint8_t(i));
        mostHeld = std::max(mostHeld, replay.EventsHeld());
    }
    EXPECT_LE(mostHeld, 4u);
    std::filesystem::remove(path);
}

// Past the end of a whole recording the device is as silent as it was when recorded; a
// recording cut short (no end line, or one that says so) runs out at once, with its line.
TEST_F(ReplayTest, PastItsEndAWholeRecordingIsSilentAndOneCutShortRunsOutAtOnce) {
    TraceEvent whole = Event(Kind::End, 12);
    TraceEvent cut = whole;
    cut.complete = false;
    cut.reason = "the run ended on an unexpected error";
    struct Case {
        const char* name;
        std::vector<TraceEvent> end;
        int ranOutLine;  // 0: silent
    };
    const Case cases[] = {
        {"whole", {whole}, 0},
        {"no end line", {}, 5},
        {"end line of a cut", {cut}, 5},
        // The report went out, and the recording ends before its reply: the wait for it runs out.
        {"cut after a report", {Event(Kind::Out, 20, Command(0x06, 1))}, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<TraceEvent> events = {Arrival(kNode, kProductIdWork, 1),
                                          Event(Kind::Out, 10, Command(0x06, 1)),
                                          Event(Kind::In, 11, Reply(0x06, 0x41))};
        events.insert(events.end(), c.end.begin(), c.end.end());
        Start(events);
        device_->setTimeoutMs(1000);
        std::atomic<int> told{0};
        std::atomic<int> toldLine{0};
        replay_->OnRanOut([&](int line) {
            ++told;
            toldLine = line;
        });
        uint8_t value = 0;
        ASSERT_TRUE(Exchange(*device_, 0x06, 1, &value));
        EXPECT_EQ(replay_->RanOutLine(), 0);
        const auto start = Clock::now();
        auto later = std::async(std::launch::async, [&] {
            uint8_t ignored = 0;
            return Exchange(*device_, 0x06, 1, &ignored);
        });
        ASSERT_EQ(later.wait_for(std::chrono::seconds(10)), std::future_status::ready)
            << "the replay hangs where a silent device times out";
        const Result result = later.get();
        const auto took = Clock::now() - start;
        EXPECT_EQ(replay_->RanOutLine(), c.ranOutLine);
        EXPECT_EQ(told, c.ranOutLine == 0 ? 0 : 1);
        EXPECT_EQ(toldLine, c.ranOutLine);
        if (c.ranOutLine == 0) {
            EXPECT_EQ(result.code(), ResultCode::Timeout);
            EXPECT_GE(took, std::chrono::milliseconds(900)) << "a silent device answers nothing";
        } else {
            EXPECT_EQ(result.code(), ResultCode::IoError);
            EXPECT_NE(result.reason().find("the recording ran out at line " +
                                           std::to_string(c.ranOutLine)),
                      std::string::npos)
                << result.reason();
            EXPECT_LT(took, std::chrono::milliseconds(500)) << "a run-out recording waits";
        }
        device_.reset();
        replay_.reset();
    }
}

// The port the recorded run chose comes before its first look; a recording that chose none
// names none.
TEST_F(ReplayTest, TheRecordedRunsPortIsKnownBeforeTheProgramLooks) {
    TraceEvent port = Event(Kind::Port, 0);
    port.info.port = "sim-2";
    for (const bool chosen : {true, false}) {
        std::vector<TraceEvent> events = {Arrival(kNode, kProductIdWork, 1)};
        if (chosen) {
            events.insert(events.begin(), port);
        }
        ReplayTransport replay(events, false);
        EXPECT_EQ(replay.RecordedPort(), chosen ? "sim-2" : "") << chosen;
        EXPECT_EQ(replay.OutputsLeft(), 0u);
    }
}

TEST_F(ReplayTest, ArrivalsAndRemovalsHappenAgainInTheirOrder) {
    std::mutex mutex;
    std::condition_variable told;
    int notices = 0;
    const std::string updateNode = "/dev/hidraw8";
    TraceEvent removal = Event(Kind::Removal, 12);
    removal.info.path = kNode;
    removal.look = 2;
    Start({Arrival(kNode, kProductIdWork, 1), Event(Kind::Out, 10, Command(0x38, 0x42)),
           Event(Kind::In, 11, Reply(0x38, 0)), Event(Kind::Notice, 12), removal,
           Event(Kind::Notice, 13), Arrival(updateNode, kProductIdUpdate, 3, 13)});
    auto watch = replay_->WatchPresence([&] {
        std::lock_guard lock(mutex);
        ++notices;
        told.notify_all();
    });
    ASSERT_NE(watch, nullptr);
    auto waitFor = [&](int n, std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex);
        return told.wait_for(lock, limit, [&] { return notices >= n; });
    };

    uint8_t value = 0;
    ASSERT_TRUE(Exchange(*device_, 0x38, 0x42, &value));
    // The device left right after its reply, as it did when recorded.
    ASSERT_TRUE(waitFor(1, std::chrono::seconds(10)));
    EXPECT_TRUE(device_->handle()->Gone());
    EXPECT_FALSE(Exchange(*device_, 0x38, 0x42, &value));
    // When recorded, the program looked at the device list before the device came back: the
    // arrival waits for that look.
    EXPECT_FALSE(waitFor(2, std::chrono::milliseconds(300)));
    EXPECT_TRUE(replay_->Enumerate().empty());
    ASSERT_TRUE(waitFor(2, std::chrono::seconds(10)));
    const auto list = replay_->Enumerate();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].path, updateNode);
    EXPECT_EQ(list[0].productId, kProductIdUpdate);
    uint16_t productId = 0;
    EXPECT_EQ(OpenHidDevice(*device_, &productId), 1);
    EXPECT_EQ(productId, kProductIdUpdate);
}

// A run recorded where the system gave no notices: the device still leaves and comes back as it
// did, but the program hears of it only by looking, as it did then.
TEST_F(ReplayTest, ARunThatHeardNoNoticesHearsNoneOnReplay) {
    std::atomic<int> notices{0};
    TraceEvent removal = Event(Kind::Removal, 12);
    removal.info.path = kNode;
    removal.look = 2;
    Start({Arrival(kNode, kProductIdWork, 1), Event(Kind::Out, 10, Command(0x38, 0x42)),
           Event(Kind::In, 11, Reply(0x38, 0)), removal,
           Arrival("/dev/hidraw8", kProductIdUpdate, 3, 13)});
    auto watch = replay_->WatchPresence([&] { ++notices; });
    uint8_t value = 0;
    ASSERT_TRUE(Exchange(*device_, 0x38, 0x42, &value));
    EXPECT_TRUE(device_->handle()->Gone());
    EXPECT_TRUE(replay_->Enumerate().empty());
    const auto until = Clock::now() + std::chrono::seconds(10);
    while (replay_->Enumerate().empty() && Clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(replay_->Enumerate().size(), 1u) << "the arrival did not come back";
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(notices, 0);
}

// The device left as it replied, and the system told of it before the link had taken the reply:
// the program hears the notice once the reply is in and the device gone, as its detection found
// it then - also when a busy recorder wrote the removal down some milliseconds after the reply.
// The notice of its return keeps the pause before it (at most 100 ms at this pace).
TEST_F(ReplayTest, ANoticeComesWithTheChangeItToldOfAndKeepsItsPause) {
    for (const uint64_t removedAt : {14u, 7000u}) {
        SCOPED_TRACE(removedAt);
        device_.reset();
        std::mutex mutex;
        std::condition_variable told;
        std::vector<std::pair<bool, Clock::time_point>> heard;  // the device listed, when
        TraceEvent removal = Event(Kind::Removal, removedAt);
        removal.info.path = kNode;
        removal.look = 2;
        Start({Arrival(kNode, kProductIdWork, 1), Event(Kind::Out, 10, Command(0x38, 0x42)),
               Event(Kind::Notice, 11), Event(Kind::In, 12, Reply(0x38, 0)), removal,
               Event(Kind::Notice, 300000), Arrival("/dev/hidraw8", kProductIdUpdate, 3, 300001)});
        auto watch = replay_->WatchPresence([&] {
            const bool listed = !replay_->Enumerate().empty();  // the detection the notice starts
            std::lock_guard lock(mutex);
            heard.emplace_back(listed, Clock::now());
            told.notify_all();
        });
        uint8_t value = 0;
        ASSERT_TRUE(Exchange(*device_, 0x38, 0x42, &value));
        std::unique_lock lock(mutex);
        ASSERT_TRUE(
            told.wait_for(lock, std::chrono::seconds(10), [&] { return heard.size() >= 2; }));
        EXPECT_FALSE(heard[0].first) << "the notice came before the device had left";
        EXPECT_TRUE(heard[1].first) << "the notice came before the device was back";
        EXPECT_GE(heard[1].second - heard[0].second, std::chrono::milliseconds(80))
            << "the return did not keep its pause";
    }
}

// A reply that came well after the notice was no reply on its way as the notice came: the
// notice is told when it came, before the change, and the detection finds the device there.
TEST_F(ReplayTest, ANoticeBeforeALateReplyIsNotHeldForTheChange) {
    std::mutex mutex;
    std::condition_variable told;
    std::vector<bool> listed;
    TraceEvent removal = Event(Kind::Removal, 9000);
    removal.info.path = kNode;
    removal.look = 2;
    Start({Arrival(kNode, kProductIdWork, 1), Event(Kind::Out, 10, Command(0x38, 0x42)),
           Event(Kind::Notice, 11), Event(Kind::In, 5000, Reply(0x38, 0)), removal});
    auto watch = replay_->WatchPresence([&] {
        const bool there = !replay_->Enumerate().empty();
        std::lock_guard lock(mutex);
        listed.push_back(there);
        told.notify_all();
    });
    uint8_t value = 0;
    ASSERT_TRUE(Exchange(*device_, 0x38, 0x42, &value));
    std::unique_lock lock(mutex);
    ASSERT_TRUE(told.wait_for(lock, std::chrono::seconds(10), [&] { return !listed.empty(); }));
    EXPECT_TRUE(listed[0]) << "the notice was held for a change it did not tell of";
}

// When recorded, the detection looked twice while the device was away (it printed its status
// twice): the replayed arrival waits for both looks, not only the first.
TEST_F(ReplayTest, ADetectionThatLookedTwiceWhileTheDeviceWasAwayLooksTwiceAgain) {
    std::mutex mutex;
    std::condition_variable told;
    int notices = 0;
    TraceEvent removal = Event(Kind::Removal, 12);
    removal.info.path = kNode;
    removal.look = 2;
    Start({Arrival(kNode, kProductIdWork, 1), Event(Kind::Out, 10, Command(0x38, 0x42)),
           Event(Kind::In, 11, Reply(0x38, 0)), Event(Kind::Notice, 12), removal,
           Event(Kind::Notice, 13), Arrival("/dev/hidraw8", kProductIdUpdate, 4, 13)});
    auto watch = replay_->WatchPresence([&] {
        std::lock_guard lock(mutex);
        ++notices;
        told.notify_all();
    });
    auto waitFor = [&](int n, std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex);
        return told.wait_for(lock, limit, [&] { return notices >= n; });
    };
    uint8_t value = 0;
    ASSERT_TRUE(Exchange(*device_, 0x38, 0x42, &value));
    ASSERT_TRUE(waitFor(1, std::chrono::seconds(10)));
    EXPECT_TRUE(replay_->Enumerate().empty());  // the look that found it gone
    EXPECT_FALSE(waitFor(2, std::chrono::milliseconds(200)));
    EXPECT_TRUE(replay_->Enumerate().empty());  // the second look while it was away
    ASSERT_TRUE(waitFor(2, std::chrono::seconds(10)));
    EXPECT_EQ(replay_->Enumerate().size(), 1u);
}

TEST_F(ReplayTest, AWriteBeforeARecordedArrivalTheProgramNeverLooksForFailsInTime) {
    // Another interface of the device leaves right after the reply and comes back; when
    // recorded, the program looked at the device list in between, before its next report.
    const std::string other = "/dev/hidraw9";
    TraceEvent removal = Event(Kind::Removal, 12);
    removal.info.path = other;
    removal.look = 2;
    Start({Arrival(kNode, kProductIdWork, 1), Arrival(other, kProductIdWork, 1),
           Event(Kind::Out, 10, Command(0x06, 1)), Event(Kind::In, 11, Reply(0x06, 0x41)), removal,
           Arrival(other, kProductIdWork, 3, 50), Event(Kind::Out, 60, Command(0x06, 2))});
    uint8_t value = 0;
    ASSERT_TRUE(Exchange(*device_, 0x06, 1, &value));
    // Here it writes at once, and the arrival waits for a look that never comes.
    auto write = std::async(std::launch::async, [&] {
        uint8_t ignored = 0;
        return Exchange(*device_, 0x06, 2, &ignored);
    });
    const bool ended = write.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    if (!ended) {
        replay_->Enumerate();  // the look, so that the test itself can end
    }
    ASSERT_TRUE(ended) << "the write waits without bound";
    const Result result = write.get();
    EXPECT_EQ(result.code(), ResultCode::IoError);
    EXPECT_NE(result.reason().find("output report 2 came before the device's recorded arrival"),
              std::string::npos)
        << result.reason();
}

TEST_F(ReplayTest, TheRecordedPaceKeepsTheRepliesDelay) {
    constexpr uint64_t kDelayUs = 150000;
    Start({Arrival(kNode, kProductIdWork, 1), Event(Kind::Out, 10, Command(0x06, 1)),
           Event(Kind::In, 10 + kDelayUs, Reply(0x06, 0x41))},
          true);
    device_->setTimeoutMs(2000);
    const auto start = Clock::now();
    uint8_t value = 0;
    ASSERT_TRUE(Exchange(*device_, 0x06, 1, &value));
    EXPECT_GE(Clock::now() - start, std::chrono::microseconds(kDelayUs));
    EXPECT_EQ(value, 0x41);
}

}  // namespace
}  // namespace tavlin
