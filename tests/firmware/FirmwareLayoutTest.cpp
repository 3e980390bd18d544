// The firmware window's columns: they widen for long captions and never overlap.
#include <gtest/gtest.h>

#include <iterator>

#include "firmware/FirmwareControlIds.h"
#include "firmware/FirmwareLayout.h"

namespace tavlin {
namespace {

bool Overlap(const FwRect& a, const FwRect& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

void ExpectApartAndInside(const FirmwarePlan& plan) {
    for (auto a = plan.at.begin(); a != plan.at.end(); ++a) {
        const FwRect& r = a->second;
        EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.w <= plan.width && r.y + r.h <= plan.height)
            << a->first << " leaves the window";
        for (auto b = std::next(a); b != plan.at.end(); ++b) {
            EXPECT_FALSE(Overlap(r, b->second)) << a->first << " and " << b->first << " overlap";
        }
    }
}

TEST(FirmwareLayout, ShortCaptionsKeepTheTemplateSize) {
    const FirmwarePlan plan = PlanFirmwareWindow({{fwcontrol::kExit, 60}});
    EXPECT_EQ(plan.width, 560);
    EXPECT_EQ(plan.height, 400);
    EXPECT_EQ(plan.at.at(fwcontrol::kExit), (FwRect{560 - 26 - 87, 328, 87, 28}));
    EXPECT_EQ(plan.at.at(fwcontrol::kStatusLine).y, 64);
    ExpectApartAndInside(plan);
}

TEST(FirmwareLayout, LongCaptionsWidenTheirColumnAndTheWindow) {
    using namespace fwcontrol;
    const FirmwarePlan plan = PlanFirmwareWindow({{fwslot::kProgressLabel, 130},
                                                  {kChoosePackage, 150},
                                                  {kOneKeyUpdate, 180},
                                                  {kWriteImageInfo, 220},
                                                  {kReadFpgaInfo, 170}});
    EXPECT_EQ(plan.at.at(kChoosePackage).w, 150);
    EXPECT_EQ(plan.at.at(fwslot::kFpgaLabel).w, 150) << "the left column is one width";
    EXPECT_EQ(plan.at.at(kExit).w, 180) << "so is the right one";
    EXPECT_EQ(plan.at.at(kReadFpgaInfo).w, 220) << "and the version buttons";
    EXPECT_EQ(plan.width, 26 + 220 + 10 + 220 + 10 + 180 + 26);
    EXPECT_EQ(plan.at.at(kExit).x + 180, plan.width - 26);
    ExpectApartAndInside(plan);
}

TEST(FirmwareLayout, TheEditsKeepTheirTemplateWidthBetweenWideColumns) {
    const FirmwarePlan plan =
        PlanFirmwareWindow({{fwcontrol::kChoosePackage, 200}, {fwcontrol::kOneKeyUpdate, 200}});
    EXPECT_GE(plan.at.at(fwcontrol::kPackagePath).w, 290);
    ExpectApartAndInside(plan);
}

}  // namespace
}  // namespace tavlin
