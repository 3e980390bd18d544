#pragma once
#include <array>
#include <cstdint>

#include "device/DeviceProtocol.h"
#include "device/SharedState.h"

namespace tavlin {

// One sensor's picture as the preview cycle left it: the 640 x 9 grey image and, when the
// stitching of that cycle worked, the stitched line's pieces and the sensor's columns.
struct PreviewFrame {
    std::array<uint8_t, kPreviewBufferSize> pixels{};
    bool lineValid = false;  // g_OptimumLineFlag when the frame was taken
    std::array<LineRecord, kLineRecords> line{};
    int startColumn = 0;
    int endColumn = 0;
};

// Copies the sensor's buffer, line records and columns. Returns false (frame untouched) when
// the preview buffer does not exist.
bool CapturePreviewFrame(const SharedState& state, int sensor, PreviewFrame* frame);

}  // namespace tavlin
