#include "leveling/LevelingLayout.h"

#include "leveling/LevelingControlIds.h"

namespace tavlin {

namespace {
// Space kept between a text and the next control below it.
constexpr int kGap = 10;
}  // namespace

std::map<int, ControlRect> LevelingLayout(int W, int H) {
    using namespace leveling;
    const bool wide = W >= 1152;
    const int left = W / 60;
    const int statusX = wide ? left + 650 : left;
    const int statusWidth = wide ? W * 29 / 30 - 660 : 640;
    const int r1 = wide ? H / 3 - 70 : H / 3 - 40;
    const int r2 = wide ? H / 2 + 109 : 7 * (H / 12) + 20;
    const int slaveY = wide ? H / 2 : 7 * (H / 12) + 60;
    const int masterStatusY = wide ? H / 3 : H / 3 + 92;
    // A status text takes up to five lines in the longer languages (a found start line with its
    // instruction): it reaches down to the next row rather than stopping after three.
    const int statusHeight = (wide ? H / 2 : r2) - masterStatusY - kGap;
    // The tips run to ten lines in French or Kazakh: they take two thirds of the width and
    // everything above the first slider row.
    const int tipsY = 10;
    const int tipsHeight = r1 - tipsY - kGap;
    // Room up to the picture's right edge, for the exposure caption in every language.
    const int exposureWidth = 640 - 435;

    std::map<int, ControlRect> at;
    at[kTips] = {W / 6, tipsY, W * 2 / 3, tipsHeight};
    at[kMasterPicture] = {left, H / 3, 640, 72};
    at[kMasterStatus] = {statusX, masterStatusY, statusWidth, statusHeight};
    at[kMasterSlider] = {left, r1, 300, 40};
    at[kMasterDown] = {left + 305, r1, 40, 30};
    at[kMasterUp] = {left + 345, r1, 40, 30};
    at[kExposure] = {left + 435, r1, exposureWidth, 30};
    at[kSlavePicture] = {left, slaveY, 640, 72};
    at[kSlaveStatus] = {statusX, wide ? H / 2 : 7 * (H / 12) + 152, statusWidth, statusHeight};
    at[kSlaveSlider] = {left, r2, 300, 40};
    at[kSlaveDown] = {left + 305, r2, 40, 30};
    at[kSlaveUp] = {left + 345, r2, 40, 30};
    at[kSecondExposure] = {left + 435, H / 2 + 109, exposureWidth, 30};
    at[kOk] = {W - (W * 80) / 800, H - 50, 80, 30};
    return at;
}

}  // namespace tavlin
