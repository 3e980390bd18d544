// The firmware update's requests say what went wrong: the link's own code and reason for a
// device that refuses, stays silent or goes away, and no time-out for a request that ended
// without its event.
#include "firmware/FirmwareRequests.h"

#include <functional>
#include <future>
#include <ostream>

#include "device/CommandThread.h"
#include "device/RequestRecord.h"
#include "firmware/FirmwareFixture.h"
#include "firmware/VersionInfoRecord.h"

namespace tavlin::testing {
namespace {

constexpr uint32_t kWaitMs = 5000;  // well past the fixture's 100 ms transfer time-out

using Send = std::function<Result(SharedState&)>;

struct Request {
    const char* what;
    Send send;
};

const std::vector<Request>& AllRequests() {
    static const uint8_t packet[5] = {1, 2, 3, 4, 5};
    static const std::vector<Request> requests{
        {"read version info", [](SharedState& s) { return ReadVersionInfo(s, kMaster, kWaitMs); }},
        {"read image version",
         [](SharedState& s) { return ReadImageVersion(s, kMaster, kWaitMs); }},
        {"write version info",
         [](SharedState& s) {
             return WriteVersionInfo(s, kMaster, FixedVersionInfoRecord(), kWaitMs);
         }},
        {"write image version",
         [](SharedState& s) { return WriteImageVersion(s, kMaster, 7, kWaitMs); }},
        {"code packet",
         [](SharedState& s) {
             return SendCodePacket(s, true, RequestMeaning{}, packet, sizeof packet);
         }},
        {"update control",
         [](SharedState& s) { return SendUpdateControl(s, kLeaveUpdateEnvironment, kWaitMs); }},
    };
    return requests;
}

struct LinkFault {
    const char* name;
    ResultCode code;
    const char* linkWords;  // how the link says it
};

void PrintTo(const LinkFault& fault, std::ostream* out) {
    *out << fault.name;
}

class FirmwareRequestFault : public ConsoleTest, public ::testing::WithParamInterface<LinkFault> {
  protected:
    // The fault hits the next report, whichever request sends it.
    void Inject() {
        sim::FaultSettings faults;
        const std::string name = GetParam().name;
        if (name == "Refused") {
            faults.refuseFrom = 1;
        } else if (name == "NoReply") {
            faults.noReplyFrom = 1;
        } else {
            faults.unplugAfter = 0;
        }
        transport.faults().Set(faults);
    }
};

TEST_P(FirmwareRequestFault, EachRequestCarriesTheLinksResult) {
    for (const Request& request : AllRequests()) {
        Inject();
        const Result result = request.send(state);
        EXPECT_EQ(result.code(), GetParam().code) << request.what << ": " << result.describe();
        EXPECT_EQ(result.reason().rfind(std::string(request.what) + ": ", 0), 0u)
            << result.describe();
        EXPECT_NE(result.reason().find(GetParam().linkWords), std::string::npos)
            << request.what << ": " << result.describe();
        transport.faults().Clear();
        if (std::string(GetParam().name) == "Unplug") {
            transport.Attach();  // the next request finds a device again
            uint16_t productId = 0;
            ASSERT_NE(OpenHidDevice(device, &productId), 0);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Link, FirmwareRequestFault,
                         ::testing::Values(LinkFault{"Refused", ResultCode::Refused, "status 0x"},
                                           LinkFault{"NoReply", ResultCode::Timeout, "timed out"},
                                           LinkFault{"Unplug", ResultCode::DeviceGone,
                                                     "device went away"}),
                         [](const auto& info) { return std::string(info.param.name); });

// A command thread that ends with the request still queued settles it without its event. That
// is not a time-out, and a request that ended with a failure of its own says which.
TEST(FirmwareRequestEnd, ARequestEndedWithoutItsEventIsNotATimeout) {
    for (const Request& request : AllRequests()) {
        for (const bool withFailure : {false, true}) {
            SharedState state;
            state.g_bDevExist = 1;
            auto queue = std::make_shared<MessageQueue>();
            queue->Open();
            state.SetCommandQueue(queue);
            auto sent = std::async(std::launch::async, [&] { return request.send(state); });
            ThreadMessage message;
            ASSERT_TRUE(queue->Get(message));  // the request is posted and waits
            if (withFailure) {
                message.receipt->result =
                    Result::Fail(ResultCode::DeviceGone, "write: device went away");
            }
            message.receipt->handled.Set();  // done with, no event signalled
            const Result result = sent.get();
            EXPECT_EQ(result.code(), withFailure ? ResultCode::DeviceGone : ResultCode::Failed)
                << request.what << ": " << result.describe();
            EXPECT_NE(result.reason().find(withFailure ? "device went away" : "without completing"),
                      std::string::npos)
                << result.describe();
        }
    }
}

}  // namespace
}  // namespace tavlin::testing
