// --sim-state: the simulated device outlives the program in its file, and a file that is not
// its own, or is damaged, is refused and left as it was.
#include <gmock/gmock.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/FillText.h"
#include "base/StringTable.h"
#include "device/HidDevice.h"
#include "device/LogCapture.h"
#include "sim/ImageWrites.h"
#include "sim/SimStateFile.h"
#include "sim/SimTransport.h"
#include "station/OptionValueTexts.h"
#include "station/Transports.h"

namespace tavlin::station {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using sim::SimFlash;
using ::testing::HasSubstr;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class SimStateTest : public ::testing::Test {
  protected:
    SimStateTest()
        : dir(fs::temp_directory_path() / ("tavlin-sim-state-" + std::to_string(getpid()))) {
        fs::create_directories(dir);
    }
    ~SimStateTest() override { fs::remove_all(dir); }

    TransportOptions Kept(const std::string& faults = "") const {
        TransportOptions o;
        o.simulate = true;
        o.simFaults = faults;
        o.simState = (dir / "unit.state").string();
        return o;
    }

    fs::path dir;
};

// One run cuts the power in LInfo; the next run finds the unit as the cut left it: in its
// update environment, HInfo on both sensors written with their versions, LInfo not.
TEST_F(SimStateTest, AUnitCutInOneRunIsFoundCutByTheNext) {
    std::string error;
    {
        CreatedTransport first = CreateTransport(Kept("powercut-at=LInfo:3@10ms"), &error);
        ASSERT_TRUE(first) << error;
        EXPECT_TRUE(fs::exists(dir / "unit.state")) << "written as the device starts";
        HidDevice device(*first.transport);
        device.setTimeoutMs(150);
        uint16_t pid = 0;
        ASSERT_EQ(OpenHidDevice(device, &pid), 1);
        ASSERT_TRUE(ModeSwitch(device, 0xFF));
        EXPECT_EQ(sim::testing::WriteImages(device), 2);
    }
    EXPECT_FALSE(fs::exists(dir / "unit.state.tmp"));

    CreatedTransport second = CreateTransport(Kept(), &error);
    ASSERT_TRUE(second) << error;
    ASSERT_NE(second.sim, nullptr);
    EXPECT_EQ(second.sim->productId(), kProductIdUpdate);
    const sim::SimFirmware& firmware = second.sim->firmware();
    EXPECT_TRUE(sim::testing::Written(firmware, 0));
    EXPECT_TRUE(sim::testing::Written(firmware, 1));
    EXPECT_EQ(firmware.imageState(kMaster, sim::CodeTarget::Packet2), SimFlash::State::Erased);
    EXPECT_EQ(firmware.imageVersion(kMaster), 0x00010203u) << "LInfo's version was not written";
    EXPECT_EQ(firmware.mode(), 0xFF);

    // This run finishes the unit; the third finds it whole and back in its work firmware.
    {
        HidDevice device(*second.transport);
        device.setTimeoutMs(150);
        uint16_t pid = 0;
        ASSERT_EQ(OpenHidDevice(device, &pid), 1);
        ASSERT_EQ(sim::testing::WriteImages(device), sim::kImageCount);
        ASSERT_TRUE(UpdateControl(device, 0x55));
    }
    second = CreatedTransport();
    CreatedTransport third = CreateTransport(Kept(), &error);
    ASSERT_TRUE(third) << error;
    EXPECT_EQ(third.sim->productId(), kProductIdWork);
    for (int image = 0; image < sim::kImageCount; ++image) {
        EXPECT_TRUE(sim::testing::Written(third.sim->firmware(), image)) << image;
    }
}

TEST_F(SimStateTest, AFileThatIsNotOneOrIsDamagedIsRefusedAndLeftAsItWas) {
    SimFlash flash;
    flash.sensors[kSlave].images[1] = {{1, 2, 3}, 1, SimFlash::State::Erased};
    const std::vector<uint8_t> encoded = sim::EncodeSimState(flash);
    const std::string good(encoded.begin(), encoded.end());
    std::string flipped = good;
    flipped[30] = static_cast<char>(flipped[30] ^ 0x01);
    std::string newer = good;
    newer[8] = 2;
    std::string longer = good + "x";
    const struct {
        const char* name;
        std::string bytes;
        const char* refusal;
    } cases[] = {
        {"a text file", "[Tavlin HInfo]\nImage_en=1\n", optiontext::kSimStateForeign},
        {"an empty file", "", optiontext::kSimStateForeign},
        {"the magic alone, cut", good.substr(0, 5), optiontext::kSimStateDamaged},
        {"cut in its header", good.substr(0, 14), optiontext::kSimStateDamaged},
        {"cut in its payload", good.substr(0, good.size() - 9), optiontext::kSimStateDamaged},
        {"one bit changed", flipped, optiontext::kSimStateDamaged},
        {"a byte too many", longer, optiontext::kSimStateDamaged},
        {"a newer format", newer, optiontext::kSimStateNewer},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing::LogCapture log;
        const fs::path path = dir / "unit.state";
        WriteAll(path, c.bytes);
        std::string error;
        EXPECT_FALSE(CreateTransport(Kept(), &error));
        const std::string text = Tr(c.refusal);
        EXPECT_THAT(error, HasSubstr(text.substr(0, text.find("%s"))));
        EXPECT_THAT(error, HasSubstr(path.string()));
        EXPECT_TRUE(log.Contains("Simulated device state file \"" + path.string() + "\" refused"))
            << log.Text();
        EXPECT_EQ(ReadAll(path), c.bytes) << "left byte for byte";
        EXPECT_FALSE(fs::exists(dir / "unit.state.tmp"));
    }
    // The file decoded whole is taken.
    WriteAll(dir / "unit.state", good);
    std::string error;
    CreatedTransport taken = CreateTransport(Kept(), &error);
    ASSERT_TRUE(taken) << error;
    EXPECT_EQ(taken.sim->firmware().flash(), flash);
    EXPECT_EQ(taken.sim->productId(), kProductIdUpdate);
}

TEST_F(SimStateTest, AFolderInItsPlaceIsRefused) {
    fs::create_directories(dir / "unit.state");
    std::string error;
    EXPECT_FALSE(CreateTransport(Kept(), &error));
    EXPECT_THAT(error, HasSubstr((dir / "unit.state").string()));
    EXPECT_TRUE(fs::is_directory(dir / "unit.state"));
}

}  // namespace
}  // namespace tavlin::station
