#include "app/MainLayout.h"

#include <gtest/gtest.h>

#include <iterator>

namespace tavlin {
namespace {

TEST(MainLayout, FormulasOfTheVisibleControls) {
    const std::map<int, Size> sizes = {{1060, {301, 44}}, {1061, {300, 40}}, {1022, {110, 32}},
                                       {1023, {110, 32}}, {1027, {110, 32}}, {1028, {110, 33}},
                                       {1065, {100, 28}}, {1066, {60, 18}}};
    const auto at = MainWindowLayout(481, 423, sizes);
    EXPECT_EQ(at.at(1060), (Point{481 / 2 - 301 / 2, 423 / 4}));  // 240 - 150 = 90, 105
    EXPECT_EQ(at.at(1060), (Point{90, 105}));
    EXPECT_EQ(at.at(1061), (Point{90, 105 + 44 + 6})) << "below the status line, not over it";
    EXPECT_EQ(at.at(1022), (Point{80, 211 + 32 + 20}));
    EXPECT_EQ(at.at(1023), (Point{80, 211 + 64 + 40}));
    EXPECT_EQ(at.at(1024), (Point{80, 211 + 60})) << "no size given: zero height";
    EXPECT_EQ(at.at(1027), (Point{80 + 240, 263}));
    EXPECT_EQ(at.at(1028), (Point{320, 211 + 66 + 40})) << "each control uses its own height";
}

TEST(MainLayout, AShortStatusLineLeavesTheVersionLineAtAThird) {
    const auto at = MainWindowLayout(481, 600, {{1060, {400, 30}}, {1061, {400, 40}}});
    EXPECT_EQ(at.at(1061).y, 600 / 3);
}

bool Overlap(Point a, Size as, Point b, Size bs) {
    return a.x < b.x + bs.w && b.x < a.x + as.w && a.y < b.y + bs.h && b.y < a.y + as.h;
}

// The engineering view's client buttons used to be drawn over each other at the bottom left.
TEST(MainLayout, EveryControlKeepsItsOwnPlace) {
    const std::map<int, Size> sizes = {{1060, {400, 44}}, {1061, {400, 40}}, {1022, {110, 32}},
                                       {1023, {110, 32}}, {1024, {130, 32}}, {1025, {140, 32}},
                                       {1027, {200, 32}}, {1028, {110, 32}}, {1065, {140, 28}},
                                       {1066, {60, 18}}};
    const int W = 480;
    const int H = 420;
    const auto at = MainWindowLayout(W, H, sizes);
    for (auto a = sizes.begin(); a != sizes.end(); ++a) {
        const Point p = at.at(a->first);
        EXPECT_TRUE(p.x >= 0 && p.y >= 0 && p.x + a->second.w <= W && p.y + a->second.h <= H)
            << a->first << " leaves the window";
        for (auto b = std::next(a); b != sizes.end(); ++b) {
            EXPECT_FALSE(Overlap(p, a->second, at.at(b->first), b->second))
                << a->first << " and " << b->first << " overlap";
        }
    }
    EXPECT_EQ(at.at(1024), (Point{80, 210 + 3 * 32 + 60})) << "under calibration";
    EXPECT_EQ(at.at(1025), (Point{80 + 240, 210 + 3 * 32 + 60})) << "under exit";
}

TEST(MainLayout, ModeToggleSitsInsideTheWindowTopRight) {
    const std::map<int, Size> sizes = {{1065, {100, 28}}, {1066, {60, 18}}};
    for (int W : {300, 481, 1200}) {
        const auto at = MainWindowLayout(W, 400, sizes);
        EXPECT_EQ(at.at(1065).x + 100, W - 12);
        EXPECT_GE(at.at(1066).x, 0);
        EXPECT_LT(at.at(1066).x + 60, at.at(1065).x) << "the label stands left of the toggle";
    }
}

TEST(MainLayout, AButtonWidenedForALongCaptionStaysInsideTheWindow) {
    // French "Mettre à jour le micrologiciel" needs about 200 px where the layout planned 110.
    const auto at = MainWindowLayout(481, 423, {{1027, {200, 32}}, {1028, {110, 32}}});
    EXPECT_EQ(at.at(1027).x + 200, 481 - 12);
    EXPECT_EQ(at.at(1028).x, 320) << "a button that fits keeps its place";
}

TEST(MainLayout, MissingControlsCountAsZeroSize) {
    const auto at = MainWindowLayout(600, 600, {});
    EXPECT_EQ(at.at(1060), (Point{300, 150}));
    EXPECT_EQ(at.at(1022), (Point{100, 320}));
}

}  // namespace
}  // namespace tavlin
