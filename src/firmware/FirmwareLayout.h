#pragma once

namespace tavlin {

struct FwRect {
    int x, y, w, h;
    bool operator==(const FwRect&) const = default;
};

// The window is 560 x 400 pixels for its 320 x 200 dialog units.
inline constexpr int kFirmwareWindowWidth = 560;
inline constexpr int kFirmwareWindowHeight = 400;

// A template rectangle in dialog units, in the window's pixels.
FwRect FirmwareTemplateRect(int x, int y, int w, int h);

// The status line keeps its size, is centred horizontally and its top is at a sixth of the
// client height.
FwRect PlaceFirmwareStatusLine(int clientWidth, int clientHeight, int width, int height);

}  // namespace tavlin
