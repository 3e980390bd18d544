#include "calibration/CalibrationDataThread.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "base/Log.h"
#include "base/StringTable.h"
#include "calibration/CalibrationTexts.h"
#include "device/Requests.h"

namespace tavlin {
namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t kStartPasses = 100;
constexpr uint32_t kSendScreenSize = kCalTargetCount;
constexpr int kSamplesPerTarget = 20;
constexpr uint8_t kSampleKind = 0x00;
constexpr uint8_t kReleaseCheckKind = 0xFF;

// A request the device did not carry out: its own outcome, or a refusal when the link
// reported success but the result flag stayed clear.
Result Failed(const char* what, const Result& outcome) {
    return outcome.ok() ? Result::Fail(ResultCode::Refused,
                                       std::string(what) + ": the device did not take it")
                        : Result::Fail(outcome.code(), std::string(what) + ": " + outcome.reason());
}

}  // namespace

std::string FinishingText(int percent) {
    char text[256];
    std::snprintf(text, sizeof text, Tr(caltext::kFinishing).c_str(), percent);
    return text;
}

void CalibrationView::ShowFinishing(int percent) {
    SetInstructionText(FinishingText(percent));
}

CalibrationDataThread::CalibrationDataThread(SharedState& state, CalibrationView& view,
                                             Timing timing)
    : state_(state), view_(view), timing_(timing) {}

bool CalibrationDataThread::Start(const CalibrationLayout& layout) {
    if (slot_.Running()) {
        return false;
    }
    slot_.Stop();  // joins a run that has just ended, so its counters are ours again
    layout_ = layout;
    startCounter_ = 0;
    targetIndex_ = 0;
    finishingCounter_ = 0;
    openingAtStart_ = state_.deviceOpenings;
    // A run stopped at a target leaves its samples counted there; they belong to that run.
    state_.g_CalPointCount = 0;
    return slot_.Start(this, [this] { Run(); });
}

Result CalibrationDataThread::outcome() const {
    std::lock_guard lock(outcomeMutex_);
    return outcome_;
}

void CalibrationDataThread::Run() {
    End(state_.g_bDevExist != 0 ? Passes()
                                : Result::Fail(ResultCode::NoDevice, "no device at the start"));
}

Result CalibrationDataThread::Passes() {
    for (;;) {
        if (slot_.StopRequested()) {
            return Result::Fail(ResultCode::Stopped, "calibration stopped");
        }
        Result step;
        if (startCounter_ == 0) {
            step = Initialise();
        } else if (startCounter_ < kStartPasses) {
            if (++startCounter_ == kStartPasses) {
                Draw(0, CalibrationView::Crosshair::Cross);
            }
        } else if (targetIndex_ < kSendScreenSize) {
            step = CollectAt();
        } else if (targetIndex_ == kSendScreenSize) {
            step = SendScreenSize();
        } else if (Finishing()) {
            return Result::Ok();
        }
        if (!step.ok()) {
            return step;
        }
        if (state_.g_bDevExist == 0) {
            return Result::Fail(ResultCode::DeviceGone, "the device went away");
        }
    }
}

Result CalibrationDataThread::Initialise() {
    const Wait wait = Ask(WM_CAL_INIT, nullptr, 0, state_.g_CalInitEvent, timing_.answerLimitMs);
    if (wait.kind == Wait::Kind::Stopped) {
        return Result::Fail(ResultCode::Stopped, "calibration stopped");
    }
    const int initOk = state_.g_CalDataInitSuc;
    const int midway = state_.g_isMidwayExit;
    if (wait.kind != Wait::Kind::Answered || (initOk == 0 && midway == 0)) {
        Say(Tr(caltext::kInitFailed));
        WriteLog("Calibration init failed!\nret=%d,g_CalDataInitSuc=%d,g_isMidwayExit=%d\n,",
                 static_cast<int>(wait.code), initOk, midway);
        return Failed("calibration init", wait.result);
    }
    Say(Tr(caltext::kTouchTheCross));
    startCounter_ = 1;
    return Result::Ok();
}

Result CalibrationDataThread::OverLimit(int target, const char* what, Clock::time_point since) {
    if (timing_.targetLimitMs == 0 ||
        Clock::now() - since < std::chrono::milliseconds(timing_.targetLimitMs)) {
        return Result::Ok();
    }
    const uint32_t ms = timing_.targetLimitMs;
    const std::string limit =
        ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
    return Result::Fail(ResultCode::Timeout,
                        "target " + std::to_string(target) + " " + what + " within " + limit);
}

Result CalibrationDataThread::CollectAt() {
    const int target = static_cast<int>(targetIndex_);
    Clock::time_point lastValid = Clock::now();
    for (;;) {
        Draw(target, CalibrationView::Crosshair::Cross);
        if (Result r = Interrupted(); !r.ok()) {
            return r;
        }
        if (Result r = OverLimit(target, "got no valid sample", lastValid); !r.ok()) {
            return r;
        }
        const Wait wait = AskAt(target, kSampleKind, state_.g_CalPointEvent);
        if (wait.kind == Wait::Kind::Stopped) {
            return Interrupted();
        }
        // An invalid sample makes the command thread set the count back to 0.
        if (wait.kind != Wait::Kind::Answered || state_.g_CalPointFlag.exchange(0) == 0) {
            continue;
        }
        lastValid = Clock::now();
        if (++state_.g_CalPointCount >= kSamplesPerTarget) {
            break;
        }
    }
    ++targetIndex_;
    state_.g_CalPointCount = 0;
    if (targetIndex_ == kSendScreenSize) {
        return Result::Ok();  // the stylus may stay down on the last target
    }
    Draw(static_cast<int>(targetIndex_), CalibrationView::Crosshair::Cross);
    return WaitForRelease();
}

Result CalibrationDataThread::WaitForRelease() {
    const int target = static_cast<int>(targetIndex_);
    const Clock::time_point since = Clock::now();
    for (;;) {
        if (Result r = Interrupted(); !r.ok()) {
            return r;
        }
        if (Result r = OverLimit(target, "saw the stylus stay down", since); !r.ok()) {
            return r;
        }
        const Wait wait = AskAt(target, kReleaseCheckKind, state_.g_CalCheckEvent);
        if (wait.kind == Wait::Kind::Stopped) {
            return Interrupted();
        }
        if (wait.kind == Wait::Kind::Answered && state_.g_CalCheckFlag.exchange(0) != 0) {
            return Result::Ok();
        }
    }
}

Result CalibrationDataThread::SendScreenSize() {
    Draw(kCalTargetCount - 1, CalibrationView::Crosshair::Blank);
    SayFinishing(0);
    const CalParamBlock block{state_.g_ScreenWidth, state_.g_ScreenHeight};
    const Wait wait = Ask(WM_CAL_PARAM, &block, sizeof block, state_.g_CalParamEvent, INFINITE);
    if (wait.kind == Wait::Kind::Stopped) {
        return Result::Fail(ResultCode::Stopped, "calibration stopped");
    }
    if (wait.kind != Wait::Kind::Answered || state_.g_CalParamSuc.exchange(0) == 0) {
        // Collected but not kept: the operator must not take the run for a finished one.
        Say(Tr(caltext::kScreenSizeFailed));
        return Failed("screen size", wait.result);
    }
    targetIndex_ = kSendScreenSize + 1;
    return Result::Ok();
}

bool CalibrationDataThread::Finishing() {
    const int percent = static_cast<int>(4 * ++finishingCounter_ / 7);
    if (percent < 100) {
        SayFinishing(percent);
        return false;
    }
    SayFinishing(100);
    finishingCounter_ = 0;
    targetIndex_ = 0;
    return true;
}

void CalibrationDataThread::End(const Result& outcome) {
    state_.g_CalThread = nullptr;
    const int communicating = state_.g_isDeviceCommunicate;
    const int present = state_.g_bDevExist;
    if (present == 0 || communicating == 0) {
        WriteLog("CalibrationDataThread exit!\ng_isDeviceCommunicate=%d,g_bDevExist=%d!\n",
                 communicating, present);
    }
    // A device that refused or did not answer is still there: its failure text stays, and the
    // operator is not sent to look at the cable.
    if (present == 0 || outcome.code() == ResultCode::DeviceGone) {
        Say(Tr(caltext::kUnplugged));
    }
    // Only a run that went all the way says so; an init that once worked is not enough.
    if (outcome.ok()) {
        Say(Tr(caltext::kCompleted));
    }
    state_.g_isMidwayExit = 0;
    state_.g_isDeviceCommunicate = 1;
    {
        std::lock_guard lock(outcomeMutex_);
        outcome_ = outcome;
    }
    view_.RequestClose();
}

CalibrationDataThread::Wait CalibrationDataThread::Ask(uint32_t message, const void* block,
                                                       size_t size, Event& event,
                                                       uint32_t limitMs) {
    const auto start = Clock::now();
    const RequestHandle request =
        PostRequest(state_, message, block, size, static_cast<uint32_t>(size));
    const auto ended = [&](Wait::Kind kind, uint32_t code) {
        return Wait{kind, code,
                    kind == Wait::Kind::Stopped
                        ? Result::Fail(ResultCode::Stopped, "calibration stopped")
                        : RequestOutcome(request, code)};
    };
    for (;;) {
        const auto elapsed = static_cast<uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
        if (limitMs != INFINITE && elapsed >= limitMs) {
            // Given up only now; an answer being published this very moment still counts.
            const uint32_t code = WaitRequest(request, event, 0);
            return ended(code == WAIT_OBJECT_0 ? Wait::Kind::Answered : Wait::Kind::Unanswered,
                         code);
        }
        const uint32_t slice =
            limitMs == INFINITE ? timing_.sliceMs : std::min(timing_.sliceMs, limitMs - elapsed);
        // Slices wait on the request itself: a WaitRequest that runs out gives the request up,
        // and a device slower than one slice would never be heard.
        if (!request || request->handled.Wait(slice) == WAIT_OBJECT_0) {
            const uint32_t code = WaitRequest(request, event, 0);
            if (code == WAIT_OBJECT_0) {
                return ended(Wait::Kind::Answered, code);
            }
            // Done with but not answered (no reply, a refusal, no command thread): the device
            // gets the rest of the limit before it is asked again.
            if (limitMs != INFINITE && slot_.WaitForStop(limitMs - elapsed)) {
                return ended(Wait::Kind::Stopped, WAIT_TIMEOUT);
            }
            return ended(Wait::Kind::Unanswered, code == WAIT_FAILED ? WAIT_FAILED : WAIT_TIMEOUT);
        }
        if (slot_.StopRequested()) {
            WaitRequest(request, event, 0);  // gives it up: nothing is published for it now
            return ended(Wait::Kind::Stopped, WAIT_TIMEOUT);
        }
    }
}

CalibrationDataThread::Wait CalibrationDataThread::AskAt(int target, uint8_t kind, Event& event) {
    const CalTarget& t = layout_.targets[target];
    const ScreenSize screen = view_.CurrentScreenSize();
    const LayoutPoint at =
        TargetPosition(t, state_.g_ScreenWidth, state_.g_ScreenHeight, screen.width, screen.height);
    const auto x = static_cast<uint16_t>(at.x);
    const auto y = static_cast<uint16_t>(at.y);
    const CalPointBlock block{{TargetCode(t), static_cast<uint8_t>(target),
                               static_cast<uint8_t>(x & 0xFF), static_cast<uint8_t>(x >> 8),
                               static_cast<uint8_t>(y & 0xFF), static_cast<uint8_t>(y >> 8)},
                              kind};
    return Ask(WM_CAL_POINT, &block, sizeof block, event, timing_.answerLimitMs);
}

Result CalibrationDataThread::Interrupted() {
    if (state_.g_bDevExist == 0) {
        return Result::Fail(ResultCode::DeviceGone, "the device went away");
    }
    // A restarted device lost what it had collected and was never initialised for this run.
    if (state_.deviceOpenings != openingAtStart_) {
        return Result::Fail(ResultCode::DeviceGone,
                            "the device went away and came back during the calibration");
    }
    if (slot_.StopRequested()) {
        return Result::Fail(ResultCode::Stopped, "calibration stopped");
    }
    return Result::Ok();
}

void CalibrationDataThread::Say(const std::string& text) {
    if (state_.g_isMidwayExit == 0) {
        view_.SetInstructionText(text);
    }
}

void CalibrationDataThread::SayFinishing(int percent) {
    if (state_.g_isMidwayExit == 0) {
        view_.ShowFinishing(percent);
    }
}

void CalibrationDataThread::Draw(int target, CalibrationView::Crosshair mode) {
    if (state_.g_isMidwayExit != 0) {
        return;
    }
    const ScreenSize screen = view_.CurrentScreenSize();
    const LayoutPoint at = TargetPosition(layout_.targets[target], state_.g_ScreenWidth,
                                          state_.g_ScreenHeight, screen.width, screen.height);
    view_.DrawTarget(target, at.x, at.y, mode);
}

}  // namespace tavlin
