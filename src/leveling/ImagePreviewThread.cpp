// The worker's life: start, the loop of search and preview cycles, and the ending.
#include "leveling/ImagePreviewThread.h"

#include "base/Log.h"
#include "base/StringTable.h"
#include "base/Unexpected.h"
#include "device/CommandThread.h"

namespace tavlin {

bool ImagePreviewThread::Start() {
    if (slot_.Running()) {
        return false;  // a worker runs: its stop and end signals are its own
    }
    // No worker runs, so nobody else touches these now. The slot clears a stop that came too
    // late for the earlier worker and its finished event before it publishes the handle.
    cycles_ = 0;
    brokenInARow_ = 0;
    limitReached_ = false;
    settled_.Reset();
    return slot_.Start(this, [this] { Body(); });
}

void ImagePreviewThread::WaitSettled() {
    settled_.Wait(INFINITE);
    if (!limitReached_) {
        // It ended: until its handle is gone too, so Running() says so.
        state_.g_PreviewExitEvent.Wait(INFINITE);
    }
}

Result ImagePreviewThread::result() const {
    std::lock_guard lock(resultMutex_);
    return result_;
}

uint32_t ImagePreviewThread::Ask(uint32_t message, Event& done, const void* block, size_t size,
                                 int* ownResult, const RequestMeaning& meaning) {
    // WaitRequest ends once the command thread is done with this very request, also when it
    // drops it or exits: the worker never waits on a request nobody will answer.
    const RequestHandle request = PostRequest(state_, message, meaning, block, size);
    const uint32_t ret = WaitRequest(request, done, INFINITE);
    if (ownResult != nullptr) {
        // A request the command thread ended without answering (dropped, or left at its exit)
        // did not succeed, whatever its record holds.
        *ownResult = RequestOutcome(request, ret).ok() ? 1 : 0;
    }
    return ret;
}

void ImagePreviewThread::ShowBoth(const std::string& text) {
    view_.SetStatus(kMaster, text);
    view_.SetStatus(kSlave, text);
}

Result ImagePreviewThread::Fail(int textId, bool show, const std::string& reason) {
    if (show) {
        ShowBoth(LoadString(textId));
    }
    return Result::Fail(ResultCode::Failed, reason);
}

bool ImagePreviewThread::StopOrGone() {
    return state_.g_bDevExist == 0 || slot_.StopRequested();
}

void ImagePreviewThread::Body() {
    Result outcome;
    for (;;) {
        if (state_.g_isSearchDone == 0) {
            outcome = Search();
            if (!outcome.ok()) {
                break;
            }
        }
        if (cycleLimit_ != 0 &&
            (cycles_ >= cycleLimit_ || brokenInARow_ >= kMaxBrokenPicturesInARow)) {
            limitReached_ = true;
            settled_.Set();
            slot_.WaitForStop(INFINITE);
            break;
        }
        outcome = PreviewCycle();
        if (outcome.code() == ResultCode::Stopped) {
            outcome = Result::Ok();  // asked to stop, or the device went: the ending tells
            break;
        }
        if (!outcome.ok()) {
            break;
        }
    }
    End(outcome);
}

void ImagePreviewThread::End(const Result& outcome) {
    SharedState& s = state_;
    Result final = outcome;
    if (s.g_bDevExist == 0 || s.g_isDeviceCommunicate == 0) {
        WriteLog("ImagePreviewThread exit!\ng_isDeviceCommunicate=%d,g_bDevExist=%d!\n",
                 s.g_isDeviceCommunicate.load(), s.g_bDevExist.load());
        view_.SetStatus(kSlave, LoadString(IDS_LEVEL_UNPLUGGED));
        view_.SetStatus(kMaster, LoadString(IDS_LEVEL_UNPLUGGED));
        if (s.g_bDevExist == 0) {
            final = Result::Fail(ResultCode::DeviceGone, "the device went away while leveling");
        }
    }
    {
        std::lock_guard lock(resultMutex_);
        result_ = final;
    }
    s.g_isMidwayExit = 0;
    s.g_SearchStartLine = 0;
    s.g_OptimumStartLine = 0;
    s.g_SearchColumn = 0;
    s.g_OptimumLineFlag = 0;
    s.g_PreviewSucFlag = 0;
    s.g_isDeviceCommunicate = 1;
    if (endingHook_) {
        endingHook_();
    }
    // The slot clears the handle and sets the finished event after this.
    settled_.Set();
}

Result ImagePreviewThread::PreviewCycle() {
    SharedState& s = state_;
    if (StopOrGone()) {
        return Result::Fail(ResultCode::Stopped, "stopped before the stitching");
    }
    const uint32_t ret = Ask(WM_OPTIMIZE_LINE, s.g_OptimumLineEvent);
    const int flag = s.g_OptimumLineFlag;
    if (ret != WAIT_OBJECT_0 || flag == 0) {
        const int midway = s.g_isMidwayExit;
        WriteLog(
            "ImagePreviewThread: Optimalize Line failed!\nret=%d,g_OptimumLineFlag=%d,"
            "g_isMidwayExit=%d!\n",
            static_cast<int>(ret), flag, midway);
        return Fail(IDS_STITCH_FAILED, ret != WAIT_OBJECT_0 || midway == 0,
                    "line stitching failed");
    }
    const Result chunks = FetchChunks();
    if (chunks.code() == ResultCode::Stopped) {
        return chunks;
    }
    {
        std::lock_guard lock(resultMutex_);
        picture_ = chunks;
    }
    for (int sensor : {kMaster, kSlave}) {
        PreviewFrame frame;
        if (CapturePreviewFrame(s, sensor, &frame)) {
            view_.DrawPreview(sensor, frame);
        }
    }
    s.g_OptimumLineFlag = 0;
    // A picture with chunks missing is shown, but it is not a preview cycle that ran: a caller
    // waiting for whole cycles must not take it for one. The next cycle starts all the same.
    if (chunks.ok()) {
        ++cycles_;
        brokenInARow_ = 0;
    } else {
        ++brokenInARow_;
    }
    return Result::Ok();
}

Result ImagePreviewThread::FetchChunks() {
    SharedState& s = state_;
    constexpr int kChunks = 95;
    for (int i = 0; i < kChunks; ++i) {
        if (StopOrGone()) {
            return Result::Fail(ResultCode::Stopped, "stopped between chunks");
        }
        if (i == 0) {
            chunk_.mode = 1;
        } else if (i == 84) {
            chunk_.mode = 2;
        }
        if (i <= 82) {
            chunk_.source = static_cast<uint16_t>(61 * i);
            chunk_.count = 61;
            chunk_.destination = chunk_.source;
        } else if (i == 83) {
            chunk_ = {chunk_.mode, 5063, 57, 5063};
        } else if (i <= 93) {
            chunk_.source = static_cast<uint16_t>(61 * (i - 84));
            chunk_.count = 61;
            chunk_.destination = static_cast<uint16_t>(5120 + chunk_.source);
        } else {
            chunk_ = {chunk_.mode, 610, 30, 5730};
        }
        // Posted here rather than through Ask: a failed chunk hands its own outcome up.
        const RequestHandle request = PostRequest(s, WM_GET_PREVIEW_DATA, &chunk_, sizeof chunk_);
        const uint32_t ret = WaitRequest(request, s.g_PreviewDataEvent, INFINITE);
        const int flag = s.g_PreviewSucFlag;
        if (ret != WAIT_OBJECT_0 || flag == 0) {
            // The picture keeps what was refreshed so far; the next cycle starts at once.
            WriteLog(
                "ImagePreviewThread: GetPreviewData failed!\nret=%d,g_PreviewSucFlag=%d,"
                "g_isMidwayExit=%d!\n",
                static_cast<int>(ret), flag, s.g_isMidwayExit.load());
            const Result outcome = RequestOutcome(request, ret);
            const std::string what = "preview chunk " + std::to_string(i);
            return outcome.ok() ? Result::Fail(ResultCode::Refused, what + ": no data")
                                : Result::Fail(outcome.code(), what + ": " + outcome.reason());
        }
        s.g_PreviewSucFlag = 0;
    }
    return Result::Ok();
}

Result ImagePreviewThread::pictureResult() const {
    std::lock_guard lock(resultMutex_);
    return picture_;
}

}  // namespace tavlin
