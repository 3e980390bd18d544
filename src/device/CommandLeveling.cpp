// The leveling requests: served only while the preview worker runs.
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

// Both sensors' part of a request: the Slave's is asked only after the Master's worked.
template <class PerSensor>
Result BothSensors(PerSensor perSensor) {
    Result r = perSensor(kMaster);
    if (r) {
        r = perSensor(kSlave);
    }
    return r;
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
    uint8_t chunks[2][256];  // any count a request can carry, also one the protocol refuses
    bool read[2] = {false, false};
    Result r = Result::Fail(ResultCode::BadInput, "preview chunk outside the image");
    if (fits) {
        r = BothSensors([&](int sensor) {
            Result one = PreviewRead(c.device, block->source, block->mode, block->count, sensor,
                                     chunks[sensor]);
            read[sensor] = one.ok();
            return one;
        });
    }
    c.Finish(r, s.g_PreviewDataEvent, [&] {
        // Only bytes that were read land in the image: a failed read's 0xFF fill would paint a
        // white stripe over the last good picture, which the next cycle refreshes anyway.
        uint8_t* images[2] = {master, slave};
        for (int sensor : {kMaster, kSlave}) {
            if (read[sensor]) {
                std::memcpy(images[sensor] + block->destination, chunks[sensor], block->count);
            }
        }
        SetBoth(s.g_isDeviceCommunicate, s.g_PreviewSucFlag, static_cast<bool>(r));
    });
}

void ServeSearchStartLine(CommandContext& c) {
    if (!PreviewRunning(c)) {
        return;
    }
    SharedState& s = c.state;
    const auto block = c.Block<StartLineSearchParam>();
    int lines[2] = {s.g_StartLineM, s.g_StartLineS};
    bool searched[2] = {false, false};
    Result r = ShortBlock();
    if (block) {
        r = BothSensors([&](int sensor) {
            searched[sensor] = true;
            return StartLineSearch(c.device, sensor, block->low, block->high, &lines[sensor]);
        });
    }
    c.Finish(r, s.g_SearchStartLineEvent, [&] {
        if (searched[kMaster]) {
            s.g_StartLineM = lines[kMaster];
        }
        if (searched[kSlave]) {
            s.g_StartLineS = lines[kSlave];
        }
        s.g_SearchStartLine = r ? 1 : 0;
    });
}

void ServeConfigStartLine(CommandContext& c) {
    if (!PreviewRunning(c)) {
        return;
    }
    SharedState& s = c.state;
    // The sensor and its start line as the poster had them: a slider or the search may change
    // either before this request is served.
    const bool master = c.message.meaning.sensor == 0;
    const Result r = StartLineConfig(c.device, master ? kMaster : kSlave,
                                     static_cast<uint16_t>(c.message.meaning.startLine));
    c.Finish(r, s.g_ConfigStartLineEvent, [&] { s.g_OptimumStartLine = r ? 1 : 0; });
}

void ServeSearchColumn(CommandContext& c) {
    if (!PreviewRunning(c)) {
        return;
    }
    SharedState& s = c.state;
    const bool master = c.message.meaning.sensor == 0;  // the poster's choice, taken as it posted
    int first = 0;
    int second = 0;
    const Result r = ColumnSearch(c.device, master ? kMaster : kSlave, &first, &second);
    c.Finish(r, s.g_SearchColumnEvent, [&] {
        auto& columns = master ? s.g_ColumnM : s.g_ColumnS;
        columns[0] = first;
        columns[1] = second;
        s.g_SearchColumn = r ? 1 : 0;
    });
}

void ServeOptimizeLine(CommandContext& c) {
    if (!PreviewRunning(c)) {
        return;
    }
    SharedState& s = c.state;
    std::array<LineRecord, kLineRecords> lines[2];
    bool asked[2] = {false, false};
    const Result r = BothSensors([&](int sensor) {
        asked[sensor] = true;
        return LineOptimize(c.device, sensor, lines[sensor].data());
    });
    c.Finish(r, s.g_OptimumLineEvent, [&] {
        if (asked[kMaster]) {
            s.g_LineInfoM = lines[kMaster];
        }
        if (asked[kSlave]) {
            s.g_LineInfoS = lines[kSlave];
        }
        SetBoth(s.g_OptimumLineFlag, s.g_isDeviceCommunicate, static_cast<bool>(r));
    });
}

namespace {

// One sensor's exposure and columns; a failed adjustment leaves the columns as they were.
struct Exposure {
    bool asked = false;
    uint8_t bytes[2] = {0xFF, 0xFF};
    int columns[2] = {0, 0};
};

void Store(const Exposure& e, std::array<std::atomic<uint8_t>, 2>& exposure,
           std::array<std::atomic<int>, 2>& columns) {
    if (!e.asked) {
        return;
    }
    exposure[0] = e.bytes[0];
    exposure[1] = e.bytes[1];
    columns[0] = e.columns[0];
    columns[1] = e.columns[1];
}

}  // namespace

void ServeExposure(CommandContext& c) {
    if (!PreviewRunning(c)) {
        return;
    }
    SharedState& s = c.state;
    Exposure found[2];
    found[kMaster].columns[0] = s.g_ColumnM[0];
    found[kMaster].columns[1] = s.g_ColumnM[1];
    found[kSlave].columns[0] = s.g_ColumnS[0];
    found[kSlave].columns[1] = s.g_ColumnS[1];
    const Result r = BothSensors([&](int sensor) {
        Exposure& e = found[sensor];
        e.asked = true;
        return ExposureAdjust(c.device, sensor, e.bytes, &e.columns[0], &e.columns[1]);
    });
    c.Finish(r, s.g_ExposureEvent, [&] {
        Store(found[kMaster], s.g_ExposureM, s.g_ColumnM);
        Store(found[kSlave], s.g_ExposureS, s.g_ColumnS);
        SetBoth(s.g_isExposureSuc, s.g_isDeviceCommunicate, static_cast<bool>(r));
    });
}

}  // namespace tavlin::command
