#pragma once
#include <map>

namespace tavlin {

struct FwRect {
    int x, y, w, h;
    bool operator==(const FwRect&) const = default;
};

// The window is at least 560 x 400 pixels, its 320 x 200 dialog units.
inline constexpr int kFirmwareWindowWidth = 560;
inline constexpr int kFirmwareWindowHeight = 400;

// The labels of the window have no control ids; the layout knows them by these.
namespace fwslot {
inline constexpr int kProgressLabel = -1;
inline constexpr int kImageLabel = -2;
inline constexpr int kFpgaLabel = -3;
}  // namespace fwslot

// A template rectangle in dialog units, in the window's pixels.
FwRect FirmwareTemplateRect(int x, int y, int w, int h);

// Where every control goes (by control id or label slot) and how large the window is, when the
// shown controls need the given widths for their captions. The rows stay where the template has
// them; the columns widen for the longer languages, and the window with them.
struct FirmwarePlan {
    int width = kFirmwareWindowWidth;
    int height = kFirmwareWindowHeight;
    std::map<int, FwRect> at;
};
FirmwarePlan PlanFirmwareWindow(const std::map<int, int>& neededWidths);

// The status line keeps its size, is centred horizontally and its top is at a sixth of the
// client height.
FwRect PlaceFirmwareStatusLine(int clientWidth, int clientHeight, int width, int height);

}  // namespace tavlin
