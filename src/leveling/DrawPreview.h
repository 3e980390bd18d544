#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "leveling/PreviewFrame.h"

namespace tavlin {

inline constexpr int kPictureWidth = 640;
inline constexpr int kPictureHeight = 72;
inline constexpr int kImageRows = 9;
inline constexpr int kRowsPerImageRow = kPictureHeight / kImageRows;  // 8

// The bitmap description of a preview image: 640 x 9, 8 bits per pixel, through a linear grey
// colour table (entry i is blue i, green i, red i).
struct PreviewImageInfo {
    int width = kPictureWidth;
    int height = kImageRows;
    std::array<uint32_t, 256> colours{};  // as 0xAARRGGBB
};
std::unique_ptr<PreviewImageInfo> MakePreviewImageInfo();

// A picture control's pixels, 640 x 72, 0xAARRGGBB, row 0 at the top.
struct PreviewPicture {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(kPictureWidth * kPictureHeight, 0);
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y * kPictureWidth + x)]; }
};

inline constexpr uint32_t kStitchedLineColour = 0xFFFF0000;  // pure red
inline constexpr int kStitchedLineWidth = 2;

// Paints the frame into the picture: image row r stretched over picture rows 8r..8r+7, and the
// stitched line in red, 2 pixels wide, at picture row 8 x level + 4 of each piece. Without an
// image description nothing is painted (returns false). Pieces whose values lie outside the
// picture (0xFFFF after a failed stitching) are clipped, never written out of bounds.
bool DrawPreview(const PreviewImageInfo* info, const PreviewFrame& frame, PreviewPicture* out);

}  // namespace tavlin
