#include "leveling/ExposureAdjust.h"

#include "base/Log.h"
#include "base/StringTable.h"
#include "device/CommandThread.h"
#include "leveling/StatusText.h"

namespace tavlin {
namespace {

std::string ExposureText(int startLine, const std::array<std::atomic<int>, 2>& columns,
                         const std::array<std::atomic<uint8_t>, 2>& exposure) {
    return FormatString(IDS_EXPOSURE_DONE, startLine, columns[0].load(), columns[1].load(),
                        static_cast<unsigned>(exposure[0]), static_cast<unsigned>(exposure[1]));
}

}  // namespace

Result AdjustExposure(SharedState& s, LevelingView& view) {
    // "Please wait" over the ending text of a worker that is gone would never be answered.
    const bool served = s.g_PreviewThread != nullptr;
    if (s.g_isMidwayExit == 0 && served) {
        view.SetStatus(kMaster, LoadString(IDS_EXPOSURE_RUNNING));
        view.SetStatus(kSlave, LoadString(IDS_EXPOSURE_RUNNING));
    }
    s.g_isExposureSuc = 0;
    const uint32_t ret = WaitRequest(PostRequest(s, WM_EXPOSURE), s.g_ExposureEvent, INFINITE);
    Result result;
    if (ret != WAIT_OBJECT_0) {
        WriteLog("Exposure failed!\nret=%d,g_isExposureSuc=%d,g_isMidwayExit=%d\n",
                 static_cast<int>(ret), s.g_isExposureSuc.load(), s.g_isMidwayExit.load());
        result = Result::Fail(ResultCode::Failed, "the exposure request was not answered");
    } else if (s.g_isExposureSuc == 0) {
        if (s.g_isMidwayExit == 0) {
            view.SetStatus(kMaster, LoadString(IDS_EXPOSURE_FAILED));
            view.SetStatus(kSlave, LoadString(IDS_EXPOSURE_FAILED));
            WriteLog("Exposure failed!\nret=%d,g_isExposureSuc=%d,g_isMidwayExit=%d\n", 0,
                     s.g_isExposureSuc.load(), s.g_isMidwayExit.load());
        }
        result = Result::Fail(ResultCode::Failed, "the device could not adjust the exposure");
    } else if (s.g_isMidwayExit == 0) {
        view.SetStatus(kMaster, ExposureText(s.g_StartLineM, s.g_ColumnM, s.g_ExposureM));
        view.SetStatus(kSlave, ExposureText(s.g_StartLineS, s.g_ColumnS, s.g_ExposureS));
    }
    s.g_isExposureAdjusted = 1;
    return result;
}

}  // namespace tavlin
