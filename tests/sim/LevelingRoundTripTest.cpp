// Leveling and calibration operations against the optical scene and the stylus.
#include <algorithm>

#include "sim/SimDeviceFixture.h"

namespace tavlin::sim {
namespace {

using testing::SimDeviceTest;

class Leveling : public SimDeviceTest {
  protected:
    // The brightest row of the eight-row window at a column, read through preview requests.
    int BrightestRow(int sensor, int column) {
        int best = -1, bestValue = -1;
        for (int row = 0; row < 8; ++row) {
            uint8_t v = 0;
            EXPECT_TRUE(
                PreviewRead(device, static_cast<uint16_t>(row * 640 + column), 1, 1, sensor, &v));
            if (v > bestValue) {
                best = row;
                bestValue = v;
            }
        }
        return best;
    }
};

TEST_F(Leveling, SearchAndConfigurationPlaceTheBandInTheWindow) {
    int master = 0, slave = 0;
    ASSERT_TRUE(StartLineSearch(device, kMaster, 200, 300, &master));
    ASSERT_TRUE(StartLineSearch(device, kSlave, 200, 300, &slave));
    EXPECT_EQ(master, 240);
    EXPECT_EQ(slave, 250);
    ASSERT_TRUE(StartLineConfig(device, kMaster, 240));
    EXPECT_EQ(BrightestRow(kMaster, 320), 3);

    // Two lines up moves the band two rows down the window.
    ASSERT_TRUE(StartLineConfig(device, kMaster, 238));
    EXPECT_EQ(BrightestRow(kMaster, 320), 5);
    EXPECT_EQ(firmware().startLine(kMaster), 238);
    EXPECT_EQ(firmware().startLine(kSlave), 250);

    EXPECT_FALSE(StartLineConfig(device, kSlave, 0));
    EXPECT_FALSE(StartLineConfig(device, kSlave, 641));
    EXPECT_EQ(firmware().startLine(kSlave), 250);
}

TEST_F(Leveling, SearchAnswerCanBeMadeUnusable) {
    SceneSettings scene = firmware().scene(kSlave);
    scene.searchAnswer = 0;
    firmware().setScene(kSlave, scene);
    int slave = -1;
    ASSERT_TRUE(StartLineSearch(device, kSlave, 200, 300, &slave));
    EXPECT_EQ(slave, 0);
}

TEST_F(Leveling, ColumnsExposureAndStitchedLineFollowTheScene) {
    int first = 0, second = 0;
    ASSERT_TRUE(ColumnSearch(device, kSlave, &first, &second));
    EXPECT_EQ(first, 40);
    EXPECT_EQ(second, 600);

    uint8_t exposure[2];
    ASSERT_TRUE(ExposureAdjust(device, kMaster, exposure, &first, &second));
    EXPECT_EQ(exposure[0], 0x30);
    EXPECT_EQ(exposure[1], 0x08);
    EXPECT_EQ(first, 42);
    EXPECT_EQ(second, 598);

    LineRecord records[kLineRecords];
    ASSERT_TRUE(LineOptimize(device, kMaster, records));
    int previous = 0;
    for (int i = 0; i < kLineRecords; ++i) {
        EXPECT_GT(records[i].position, previous) << i;
        previous = records[i].position;
        // Each piece's level is the row the preview shows brightest in the piece's middle.
        const int start = i == 0 ? 40 : records[i - 1].position;
        const int middle = (start + std::min<int>(records[i].position, 600)) / 2;
        EXPECT_EQ(records[i].level, BrightestRow(kMaster, middle)) << i;
    }
    EXPECT_EQ(records[7].position, 639);
    EXPECT_NE(records[0].level, records[7].level);  // the band is tilted
}

TEST_F(Leveling, AWindowThatMissesTheBandFindsNothingLit) {
    ASSERT_TRUE(StartLineConfig(device, kMaster, 100));
    int first = 0, second = 0;
    EXPECT_FALSE(ColumnSearch(device, kMaster, &first, &second));
    EXPECT_EQ(first, 0xFFFF);
    LineRecord records[kLineRecords];
    EXPECT_FALSE(LineOptimize(device, kMaster, records));  // accepted, but d[0] says failed
    EXPECT_EQ(records[0].position, 0xFFFF);
}

TEST_F(Leveling, PreviewAreasHaveTheirSizesAndRepeatableNoise) {
    uint8_t a[61], b[61];
    ASSERT_TRUE(PreviewRead(device, 5063, 1, 57, kSlave, a));
    ASSERT_TRUE(PreviewRead(device, 5063, 1, 57, kSlave, b));
    EXPECT_EQ(std::vector<uint8_t>(a, a + 57), std::vector<uint8_t>(b, b + 57));
    EXPECT_FALSE(PreviewRead(device, 5064, 1, 57, kSlave, a));  // past the 5120 bytes

    ASSERT_TRUE(PreviewRead(device, 610, 2, 30, kMaster, a));
    EXPECT_FALSE(PreviewRead(device, 611, 2, 30, kMaster, a));  // past the 640 bytes
    // The one-row area is the stitched line: bright inside the lit columns, dark outside.
    ASSERT_TRUE(PreviewRead(device, 0, 2, 61, kMaster, a));
    EXPECT_LT(a[10], 30);
    EXPECT_GT(a[50], 150);
}

class Calibration : public SimDeviceTest {
  protected:
    int Sample(uint8_t number) {
        const uint8_t payload[6] = {
            static_cast<uint8_t>(number * 4), number, 0x40, 0x00, 0x20, 0x00};
        return CalibrationPoint(device, payload);
    }
};

TEST_F(Calibration, AutomaticStylusGivesTwentySamplesThenLiftsForTheReleaseCheck) {
    ASSERT_TRUE(CalibrationInit(device));
    EXPECT_TRUE(firmware().calibrationInitialised());
    EXPECT_EQ(Sample(0), 0);  // lifted at first; it lands now
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(Sample(0), 2) << i;
    }
    EXPECT_EQ(Sample(1), 0);  // release check at the next target succeeds
    EXPECT_EQ(Sample(1), 2);
}

TEST_F(Calibration, ManualStylusAnswersByPositionAndTouch) {
    firmware().setStylusManual(true, 0x40 + 10, 0x20);
    EXPECT_EQ(Sample(3), 2);
    firmware().setStylusManual(true, 0x40 + 100, 0x20);
    EXPECT_EQ(Sample(3), 1);
    firmware().setStylusManual(false, 0x40, 0x20);
    EXPECT_EQ(Sample(3), 0);
}

TEST_F(Calibration, ScreenSizeIsStored) {
    ASSERT_TRUE(CalibrationParam(device, 1920, 1080));
    EXPECT_EQ(firmware().screenSize(), std::make_pair(uint16_t{1920}, uint16_t{1080}));
    EXPECT_EQ(sent().back()[2], 0x80);
    EXPECT_EQ(sent().back()[3], 0x07);
}

}  // namespace
}  // namespace tavlin::sim
