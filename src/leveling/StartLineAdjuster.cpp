#include "leveling/StartLineAdjuster.h"

#include "base/StringTable.h"
#include "device/CommandThread.h"
#include "leveling/LevelingControlIds.h"
#include "leveling/StatusText.h"

namespace tavlin {

std::optional<int> StartLineAdjuster::Arrow(int sensor, bool up, int sliderPosition) {
    const int position = sliderPosition & 0xFFFF;
    if (up ? position >= leveling::kSliderMax : position <= leveling::kSliderMin) {
        return std::nullopt;
    }
    auto& shared = sensor == kMaster ? state_.g_StartLineM : state_.g_StartLineS;
    // From the line itself, which may lie beyond the slider's range.
    const int line = shared += up ? 1 : -1;
    const int moved = position + (up ? 1 : -1);
    view_.SetSlider(sensor, moved);
    Apply(sensor, line);
    state_.g_SensorSel = kMaster;
    return moved;
}

void StartLineAdjuster::SliderMoved(int sensor, int position) {
    state_.g_SensorSel = sensor;
    (sensor == kMaster ? state_.g_StartLineM : state_.g_StartLineS) = position;
    Apply(sensor, position);
    state_.g_SensorSel = kMaster;
}

bool StartLineAdjuster::Apply(int sensor, int line) {
    SharedState& s = state_;
    // Each request says its sensor and line, and its own result is read: the worker may be
    // posting the same kinds for the other sensor meanwhile.
    RequestMeaning meaning;
    meaning.sensor = sensor;
    meaning.startLine = line;
    auto ask = [&](uint32_t message, Event& done, std::atomic<int>& flag) {
        s.g_SensorSel = sensor;
        const RequestHandle request = PostRequest(s, message, meaning);
        const bool ok = WaitRequest(request, done, INFINITE) == WAIT_OBJECT_0 &&
                        RequestOutcome(request, WAIT_OBJECT_0).ok();
        if (ok) {
            flag = 0;
        }
        return ok;
    };
    if (!ask(WM_CONFIG_START_LINE, s.g_ConfigStartLineEvent, s.g_OptimumStartLine) ||
        !ask(WM_SEARCH_COLUMN, s.g_SearchColumnEvent, s.g_SearchColumn)) {
        return false;  // the previous text stays
    }
    s.g_isExposureAdjusted = 0;
    if (s.g_isMidwayExit == 0) {
        const bool master = sensor == kMaster;
        const auto& columns = master ? s.g_ColumnM : s.g_ColumnS;
        view_.SetStatus(sensor, FormatString(IDS_ROW_SELECTED,
                                             (master ? s.g_StartLineM : s.g_StartLineS).load(),
                                             columns[0].load(), columns[1].load()));
    }
    return true;
}

}  // namespace tavlin
