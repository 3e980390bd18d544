#include "cli/CliCalibrate.h"
#include "cli/OutputFlush.h"

#include <unistd.h>

#include <charconv>
#include <mutex>

#include "base/FillText.h"
#include "base/StringTable.h"
#include "calibration/CalibrationLayout.h"
#include "calibration/CalibrationTexts.h"
#include "cli/CliDevices.h"
#include "cli/CliSession.h"
#include "cli/UsageTexts.h"
#include "console/ToolLauncher.h"

namespace tavlin::cli {
namespace {

constexpr int kMaxScreen = 32767;

bool ParseDimension(std::string_view text, int* value) {
    if (text.empty() || text.size() > 5) {
        return false;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *value);
    return error == std::errc() && end == text.data() + text.size() && *value >= 1 &&
           *value <= kMaxScreen;
}

// The calibration window as a terminal: instruction texts are printed as they come, and a
// target line each time the crosshair moves on; the close request ends the wait. The finishing
// percentage is printed once per value: on a terminal as one line redrawn in place (as the FPGA
// download's bar), elsewhere one line each.
class TerminalCalibrationView : public CalibrationView {
  public:
    TerminalCalibrationView(CliOutput& out, ScreenSize screen)
        : out_(out),
          stream_(out.stream()),
          screen_(screen),
          inPlace_(isatty(fileno(stream_)) != 0) {}

    void SetInstructionText(const std::string& text) override {
        std::lock_guard lock(mutex_);
        EndLine();
        out_.Line(text);
    }
    void ShowFinishing(int percent) override {
        std::lock_guard lock(mutex_);
        if (percent == shownPercent_) {
            return;
        }
        shownPercent_ = percent;
        std::string text = FinishingText(percent);
        if (!inPlace_) {
            out_.Line(text);
            return;
        }
        while (!text.empty() && text.back() == '\n') {
            text.pop_back();
        }
        std::fprintf(stream_, "\r%s", text.c_str());
        lineOpen_ = true;  // ended by the next text, or by Finish
        FlushOutput(stream_);
        out_.Keep(text);
    }
    void DrawTarget(int target, int x, int y, Crosshair mode) override {
        std::lock_guard lock(mutex_);
        if (mode == Crosshair::Cross && target != shownTarget_) {
            EndLine();
            shownTarget_ = target;
            out_.Line("target " + std::to_string(target) + " (" + std::to_string(x) + ", " +
                      std::to_string(y) + ")");
        }
    }
    void RequestClose() override { closed_.Set(); }
    ScreenSize CurrentScreenSize() const override { return screen_; }

    void WaitForClose() { closed_.Wait(INFINITE); }
    // Ends a line left open in place, so what follows starts on a line of its own.
    void Finish() {
        std::lock_guard lock(mutex_);
        EndLine();
        FlushOutput(stream_);
    }

  private:
    void EndLine() {
        if (lineOpen_) {
            std::fputc('\n', stream_);
            lineOpen_ = false;
        }
    }

    CliOutput& out_;
    std::FILE* stream_;
    const ScreenSize screen_;
    const bool inPlace_;
    std::mutex mutex_;
    int shownTarget_ = -1;
    int shownPercent_ = -1;
    bool lineOpen_ = false;
    Event closed_{Event::Kind::ManualReset};
};

}  // namespace

bool ParseScreenSize(const std::string& text, int* width, int* height) {
    const size_t x = text.find('x');
    return x != std::string::npos && ParseDimension(std::string_view(text).substr(0, x), width) &&
           ParseDimension(std::string_view(text).substr(x + 1), height);
}

bool ParseCalibrationCommand(const std::string& name, const std::vector<std::string>& args,
                             Invocation* out, std::string* error) {
    std::string size;
    if (name == "layout") {
        if (args.size() != 1) {
            *error = Tr(usage::kLayoutArgument);
            return false;
        }
        out->command = Command::Layout;
        size = args[0];
    } else {
        out->command = Command::Calibrate;
        for (size_t i = 0; i < args.size(); i += 2) {
            if (i + 1 >= args.size() || (args[i] != "--screen" && args[i] != "--target-limit")) {
                *error = Tr(usage::kCalibrateOptions);
                return false;
            }
            if (args[i] == "--screen") {
                size = args[i + 1];
                continue;
            }
            int seconds = 0;
            const std::string& text = args[i + 1];
            const auto [end, failure] =
                std::from_chars(text.data(), text.data() + text.size(), seconds);
            if (failure != std::errc() || end != text.data() + text.size() || seconds < 1 ||
                seconds > 3600) {
                *error = FillText(Tr(usage::kSeconds), {text});
                return false;
            }
            out->targetLimitMs = static_cast<uint32_t>(seconds) * 1000;
        }
        if (size.empty()) {
            return true;
        }
    }
    if (!ParseScreenSize(size, &out->screenWidth, &out->screenHeight)) {
        *error = FillText(Tr(usage::kScreenSize), {size});
        return false;
    }
    return true;
}

std::vector<RunReport::Target> LayoutTargets(int width, int height) {
    const CalibrationLayout layout = ComputeCalibrationLayout(width, height);
    std::vector<RunReport::Target> targets;
    for (int t = 0; t < kCalTargetCount; ++t) {
        const LayoutPoint at = TargetPosition(layout.targets[t], width, height, width, height);
        targets.push_back({t, at.x, at.y, TargetCode(layout.targets[t])});
    }
    return targets;
}

int RunLayout(const Invocation& invocation, CliOutput& out, RunReport* report) {
    const auto targets = LayoutTargets(invocation.screenWidth, invocation.screenHeight);
    for (const RunReport::Target& t : targets) {
        out.Line(std::to_string(t.number) + " " + std::to_string(t.x) + " " + std::to_string(t.y) +
                 " " + std::to_string(t.code));
    }
    if (report != nullptr) {
        report->targets = targets;
        report->screen = std::make_pair(invocation.screenWidth, invocation.screenHeight);
    }
    return kExitSuccess;
}

Result RunCalibrate(const Invocation& invocation, SharedState& state, ConsoleView& host,
                    ModeSwitcher& modes, CliOutput& out, Interruption& interruption,
                    RunReport* report, CalibrationDataThread::Timing timing) {
    if (Result ready = LaunchResult(PrepareToolLaunch(ToolKind::Calibration, state, host, modes));
        !ready) {
        return ready;
    }
    const int w = invocation.screenWidth;
    const int h = invocation.screenHeight;
    if (report != nullptr) {
        report->screen = std::make_pair(w, h);
    }
    TerminalCalibrationView view(out, {w, h});
    view.SetInstructionText(LoadString(IDS_INITIALISING));
    state.g_ScreenWidth = static_cast<uint16_t>(w);
    state.g_ScreenHeight = static_cast<uint16_t>(h);
    state.g_isMidwayExit = 0;
    Result outcome = Result::Fail(ResultCode::NoDevice, "no device when the calibration began");
    // A station has no operator to press Esc: a target left without samples ends the run.
    timing.targetLimitMs = invocation.targetLimitMs;
    {
        CalibrationDataThread worker(state, view, timing);
        if (state.g_bDevExist == 0 || !worker.Start(ComputeCalibrationLayout(w, h))) {
            view.SetInstructionText(Tr(caltext::kNoDeviceAtStart));
        } else {
            if (report != nullptr) {
                report->targets = LayoutTargets(w, h);
            }
            // Ctrl+C is the operator's Esc: the window closes, the worker is stopped.
            const auto hook = interruption.OnRequest([&view] { view.RequestClose(); });
            view.WaitForClose();
            // The window's cancel path: the worker has ended; quiet, join.
            state.g_isMidwayExit = 1;
            worker.Stop();
            outcome = worker.outcome();
        }
        view.Finish();
    }
    // As the window does on closing; a failed wait there has shown and logged string 136.
    bool inWorkMode = false;
    const Result back = modes.ReturnToWorkMode(&inWorkMode);
    if (inWorkMode) {
        host.SetStatusText(LoadString(IDS_NOW_WORK_MODE));
    }
    // A station must not take a device left in calibration mode for a finished calibration.
    return outcome.ok() ? back : outcome;
}

}  // namespace tavlin::cli
