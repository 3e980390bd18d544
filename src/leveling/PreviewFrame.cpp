#include "leveling/PreviewFrame.h"

#include <algorithm>

namespace tavlin {

bool CapturePreviewFrame(const SharedState& state, int sensor, PreviewFrame* frame) {
    const bool master = sensor == kMaster;
    const uint8_t* buffer = master ? state.g_PreviewBufM.load() : state.g_PreviewBufS.load();
    if (buffer == nullptr) {
        return false;
    }
    std::copy_n(buffer, kPreviewBufferSize, frame->pixels.begin());
    frame->lineValid = state.g_OptimumLineFlag != 0;
    frame->line = master ? state.g_LineInfoM : state.g_LineInfoS;
    const auto& columns = master ? state.g_ColumnM : state.g_ColumnS;
    frame->startColumn = columns[0];
    frame->endColumn = columns[1];
    return true;
}

}  // namespace tavlin
