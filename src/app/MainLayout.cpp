#include "app/MainLayout.h"
#include "base/ControlIds.h"

#include <algorithm>

namespace tavlin {

namespace {
constexpr int kMargin = 12;
constexpr int kLabelGap = 6;
}  // namespace

std::map<int, Point> MainWindowLayout(int W, int H, const std::map<int, Size>& sizes) {
    auto size = [&](int id) {
        auto it = sizes.find(id);
        return it == sizes.end() ? Size{} : it->second;
    };
    std::map<int, Point> at;
    at[control::kStatusLine] = {W / 2 - size(control::kStatusLine).w / 2, H / 4};
    at[control::kVersionLine] = {W / 2 - size(control::kVersionLine).w / 2, H / 3};
    at[control::kLeveling] = {W / 6, H / 2 + size(control::kLeveling).h + 20};
    at[control::kCalibration] = {W / 6, H / 2 + 2 * size(control::kCalibration).h + 40};
    at[control::kClientCalibration] = {W / 6, H / 2 + 3 * size(control::kClientCalibration).h + 60};
    at[control::kUpdateFirmware] = {W / 6 + W / 2, H / 2 + size(control::kUpdateFirmware).h + 20};
    at[control::kExit] = {W / 6 + W / 2, H / 2 + 2 * size(control::kExit).h + 40};
    // A caption longer than the layout planned for (French, Kazakh) widens its button; the
    // button then grows to the left rather than past the window's edge.
    for (int id : {control::kUpdateFirmware, control::kExit}) {
        at[id].x = std::max(0, std::min(at[id].x, W - kMargin - size(id).w));
    }
    const Size toggle = size(control::kModeToggle);
    const Size label = size(control::kModeLabel);
    at[control::kModeToggle] = {W - kMargin - toggle.w, kMargin};
    at[control::kModeLabel] = {at[control::kModeToggle].x - kLabelGap - label.w,
                               kMargin + (toggle.h - label.h) / 2};
    return at;
}

}  // namespace tavlin
