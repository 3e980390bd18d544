#include "cli/CliUpdate.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

#include "base/Log.h"
#include "base/StringTable.h"
#include "device/DeviceProtocol.h"
#include "firmware/FirmwareLauncher.h"
#include "firmware/FirmwarePackage.h"
#include "firmware/FirmwareRequests.h"
#include "firmware/FirmwareSession.h"
#include "firmware/FirmwareTexts.h"
#include "firmware/LoadedPackage.h"
#include "firmware/UpdateJournal.h"

namespace tavlin::cli {
namespace {

using Clock = std::chrono::steady_clock;
// udev does not run everywhere (containers): detection is re-run at least this often.
constexpr auto kRedetectPeriod = std::chrono::milliseconds(500);
constexpr int kPollSliceMs = 50;

// The firmware window's status line and progress bar on the terminal.
class TerminalFirmwareView : public FirmwareView {
  public:
    TerminalFirmwareView(CliHost& host, ProgressBar& progress, RunReport* report,
                         UpdateJournal* journal)
        : host_(host), progress_(progress), report_(report), journal_(journal) {}
    void SetFirmwareStatus(const std::string& text) override { host_.SetFirmwareStatusText(text); }
    void SetProgress(int position) override { progress_.Update(position, 100); }
    void SetMainVersionText(const std::string& text) override { host_.SetVersionText(text); }
    void ImageGoing(ImageWrite write, uint64_t packet) override {
        if (journal_ != nullptr) {
            journal_->Writing(write, packet);
        }
    }
    void ImageWritten(ImageWrite write, const std::string& name, uint64_t bytes,
                      int packets) override {
        if (report_ == nullptr) {
            return;
        }
        // The left module is the master, as the version line's M-- (LInfo) says.
        const bool master = write == ImageWrite::HInfoLeft || write == ImageWrite::LInfo;
        const char* image = write == ImageWrite::LInfo   ? "LInfo"
                            : write == ImageWrite::RInfo ? "RInfo"
                                                         : "HInfo";
        std::string sha256;
        for (const RunReport::PackageFile& file : report_->packageFiles) {
            if (file.path == name) {
                sha256 = file.sha256;
            }
        }
        report_->images->push_back(
            {name, bytes, packets, image, master ? "master" : "slave", sha256});
    }

  private:
    CliHost& host_;
    ProgressBar& progress_;
    RunReport* report_;
    UpdateJournal* journal_;
};

// Waits until `arrived` holds, the deadline passes or the run is interrupted. Hot-plug notices
// reach the detector through the session's device watch where the system gives them; a fresh
// detection every kRedetectPeriod covers the places where it gives none (containers run no udev).
bool WaitForDevice(UpdateContext& c, const std::function<bool()>& arrived,
                   Clock::time_point deadline) {
    auto nextDetect = Clock::now() + kRedetectPeriod;
    while (!arrived()) {
        if (c.interruption.requested()) {
            c.detector.WaitIdle();
            return false;
        }
        const auto now = Clock::now();
        if (now >= deadline) {
            c.detector.WaitIdle();
            return arrived();
        }
        if (now >= nextDetect) {
            c.detector.StartDetect();
            nextDetect = now + kRedetectPeriod;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollSliceMs));
    }
    return true;
}

int64_t WallClockMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// Notes a phase of the update in the report, from `startedMs` until now.
void AddStep(UpdateContext& c, const char* name, int64_t startedMs, bool passed) {
    if (c.report != nullptr) {
        c.report->steps.push_back({name, startedMs, WallClockMs(), passed});
    }
}

Result Interrupted() {
    return Result::Fail(ResultCode::Stopped, "interrupted");
}

// Ends once the worker has; an interruption on the way is the window's exit button: the cancel
// handler stops the worker between packets and leaves the update environment.
Result RunWorker(FirmwareSession& session, UpdateContext& c, bool* cancelled) {
    session.OneKeyUpdate();
    ImageUpdateWorker& worker = session.worker();
    // Not started (no device, say): its refusal is already on the status line.
    if (!worker.Running() && !worker.WaitForEnd(0)) {
        return Result::Fail(ResultCode::NoDevice, "the update did not start");
    }
    constexpr uint32_t kSliceMs = 50;
    while (!worker.WaitForEnd(kSliceMs)) {
        if (c.interruption.requested()) {
            session.Cancel(c.host.firmwareStatus());
            *cancelled = true;
            break;
        }
    }
    c.progress.Finish();
    const Result result = worker.lastResult();
    return *cancelled && result.ok() ? Interrupted() : result;
}

Result VerifyVersions(const LoadedPackage& package, UpdateContext& c, Clock::duration replugLimit) {
    SharedState& s = c.state;
    const bool back = WaitForDevice(
        c, [&] { return s.g_bDevExist != 0 && s.g_isFwUpdateMode == 0; },
        Clock::now() + replugLimit);
    if (c.interruption.requested()) {
        return Interrupted();
    }
    if (!back) {
        c.host.SetStatusText(LoadString(IDS_FW_ENV_FAILED));
        return Result::Fail(ResultCode::Timeout, "the device did not come back in time");
    }
    s.g_SensorSel = kBothSensors;
    const Result read = ReadImageVersion(s, kBothSensors, INFINITE);
    s.g_SensorSel = 0;
    if (!read.ok()) {
        c.host.SetVersionText(LoadString(IDS_VERSION_FAILED));
        WriteLog("Update FW: version check failed! %s\n", read.describe().c_str());
        return read;
    }
    const uint32_t m = s.g_ImageVersionM, sv = s.g_ImageVersionS;
    if (c.report != nullptr) {
        c.report->versions = RunReport::Versions{m, sv};
    }
    char line[96];
    std::snprintf(line, sizeof line, "IMAGE Version: M--%08x, S--%08x\n", m, sv);
    c.host.SetVersionText(line);
    const ImageEnables& enables = package.enables;
    const bool mOk = !enables.enabled(PackageSection::LInfo) ||
                     ImageVersionOf(package.iniBytes, PackageSection::LInfo) == m;
    const bool sOk = !enables.enabled(PackageSection::RInfo) ||
                     ImageVersionOf(package.iniBytes, PackageSection::RInfo) == sv;
    if (c.report != nullptr) {
        c.report->verified = mOk && sOk;
    }
    if (mOk && sOk) {
        return Result::Ok();
    }
    std::snprintf(line, sizeof line, Tr(fw::kVersionMismatch).c_str(), m, sv);
    c.host.SetStatusText(line);
    WriteLog("Update FW: %s", line);
    return Result::Fail(ResultCode::Failed, "the versions differ from the package");
}

}  // namespace

Result RunUpdate(const Invocation& inv, UpdateContext& c) {
    SharedState& s = c.state;
    if (c.report != nullptr) {
        c.report->images.emplace();
        c.report->verified = false;  // until the versions read back match the package
    }
    // Before the device is asked to restart: a typo in a package name must never cost a unit
    // its working firmware for the length of an update that cannot happen.
    // Read once here, when the front end has not read (and checked) it already: the update
    // writes exactly these bytes.
    std::shared_ptr<const LoadedPackage> package = inv.package;
    if (package == nullptr) {
        auto loaded = std::make_shared<LoadedPackage>();
        const char* refusal = nullptr;
        if (Result read = LoadPackage(inv.file, loaded.get(), &refusal); !read.ok()) {
            c.host.SetFirmwareStatusText(Tr(refusal));
            return read;
        }
        package = std::move(loaded);
    }
    const int64_t startedMs = WallClockMs();
    TerminalFirmwareView view(c.host, c.progress, c.report, inv.journal);
    FirmwareSession session(s, view, c.host, c.modes);
    session.UsePackage(package);
    // Kept before the unit is asked to restart: a cut from here on leaves a unit the next run
    // must know about.
    if (inv.journal != nullptr) {
        if (Result kept = inv.journal->Starting(*package); !kept.ok()) {
            WriteLog("Update progress not kept: %s\n", kept.reason().c_str());
        }
    }
    const FirmwareLaunch launch = PrepareFirmwareLaunch(s, c.host, c.modes);
    if (launch == FirmwareLaunch::NoDevice) {
        return Result::Fail(ResultCode::NoDevice, "no device");
    }
    if (launch == FirmwareLaunch::Refused) {
        return Result::Fail(ResultCode::Refused, "the device did not restart for the update");
    }
    // The launch read and showed the unit's versions before asking it to restart: what it had
    // before. The line is taken as shown, since the restart's unplug may have blanked it.
    unsigned master = 0;
    unsigned slave = 0;
    if (c.report != nullptr && std::sscanf(c.host.firstVersionsShown().c_str(),
                                           "IMAGE Version: M--%x, S--%x", &master, &slave) == 2) {
        c.report->versionsBefore = RunReport::Versions{master, slave};
    }
    s.g_FwPackagePath = inv.file;
    session.Open();
    const auto replugLimit = std::chrono::seconds(inv.replugTimeoutSeconds);
    const bool entered = WaitForDevice(
        c, [&] { return s.g_bDevExist != 0 && s.g_isFwUpdateMode != 0; },
        Clock::now() + replugLimit);
    AddStep(c, "enter update environment", startedMs, entered);
    if (!entered) {
        // The window's failed state: string 147, then its exit returns the device to work mode
        // (or takes it out of its update environment, should it have arrived just now). An
        // interruption takes the same way out, without claiming the deadline passed.
        if (!c.interruption.requested() &&
            c.host.firmwareStatus() != LoadString(IDS_FW_ENV_FAILED)) {
            session.PreparationExpired(Tr(fw::kPreparing));
        }
        session.Cancel(LoadString(IDS_FW_ENV_FAILED));
        if (c.interruption.requested()) {
            return Interrupted();
        }
        return Result::Fail(ResultCode::Timeout,
                            "the device did not come back in its update environment in time");
    }
    bool cancelled = false;
    const int64_t writingMs = WallClockMs();
    const Result updated = RunWorker(session, c, &cancelled);
    AddStep(c, "write images", writingMs, updated.ok());
    const int64_t leavingMs = WallClockMs();
    if (updated.ok() && inv.journal != nullptr) {
        inv.journal->Leaving();
    }
    if (!cancelled) {
        session.Ok(c.host.firmwareStatus());
    }
    if (!updated.ok()) {
        return updated;
    }
    AddStep(c, "leave update environment", leavingMs, session.lastLeave().ok());
    if (!session.lastLeave().ok()) {
        return session.lastLeave();
    }
    if (c.interruption.requested()) {
        return Interrupted();
    }
    if (!inv.verify) {
        return Result::Ok();
    }
    const int64_t verifyingMs = WallClockMs();
    Result verified = VerifyVersions(*package, c, replugLimit);
    AddStep(c, "verify", verifyingMs, verified.ok());
    return verified;
}

}  // namespace tavlin::cli
