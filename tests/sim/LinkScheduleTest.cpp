// The simulated link's timing: reports cross one per period at absolute deadlines, so long
// transfers take their physical time and no more, and no caller gets them faster.
#include <array>
#include <thread>

#include "sim/LinkSchedule.h"
#include "sim/SimDeviceFixture.h"

namespace tavlin::sim {
namespace {

using namespace std::chrono_literals;
using Clock = LinkSchedule::Clock;
using testing::SimDeviceTest;

constexpr auto kPeriod = 1ms;
const Clock::time_point t0 = Clock::time_point{} + 1h;

TEST(LinkScheduleRules, AReportHandedOverWhileTheLinkIsBusyWaitsForIt) {
    LinkSchedule link;
    EXPECT_EQ(link.Book(t0, kPeriod), t0 + kPeriod);
    EXPECT_EQ(link.Book(t0, kPeriod), t0 + 2 * kPeriod);
    EXPECT_EQ(link.Book(t0 + 500us, kPeriod), t0 + 3 * kPeriod);
}

TEST(LinkScheduleRules, AReportHandedOverToAnIdleLinkStartsThenAndNoBurstFollows) {
    LinkSchedule link;
    link.Book(t0, kPeriod);
    const auto late = t0 + 50 * kPeriod;
    EXPECT_EQ(link.Book(late, kPeriod), late + kPeriod);
    EXPECT_EQ(link.Book(late, kPeriod), late + 2 * kPeriod);
}

TEST(LinkScheduleRules, AReaderWokenLateIsNotChargedForIt) {
    LinkSchedule link;
    const auto reply = link.Book(t0, kPeriod);
    link.ReaderGot(reply, reply - 200us, reply + 300us);
    // The host spent 5 us after it was woken: the next report counts from the reply plus those.
    EXPECT_EQ(link.Book(reply + 305us, kPeriod), reply + 5us + kPeriod);
    // Forgiven once only.
    EXPECT_EQ(link.Book(reply + 5 * kPeriod, kPeriod), reply + 6 * kPeriod);
}

TEST(LinkScheduleRules, AWriterWokenAfterItsReplyArrivedIsNotChargedForIt) {
    LinkSchedule link;
    const auto arrived = link.Book(t0, kPeriod);
    const auto reply = link.Book(arrived, kPeriod);
    link.WriterWoke(arrived, arrived + 3 * kPeriod);
    // 10 us of the host's own between the write and the read, 20 us after it.
    link.ReaderGot(reply, arrived + 3 * kPeriod + 10us, arrived + 3 * kPeriod + 10us);
    EXPECT_EQ(link.Book(arrived + 3 * kPeriod + 30us, kPeriod), reply + 20us + kPeriod);
}

TEST(LinkScheduleRules, AHostThatReadsLateByItselfIsCharged) {
    LinkSchedule link;
    const auto arrived = link.Book(t0, kPeriod);
    const auto reply = link.Book(arrived, kPeriod);
    link.WriterWoke(arrived, arrived);
    link.ReaderGot(reply, reply + 700us, reply + 700us);
    EXPECT_EQ(link.Book(reply + 700us, kPeriod), reply + 700us + kPeriod);
}

TEST(LinkScheduleRules, ForgivenLatenessNeverMovesAReportBeforeTheLastCrossing) {
    LinkSchedule link;
    const auto reply = link.Book(t0, kPeriod);
    link.ReaderGot(reply - 40 * kPeriod, reply - 40 * kPeriod, reply);  // an older report
    EXPECT_EQ(link.Book(reply, kPeriod), reply + kPeriod);
}

TEST(LinkScheduleRules, WithoutLatencyAReportCrossesWhenHandedOver) {
    LinkSchedule link;
    EXPECT_EQ(link.Book(t0, Clock::duration::zero()), t0);
    EXPECT_EQ(link.Book(t0 + 3us, Clock::duration::zero()), t0 + 3us);
}

class LinkTiming : public SimDeviceTest {
  protected:
    LinkTiming() { transport.faults().SetLatency(kPeriod); }

    // One exchange on the vendor collection's connection, as little host work around it as
    // possible; returns false when it failed.
    bool Exchange() {
        std::array<uint8_t, kReportSize> report{};
        report[0] = 0x03;
        report[1] = cmd::kModeSwitch;
        report[2] = 0xFF;
        const auto connection = device.handle();
        return connection->Write(report.data(), report.size()).ok() &&
               connection->Read(report.data(), report.size(), testing::kTestTimeoutMs).ok();
    }

    Clock::duration TimeOf(int exchanges) {
        const auto start = Clock::now();
        for (int i = 0; i < exchanges; ++i) {
            EXPECT_TRUE(Exchange()) << "exchange " << i;
        }
        return Clock::now() - start;
    }
};

TEST_F(LinkTiming, ManyExchangesTakeTheirPhysicalTimeWithoutDrift) {
    constexpr int kExchanges = 150;
    const auto bound = kExchanges * 2 * kPeriod;
    const auto took = TimeOf(kExchanges);
    EXPECT_GE(took, bound);
    // Every timed wait here wakes some tens of microseconds late; were that added up, 150
    // exchanges would be 5 % or more over on an idle machine.
    EXPECT_LE(took, bound * 104 / 100) << std::chrono::duration<double, std::milli>(took).count()
                                       << " ms for a bound of " << bound.count() << " ms";
}

TEST_F(LinkTiming, AfterAnIdlePauseReportsStillTakeAPeriodEach) {
    ASSERT_TRUE(Exchange());
    std::this_thread::sleep_for(30 * kPeriod);
    EXPECT_GE(TimeOf(5), 10 * kPeriod);
}

TEST_F(LinkTiming, AnUnplugOnTheOutboundLegEndsTheWriteAtOnce) {
    transport.faults().SetLatency(5s);
    std::thread unplug([&] {
        std::this_thread::sleep_for(30ms);
        transport.Detach();
    });
    const auto start = Clock::now();
    std::array<uint8_t, kReportSize> report{0x03, cmd::kModeSwitch, 0xFF};
    EXPECT_EQ(device.handle()->Write(report.data(), report.size()).status, IoStatus::DeviceGone);
    unplug.join();
    EXPECT_LT(Clock::now() - start, 1s);
}

}  // namespace
}  // namespace tavlin::sim
