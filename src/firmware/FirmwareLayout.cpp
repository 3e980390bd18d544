#include "firmware/FirmwareLayout.h"

namespace tavlin {

FwRect FirmwareTemplateRect(int x, int y, int w, int h) {
    auto horizontal = [](int du) { return du * kFirmwareWindowWidth / 320; };
    auto vertical = [](int du) { return du * kFirmwareWindowHeight / 200; };
    return {horizontal(x), vertical(y), horizontal(w), vertical(h)};
}

FwRect PlaceFirmwareStatusLine(int clientWidth, int clientHeight, int width, int height) {
    return {clientWidth / 2 - width / 2, clientHeight / 6, width, height};
}

}  // namespace tavlin
