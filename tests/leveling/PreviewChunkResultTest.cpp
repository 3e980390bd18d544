// A preview chunk the device does not deliver: the picture is drawn with what came, the worker
// goes on, and the picture's result says why the rest is missing.
#include <ostream>

#include "leveling/LevelingFixture.h"

namespace tavlin::testing {
namespace {

struct ChunkFault {
    const char* name;
    ResultCode code;
    std::string reasonPart;  // the link's own words
};

void PrintTo(const ChunkFault& fault, std::ostream* out) {
    *out << fault.name;
}

class PreviewChunkResult : public LevelingTest, public ::testing::WithParamInterface<ChunkFault> {
  protected:
    // Counted from the end of the first picture: the next cycle's two stitching reports, chunks
    // 0 to 39 of both sensors, then the Master's chunk 40.
    static constexpr uint64_t kChunk40 = 2 + 80 + 1;

    void InjectAtChunk40() {
        sim::FaultSettings faults;
        const std::string name = GetParam().name;
        if (name == "Refused") {
            faults.refuseFrom = kChunk40;
        } else if (name == "NoReply") {
            faults.noReplyFrom = kChunk40;
        } else {
            faults.unplugAfter = kChunk40 - 1;
        }
        transport.faults().Set(faults);
    }
};

TEST_P(PreviewChunkResult, TheBrokenPictureCarriesTheLinksResult) {
    int drawn = 0;
    Result whole = Result::Fail(ResultCode::Failed, "not drawn");
    Result broken;
    levelingView.OnDraw([&](int sensor) {
        if (sensor != kSlave) {
            return;
        }
        if (++drawn == 1) {
            whole = worker->pictureResult();
            InjectAtChunk40();
        } else if (drawn == 2) {
            broken = worker->pictureResult();
        }
    });
    StartWorker();
    ASSERT_TRUE(WorkerEnded());
    EXPECT_EQ(drawn, 2);  // the broken picture is drawn; the next stitching fails
    EXPECT_TRUE(whole.ok()) << whole.describe();
    EXPECT_EQ(broken.code(), GetParam().code) << broken.describe();
    EXPECT_EQ(broken.reason().rfind("preview chunk 40: ", 0), 0u) << broken.describe();
    EXPECT_NE(broken.reason().find(GetParam().reasonPart), std::string::npos) << broken.describe();
    EXPECT_NE(Log().find("ImagePreviewThread: GetPreviewData failed!\n"), std::string::npos);
    EXPECT_EQ(worker->cyclesDrawn(), 1);
}

INSTANTIATE_TEST_SUITE_P(Faults, PreviewChunkResult,
                         ::testing::Values(ChunkFault{"Refused", ResultCode::Refused, "status 0x"},
                                           ChunkFault{"NoReply", ResultCode::Timeout, "timed out"},
                                           ChunkFault{"Unplug", ResultCode::DeviceGone,
                                                      "device went away"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tavlin::testing
