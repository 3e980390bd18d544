// The picture painting and the window's layout: pure functions, no screen needed.
#include <gtest/gtest.h>

#include <iterator>
#include <utility>

#include "leveling/DrawPreview.h"
#include "leveling/LevelingControlIds.h"
#include "leveling/LevelingLayout.h"

namespace tavlin {
namespace {

uint32_t Grey(int v) {
    return 0xFF000000u | static_cast<uint32_t>(v * 0x010101);
}

PreviewFrame RowsFrame() {
    PreviewFrame frame;
    for (int r = 0; r < 9; ++r) {
        for (int c = 0; c < 640; ++c) {
            frame.pixels[r * 640 + c] = static_cast<uint8_t>(r * 20 + c % 7);
        }
    }
    return frame;
}

TEST(DrawPreview, EachImageRowCoversEightPictureRowsTopDown) {
    const auto info = MakePreviewImageInfo();
    PreviewPicture picture;
    ASSERT_TRUE(DrawPreview(info.get(), RowsFrame(), &picture));
    for (int y : {0, 7, 8, 35, 64, 71}) {
        for (int x : {0, 3, 639}) {
            EXPECT_EQ(picture.at(x, y), Grey((y / 8) * 20 + x % 7)) << x << "," << y;
        }
    }
}

TEST(DrawPreview, TheStitchedLineLiesInTheMiddleOfItsRowsBand) {
    const auto info = MakePreviewImageInfo();
    PreviewFrame frame = RowsFrame();
    frame.lineValid = true;
    frame.startColumn = 40;
    frame.endColumn = 600;
    for (int i = 0; i < 8; ++i) {
        frame.line[i].position = static_cast<uint16_t>(i < 7 ? 100 + 70 * i : 639);
        frame.line[i].level = static_cast<uint16_t>(i == 0 ? 0 : 7);
    }
    PreviewPicture picture;
    ASSERT_TRUE(DrawPreview(info.get(), frame, &picture));
    // Piece 0 (level 0) covers columns 40..99 on picture row 4; pieces 1-7 (level 7) row 60,
    // up to the end column 600, its end point left out.
    EXPECT_EQ(picture.at(40, 4), kStitchedLineColour);
    EXPECT_EQ(picture.at(99, 4), kStitchedLineColour);
    EXPECT_EQ(picture.at(39, 4), Grey(39 % 7));
    EXPECT_NE(picture.at(100, 4), kStitchedLineColour);
    EXPECT_EQ(picture.at(100, 60), kStitchedLineColour);
    EXPECT_EQ(picture.at(599, 60), kStitchedLineColour);
    EXPECT_NE(picture.at(600, 60), kStitchedLineColour);
    // Two pixels wide: the row above too, nothing below.
    EXPECT_EQ(picture.at(50, 3), kStitchedLineColour);
    EXPECT_EQ(picture.at(50, 5), Grey(50 % 7));
    EXPECT_EQ(picture.at(300, 59), kStitchedLineColour);
    EXPECT_EQ(picture.at(300, 61), Grey(7 * 20 + 300 % 7));
}

TEST(DrawPreview, NoLineWithoutAStitchingAndNothingOutsideThePicture) {
    const auto info = MakePreviewImageInfo();
    PreviewFrame frame = RowsFrame();
    // A failed stitching leaves every record at 0xFFFF while the columns are still good.
    frame.line.fill(LineRecord{0xFFFF, 0xFFFF, {}});
    frame.startColumn = 40;
    frame.endColumn = 600;
    PreviewPicture plain;
    ASSERT_TRUE(DrawPreview(info.get(), frame, &plain));
    frame.lineValid = true;  // values of a failed stitching: clipped away, never out of bounds
    PreviewPicture clipped;
    ASSERT_TRUE(DrawPreview(info.get(), frame, &clipped));
    EXPECT_EQ(plain.pixels, clipped.pixels);
}

TEST(DrawPreview, WithoutAnImageDescriptionNothingIsPainted) {
    PreviewPicture picture;
    picture.pixels.assign(picture.pixels.size(), 0x12345678);
    EXPECT_FALSE(DrawPreview(nullptr, RowsFrame(), &picture));
    EXPECT_EQ(picture.at(10, 10), 0x12345678u);
}

TEST(LevelingLayout, NarrowScreensPutTheStatusTextsBelowThePictures) {
    using namespace leveling;
    const auto at = LevelingLayout(1151, 864);
    // The status texts reach down to the next row (the Slave slider, 10 px above it).
    EXPECT_EQ(at.at(kMasterStatus), (ControlRect{19, 288 + 92, 640, 524 - 380 - 10}));
    EXPECT_EQ(at.at(kSlavePicture), (ControlRect{19, 7 * 72 + 60, 640, 72}));
    EXPECT_EQ(at.at(kSlaveStatus), (ControlRect{19, 7 * 72 + 152, 640, 134}));
    EXPECT_EQ(at.at(kMasterSlider).y, 288 - 40);
    EXPECT_EQ(at.at(kSlaveDown), (ControlRect{19 + 305, 7 * 72 + 20, 40, 30}));
    EXPECT_EQ(at.at(kOk), (ControlRect{1151 - 115, 814, 80, 30}));
}

TEST(LevelingLayout, WideScreensPutThemToTheRight) {
    using namespace leveling;
    const auto at = LevelingLayout(1920, 1080);
    EXPECT_EQ(at.at(kTips), (ControlRect{320, 10, 1280, 290 - 10 - 10}));
    EXPECT_EQ(at.at(kMasterStatus), (ControlRect{32 + 650, 360, 1920 * 29 / 30 - 660, 170}));
    EXPECT_EQ(at.at(kSlaveStatus), (ControlRect{32 + 650, 540, 1856 - 660, 170}));
    EXPECT_EQ(at.at(kMasterSlider), (ControlRect{32, 290, 300, 40}));
    EXPECT_EQ(at.at(kExposure), (ControlRect{32 + 435, 290, 640 - 435, 30}));
    EXPECT_EQ(at.at(kSlaveSlider).y, 540 + 109);
    EXPECT_EQ(at.at(kSecondExposure).y, 649);
    EXPECT_EQ(LevelingLayout(1152, 864).at(kMasterStatus).x, 19 + 650);
}

bool Overlap(const ControlRect& a, const ControlRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

// The texts grew to hold their longest translations: they must still leave every other shown
// control free and stay on the screen.
TEST(LevelingLayout, ShownControlsStayApartAndOnTheScreen) {
    for (auto [W, H] : {std::pair{1920, 1080},
                        {1151, 864},
                        {1152, 864},
                        {1024, 768},
                        {1366, 768},
                        {1280, 1024},
                        {2560, 1440}}) {
        auto at = LevelingLayout(W, H);
        at.erase(leveling::kSecondExposure);  // hidden
        for (auto a = at.begin(); a != at.end(); ++a) {
            const ControlRect& r = a->second;
            EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.width <= W && r.y + r.height <= H)
                << a->first << " leaves the " << W << "x" << H << " screen";
            for (auto b = std::next(a); b != at.end(); ++b) {
                EXPECT_FALSE(Overlap(r, b->second))
                    << a->first << " and " << b->first << " overlap at " << W << "x" << H;
            }
        }
    }
}

}  // namespace
}  // namespace tavlin
