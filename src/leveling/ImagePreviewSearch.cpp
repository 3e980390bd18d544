// The worker's search: start lines of both sensors, their configuration, the columns.
#include "base/Log.h"
#include "base/StringTable.h"
#include "leveling/ImagePreviewThread.h"
#include "leveling/StatusText.h"

namespace tavlin {

Result ImagePreviewThread::Search() {
    SharedState& s = state_;
    s.g_isSearchDone = 1;
    searchParam_ = {200, 300};
    if (s.g_isMidwayExit == 0) {
        ShowBoth(LoadString(IDS_SEARCHING));
    }

    uint32_t ret =
        Ask(WM_SEARCH_START_LINE, s.g_SearchStartLineEvent, &searchParam_, sizeof searchParam_);
    if (ret != WAIT_OBJECT_0 || (s.g_SearchStartLine == 0 && s.g_isMidwayExit == 0)) {
        WriteLog(
            "ImagePreviewThread: Search Startline failed!\nret=%d,g_SearchStartLine=%d,"
            "g_isMidwayExit=%d!\n",
            static_cast<int>(ret), s.g_SearchStartLine.load(), s.g_isMidwayExit.load());
        return Fail(IDS_STARTLINE_SEARCH_FAILED, true, "start line search failed");
    }
    s.g_SearchStartLine = 0;
    // A line the device cannot start at (0, past 640, 0xFFFF after a failed exchange) is a
    // failed search whatever the flag said.
    const int lineM = s.g_StartLineM;
    const int lineS = s.g_StartLineS;
    if (static_cast<unsigned>(lineM - 1) > 639u || static_cast<unsigned>(lineS - 1) > 639u) {
        WriteLog(
            "ImagePreviewThread: Search Startline failed!\ng_StartLineM = 0x%04x,"
            "g_StartLineS=0x%04x\n",
            lineM, lineS);
        return Fail(IDS_STARTLINE_SEARCH_FAILED, true, "start line out of range");
    }

    for (int sensor : {kMaster, kSlave}) {
        s.g_SensorSel = sensor;
        // The window's arrows and sliders post the same kinds meanwhile, and select their own
        // sensor: each request says its sensor and line, and its own result is read.
        RequestMeaning meaning;
        meaning.sensor = sensor;
        meaning.startLine = sensor == kMaster ? lineM : lineS;
        int configured = 0;
        ret = Ask(WM_CONFIG_START_LINE, s.g_ConfigStartLineEvent, nullptr, 0, &configured, meaning);
        if (ret != WAIT_OBJECT_0 || (configured == 0 && s.g_isMidwayExit == 0)) {
            WriteLog(
                "ImagePreviewThread: Config Startline failed!\nret=%d,g_OptimumStartLine=%d,"
                "g_isMidwayExit=%d!\n",
                static_cast<int>(ret), configured, s.g_isMidwayExit.load());
            return Fail(IDS_STARTLINE_CONFIG_FAILED, true, "start line configuration failed");
        }
        s.g_OptimumStartLine = 0;
    }
    s.g_SensorSel = kMaster;
    view_.SetSlider(kMaster, s.g_StartLineM);
    view_.SetSlider(kSlave, s.g_StartLineS);

    for (int sensor : {kMaster, kSlave}) {
        s.g_SensorSel = sensor;
        RequestMeaning meaning;
        meaning.sensor = sensor;
        int flag = 0;
        ret = Ask(WM_SEARCH_COLUMN, s.g_SearchColumnEvent, nullptr, 0, &flag, meaning);
        if (ret != WAIT_OBJECT_0 || flag == 0) {
            const int midway = s.g_isMidwayExit;
            WriteLog(
                "ImagePreviewThread: Search Column failed!\nret=%d,g_SearchColumn=%d,"
                "g_isMidwayExit=%d!\n",
                static_cast<int>(ret), flag, midway);
            s.g_SensorSel = kMaster;
            return Fail(IDS_COLUMN_SEARCH_FAILED, ret != WAIT_OBJECT_0 || midway == 0,
                        "column search failed");
        }
        s.g_SearchColumn = 0;
    }
    s.g_SensorSel = kMaster;
    if (s.g_isMidwayExit == 0) {
        view_.SetStatus(kMaster, FormatString(IDS_ROW_SELECTED, s.g_StartLineM.load(),
                                              s.g_ColumnM[0].load(), s.g_ColumnM[1].load()));
        view_.SetStatus(kSlave, FormatString(IDS_ROW_SELECTED, s.g_StartLineS.load(),
                                             s.g_ColumnS[0].load(), s.g_ColumnS[1].load()));
    }
    return Result::Ok();
}

}  // namespace tavlin
