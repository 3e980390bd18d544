#include "app/MainLayout.h"
#include "base/ControlIds.h"

#include <algorithm>

namespace tavlin {

namespace {
constexpr int kMargin = 12;
constexpr int kLabelGap = 6;
constexpr int kLineGap = 6;
}  // namespace

std::map<int, Point> MainWindowLayout(int W, int H, const std::map<int, Size>& sizes) {
    auto size = [&](int id) {
        auto it = sizes.find(id);
        return it == sizes.end() ? Size{} : it->second;
    };
    std::map<int, Point> at;
    at[control::kStatusLine] = {W / 2 - size(control::kStatusLine).w / 2, H / 4};
    at[control::kVersionLine] = {
        W / 2 - size(control::kVersionLine).w / 2,
        std::max(H / 3, at[control::kStatusLine].y + size(control::kStatusLine).h + kLineGap)};
    // Two columns of buttons; the third row holds the engineering view's client buttons.
    auto row = [&](int id, int n) { return H / 2 + n * size(id).h + n * 20; };
    at[control::kLeveling] = {W / 6, row(control::kLeveling, 1)};
    at[control::kCalibration] = {W / 6, row(control::kCalibration, 2)};
    at[control::kClientAdjust] = {W / 6, row(control::kClientAdjust, 3)};
    at[control::kUpdateFirmware] = {W / 6 + W / 2, row(control::kUpdateFirmware, 1)};
    at[control::kExit] = {W / 6 + W / 2, row(control::kExit, 2)};
    at[control::kClientCalibration] = {W / 6 + W / 2, row(control::kClientCalibration, 3)};
    // A caption longer than the layout planned for (French, Kazakh) widens its button; the
    // button then grows to the left rather than past the window's edge.
    for (int id : {control::kUpdateFirmware, control::kExit, control::kClientCalibration}) {
        at[id].x = std::max(0, std::min(at[id].x, W - kMargin - size(id).w));
    }
    const Size toggle = size(control::kModeToggle);
    const Size label = size(control::kModeLabel);
    at[control::kModeToggle] = {W - kMargin - toggle.w, kMargin};
    at[control::kModeLabel] = {at[control::kModeToggle].x - kLabelGap - label.w,
                               kMargin + (toggle.h - label.h) / 2};
    // The history window's button in the other top corner; a record's warning right under the
    // lines it is about.
    at[control::kHistory] = {kMargin, kMargin};
    at[control::kRecordWarning] = {
        W / 2 - size(control::kRecordWarning).w / 2,
        at[control::kVersionLine].y + size(control::kVersionLine).h + kLineGap};
    return at;
}

}  // namespace tavlin
