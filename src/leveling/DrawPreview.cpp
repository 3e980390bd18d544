#include "leveling/DrawPreview.h"

#include <algorithm>

namespace tavlin {
namespace {

// A 2-pixel pen centred on row y covers rows y - 1 and y, from x0 to x1 with x1 left out.
void DrawLine(PreviewPicture* out, int x0, int x1, int y) {
    if (x0 == x1) {
        return;
    }
    // Drawn leftwards the end point is still the one left out.
    const int from = x0 < x1 ? x0 : x1 + 1;
    const int to = x0 < x1 ? x1 - 1 : x0;
    const int left = std::max(from, 0);
    const int right = std::min(to, kPictureWidth - 1);
    for (int row = y - kStitchedLineWidth / 2; row < y + kStitchedLineWidth / 2; ++row) {
        if (row < 0 || row >= kPictureHeight) {
            continue;
        }
        uint32_t* line = out->pixels.data() + static_cast<size_t>(row) * kPictureWidth;
        for (int x = left; x <= right; ++x) {
            line[x] = kStitchedLineColour;
        }
    }
}

}  // namespace

std::unique_ptr<PreviewImageInfo> MakePreviewImageInfo() {
    auto info = std::make_unique<PreviewImageInfo>();
    for (uint32_t i = 0; i < 256; ++i) {
        info->colours[i] = 0xFF000000u | (i << 16) | (i << 8) | i;
    }
    return info;
}

bool DrawPreview(const PreviewImageInfo* info, const PreviewFrame& frame, PreviewPicture* out) {
    if (info == nullptr) {
        return false;
    }
    for (int y = 0; y < kPictureHeight; ++y) {
        const uint8_t* source = frame.pixels.data() + (y / kRowsPerImageRow) * kPictureWidth;
        uint32_t* line = out->pixels.data() + static_cast<size_t>(y) * kPictureWidth;
        for (int x = 0; x < kPictureWidth; ++x) {
            line[x] = info->colours[source[x]];
        }
    }
    if (!frame.lineValid) {
        return true;
    }
    for (int i = 0; i < kLineRecords; ++i) {
        const int x0 = i == 0 ? frame.startColumn : frame.line[i - 1].position;
        const int x1 = i < kLineRecords - 1 ? frame.line[i].position : frame.endColumn;
        DrawLine(out, x0, x1, kRowsPerImageRow * frame.line[i].level + kRowsPerImageRow / 2);
    }
    return true;
}

}  // namespace tavlin
