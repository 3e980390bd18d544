#include "cli/CliLevel.h"

#include <filesystem>
#include <mutex>
#include <system_error>

#include "base/FileTexts.h"
#include "base/FillText.h"
#include "base/Log.h"
#include "base/StringTable.h"
#include "cli/CliDevices.h"
#include "cli/PictureTexts.h"
#include "cli/PngImage.h"
#include "leveling/DrawPreview.h"
#include "leveling/ExposureAdjust.h"
#include "leveling/ImagePreviewThread.h"
#include "leveling/LevelingClose.h"
#include "leveling/LevelingLaunch.h"
#include "platform/FilePath.h"
#include "platform/RegularFile.h"

namespace tavlin::cli {
namespace {

// The leveling window on a terminal: each status text is one printed line (or more, where the
// text has line feeds of its own), each line led by its sensor's name, because the window's two
// boxes often say the same; the latest picture of each sensor is kept for --png.
class TerminalLevelingView : public LevelingView {
  public:
    explicit TerminalLevelingView(CliOutput& out) : out_(out) {}

    void SetStatus(int sensor, const std::string& text) override {
        const std::string prefix =
            LoadString(sensor == kMaster ? IDS_MASTER_PREFIX : IDS_SLAVE_PREFIX);
        std::string lines;
        size_t begin = 0;
        do {
            const size_t end = text.find('\n', begin);
            const std::string line =
                text.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
            // Blank lines inside a text stay blank.
            lines += (line.empty() ? line : prefix + line) + "\n";
            begin = end == std::string::npos ? text.size() : end + 1;
        } while (begin < text.size());
        std::lock_guard lock(mutex_);
        out_.Line(lines);
    }
    void SetSlider(int, int) override {}
    void DrawPreview(int sensor, const PreviewFrame& frame) override {
        std::lock_guard lock(mutex_);
        frames_[sensor == kMaster ? 0 : 1] = frame;
    }
    PreviewFrame frame(int sensor) const {
        std::lock_guard lock(mutex_);
        return frames_[sensor == kMaster ? 0 : 1];
    }

  private:
    CliOutput& out_;
    mutable std::mutex mutex_;
    PreviewFrame frames_[2];
};

const char* PictureName(int sensor) {
    return sensor == kMaster ? "master.png" : "slave.png";
}

// The pictures as the window paints them, red line included; the paths written go to `written`.
bool WritePictures(const TerminalLevelingView& view, const std::string& directory, CliOutput& out,
                   std::vector<std::string>* written) {
    const auto info = MakePreviewImageInfo();
    bool allWritten = true;
    for (int sensor : {kMaster, kSlave}) {
        PreviewPicture picture;
        DrawPreview(info.get(), view.frame(sensor), &picture);
        const std::string path = directory + "/" + PictureName(sensor);
        std::string error;
        if (!WritePngFile(path, kPictureWidth, kPictureHeight, picture.pixels, &error)) {
            WriteLog("Leveling picture not written: %s: %s\n", path.c_str(), error.c_str());
            out.Line(FillText(Tr(picture::kNotWritten), {path, error}));
            allWritten = false;
        } else {
            written->push_back(path);
        }
    }
    return allWritten;
}

RunReport::Sensor SensorParameters(const SharedState& s, int sensor, bool exposed) {
    const bool master = sensor == kMaster;
    const auto& columns = master ? s.g_ColumnM : s.g_ColumnS;
    RunReport::Sensor parameters{(master ? s.g_StartLineM : s.g_StartLineS).load(),
                                 columns[0].load(), columns[1].load(), std::nullopt};
    if (exposed) {
        const auto& exposure = master ? s.g_ExposureM : s.g_ExposureS;
        parameters.exposure = std::make_pair(unsigned{exposure[0]}, unsigned{exposure[1]});
    }
    return parameters;
}

}  // namespace

Result PreparePictureFolder(const Invocation& inv) {
    if (inv.command != Command::Level || inv.pngDir.empty()) {
        return Result::Ok();
    }
    // Asked for in a build that cannot make them: refused before the device is touched, not
    // after a whole leveling run.
    if (!CanEncodePng()) {
        return Result::Fail(ResultCode::BadInput, Tr(picture::kNoPictures));
    }
    std::error_code error;
    const std::filesystem::path folder = PathFromUtf8(inv.pngDir);
    std::filesystem::create_directories(folder, error);
    if (!error && !std::filesystem::is_directory(folder, error)) {
        error = std::make_error_code(std::errc::not_a_directory);
    }
    if (error) {
        return Result::Fail(ResultCode::BadInput, "cannot create the picture folder " + inv.pngDir +
                                                      ": " + ErrorText(error));
    }
    // Before the device is put in calibration mode: a FIFO in a picture's place would otherwise
    // be found only once the pictures are written.
    for (int sensor : {kMaster, kSlave}) {
        const std::string path = Utf8FromPath(folder / PictureName(sensor));
        if (IsThereButNotAFile(path)) {
            return Result::Fail(ResultCode::BadInput, FillText(Tr(filetext::kNotAFile), {path}));
        }
    }
    return Result::Ok();
}

Result RunLevel(const Invocation& inv, SharedState& state, ConsoleView& mainWindow,
                ModeSwitcher& modes, CliOutput& out, Interruption& interruption,
                RunReport* report) {
    const Result launch = PrepareLevelingLaunch(state, mainWindow, modes);
    if (!launch.ok()) {
        return launch;
    }
    TerminalLevelingView view(out);
    view.SetStatus(kMaster, LoadString(IDS_INITIALISING));
    view.SetStatus(kSlave, LoadString(IDS_INITIALISING));
    state.g_isMidwayExit = 0;
    state.g_isExposureAdjusted = 0;
    state.g_isSearchDone = 0;

    Result outcome;
    bool exposed = false;
    ImagePreviewThread worker(state, view);
    worker.SetCycleLimit(inv.frames);
    if (!worker.Start()) {
        outcome = Result::Fail(ResultCode::Busy, "a preview worker runs already");
    } else {
        {
            // The window's close, first step: quiet, then the worker's stop event. The close
            // itself follows below, as for every other ending.
            const auto hook = interruption.OnRequest([&state] {
                state.g_isMidwayExit = 1;
                state.g_PreviewStopEvent.Set();
            });
            worker.WaitSettled();
        }
        if (worker.Running() && inv.exposure && !interruption.requested()) {
            outcome = AdjustExposure(state, view);
            exposed = outcome.ok();
        }
    }
    StopPreviewForClose(state);
    if (interruption.requested() && outcome.ok()) {
        outcome = Result::Fail(ResultCode::Stopped, "interrupted");
    }
    const Result previewed = worker.result();
    if (!previewed.ok()) {
        outcome = previewed;  // the search, the stitching or the device: the root cause
    } else if (outcome.ok() && worker.cyclesDrawn() != inv.frames) {
        // Pictures kept arriving with chunks missing: the last one's chunk says why.
        const Result picture = worker.pictureResult();
        outcome = !picture.ok()
                      ? picture
                      : Result::Fail(ResultCode::Failed, "the preview cycles did not all run");
    }
    // The search is over once a preview cycle has run: its parameters are the ones shown.
    if (report != nullptr && worker.cyclesDrawn() > 0) {
        report->sensors = RunReport::Sensors{SensorParameters(state, kMaster, exposed),
                                             SensorParameters(state, kSlave, exposed)};
    }
    std::vector<std::string> pictures;
    if (!inv.pngDir.empty() && worker.cyclesDrawn() > 0 &&
        !WritePictures(view, inv.pngDir, out, &pictures) && outcome.ok()) {
        outcome = Result::Fail(ResultCode::BadInput, "cannot write the pictures to " + inv.pngDir);
    }
    if (report != nullptr) {
        report->pictures = pictures;
    }
    state.g_isSearchDone = 0;
    // Interrupted, the window leaves as its Cancel does: back to work mode.
    const bool okPath = state.g_isExposureAdjusted != 0 && !interruption.requested();
    const Result closed = SwitchModeOnClose(state, mainWindow, okPath);
    return outcome.ok() ? closed : outcome;
}

}  // namespace tavlin::cli
