// The device a run works on: which port is kept to, what is refused by whose policy, and what a
// run started from the command line's options stands on.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "sim/SimStation.h"
#include "station/Station.h"

namespace tavlin::station {
namespace {

using ::testing::HasSubstr;

TEST(DeviceChoice, ThePortKeptAndWhatEachPolicyRefuses) {
    sim::SimStation three(3);
    sim::SimStation none(1);
    none.device(0).Detach();
    struct Case {
        HidTransport* listing;
        std::string port;
        SeveralDevices policy;
        ResultCode code;
        std::string kept;
        std::string at;
        std::string said;  // the refusal, or the window's note
    };
    const Case cases[] = {
        {&three, "sim-7", SeveralDevices::Refuse, ResultCode::NoDevice, "", "",
         "端口 sim-7 上没有设备（已连接的设备在端口：sim-1, sim-2, sim-3）"},
        {&three, "sim-2", SeveralDevices::Refuse, ResultCode::Ok, "sim-2", "sim-2",
         "Device on port sim-2 only\n"},
        {&three, "", SeveralDevices::Refuse, ResultCode::BadInput, "", "", "sim-1, sim-2, sim-3"},
        // The window takes the first, and waits for a port nobody sits on yet.
        {&three, "", SeveralDevices::TakeFirst, ResultCode::Ok, "", "",
         "Devices on ports sim-1, sim-2, sim-3; taking the first\n"},
        {&three, "sim-7", SeveralDevices::TakeFirst, ResultCode::Ok, "sim-7", "sim-7",
         "Device on port sim-7 only\n"},
        // A replay looks at nothing: only the port asked for is kept to.
        {nullptr, "sim-7", SeveralDevices::Refuse, ResultCode::Ok, "sim-7", "sim-7",
         "Device on port sim-7 only\n"},
        {nullptr, "", SeveralDevices::Refuse, ResultCode::Ok, "", "", ""},
        // None attached: the run's own detection tells, on the port asked for.
        {&none, "sim-7", SeveralDevices::Refuse, ResultCode::Ok, "sim-7", "sim-7",
         "Device on port sim-7 only\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.port + (c.listing == nullptr ? " (replay)" : ""));
        DeviceChoice choice;
        std::string refusal;
        const Result result = ChooseDevice(c.listing, c.port, c.policy, &choice, &refusal);
        EXPECT_EQ(result.code(), c.code);
        EXPECT_EQ(choice.keptPort, c.kept);
        EXPECT_THAT(result ? choice.startNote : refusal, HasSubstr(c.said));
        if (result) {
            EXPECT_EQ(choice.port, c.at);
        }
    }
}

// From the options: a lone device is followed wherever it goes, though its port is known; what
// cannot run is a usage error before any device is looked at.
TEST(OpenStation, FromTheOptions) {
    TransportOptions lone;
    lone.simulate = true;
    Station station;
    std::string refusal;
    ASSERT_TRUE(OpenStation(lone, "", SeveralDevices::Refuse, &station, &refusal)) << refusal;
    EXPECT_EQ(station.device.port, "sim-1");
    EXPECT_EQ(station.device.keptPort, "");
    ASSERT_NE(station.transport.sim, nullptr);

    TransportOptions bad;
    bad.simFaults = "refuse=6";
    Station refused;
    EXPECT_EQ(OpenStation(bad, "", SeveralDevices::TakeFirst, &refused, &refusal).code(),
              ResultCode::BadInput);
    EXPECT_THAT(refusal, HasSubstr("--simulate"));
}

}  // namespace
}  // namespace tavlin::station
