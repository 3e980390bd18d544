// The leveling requests: served only while the preview worker runs.
#include <cstring>

#include "device/CommandContext.h"
#include "device/DeviceProtocol.h"

namespace tavlin::command {
namespace {

// Dropped without a result or an event; the poster's WaitRequest returns once it is dropped.
bool PreviewRunning(const CommandContext& c) {
    return c.state.g_PreviewThread != nullptr;
}

void SetBoth(std::atomic<int>& a, std::atomic<int>& b, bool ok) {
    a = ok ? 1 : 0;
    b = ok ? 1 : 0;
}

}  // namespace

void ServePreviewData(CommandContext& c) {
    if (!PreviewRunning(c)) {
        return;
    }
    SharedState& s = c.state;
    const auto block = c.Block<PreviewChunkRequest>();
    uint8_t* master = s.g_PreviewBufM;
    uint8_t* slave = s.g_PreviewBufS;
    // A destination and count that run past the 640 x 9 image are refused, never written.
    const bool fits = block && master != nullptr && slave != nullptr &&
                      size_t{block->destination} + block->count <= kPreviewBufferSize;
    // Each sensor's bytes land in its picture only when its read worked: a failed read's fill
    // bytes would paint a white stripe over the last good picture.
    bool ok = false;
    if (fits) {
        uint8_t bytes[256];
        ok = PreviewRead(c.device, block->source, block->mode, block->count, kMaster, bytes);
        if (ok) {
            std::memcpy(master + block->destination, bytes, block->count);
            ok = PreviewRead(c.device, block->source, block->mode, block->count, kSlave, bytes);
            if (ok) {
                std::memcpy(slave + block->destination, bytes, block->count);
            }
        }
    }
    SetBoth(s.g_isDeviceCommunicate, s.g_PreviewSucFlag, ok);
    c.Signal(s.g_PreviewDataEvent);
}

void ServeSearchStartLine(CommandContext& c) {
    if (!PreviewRunning(c)) {
        return;
    }
    SharedState& s = c.state;
    const auto block = c.Block<StartLineSearchParam>();
    bool ok = false;
    if (block) {
        int line = 0;
        const bool master = StartLineSearch(c.device, kMaster, block->low, block->high, &line);
        s.g_StartLineM = line;
        if (master) {
            ok = StartLineSearch(c.device, kSlave, block->low, block->high, &line);
            s.g_StartLineS = line;
        }
    }
    s.g_SearchStartLine = ok ? 1 : 0;
    c.Signal(s.g_SearchStartLineEvent);
}

void ServeConfigStartLine(CommandContext& c) {
    if (!PreviewRunning(c)) {
        return;
    }
    SharedState& s = c.state;
    const bool master = c.message.sensorSel == 0;
    const int line = master ? s.g_StartLineM : s.g_StartLineS;
    const bool ok =
        StartLineConfig(c.device, master ? kMaster : kSlave, static_cast<uint16_t>(line));
    s.g_OptimumStartLine = ok ? 1 : 0;
    c.Signal(s.g_ConfigStartLineEvent, ok);
}

void ServeSearchColumn(CommandContext& c) {
    if (!PreviewRunning(c)) {
        return;
    }
    SharedState& s = c.state;
    const bool master = c.message.sensorSel == 0;
    int first = 0;
    int second = 0;
    const bool ok = ColumnSearch(c.device, master ? kMaster : kSlave, &first, &second);
    auto& columns = master ? s.g_ColumnM : s.g_ColumnS;
    columns[0] = first;
    columns[1] = second;
    s.g_SearchColumn = ok ? 1 : 0;
    c.Signal(s.g_SearchColumnEvent, ok);
}

void ServeOptimizeLine(CommandContext& c) {
    if (!PreviewRunning(c)) {
        return;
    }
    SharedState& s = c.state;
    const bool ok = LineOptimize(c.device, kMaster, s.g_LineInfoM.data()) &&
                    LineOptimize(c.device, kSlave, s.g_LineInfoS.data());
    SetBoth(s.g_OptimumLineFlag, s.g_isDeviceCommunicate, ok);
    c.Signal(s.g_OptimumLineEvent);
}

namespace {

bool ExposureOf(HidDevice& device, int sensor, std::array<std::atomic<uint8_t>, 2>& exposure,
                std::array<std::atomic<int>, 2>& columns) {
    uint8_t bytes[2];
    int first = columns[0];  // a failed adjustment leaves the columns as they were
    int second = columns[1];
    const bool ok = ExposureAdjust(device, sensor, bytes, &first, &second);
    exposure[0] = bytes[0];
    exposure[1] = bytes[1];
    columns[0] = first;
    columns[1] = second;
    return ok;
}

}  // namespace

void ServeExposure(CommandContext& c) {
    if (!PreviewRunning(c)) {
        return;
    }
    SharedState& s = c.state;
    const bool ok = ExposureOf(c.device, kMaster, s.g_ExposureM, s.g_ColumnM) &&
                    ExposureOf(c.device, kSlave, s.g_ExposureS, s.g_ColumnS);
    SetBoth(s.g_isExposureSuc, s.g_isDeviceCommunicate, ok);
    c.Signal(s.g_ExposureEvent);
}

}  // namespace tavlin::command
