#include "cli/CliSession.h"

#include <atomic>
#include <mutex>

#include "base/Log.h"
#include "base/StringTable.h"
#include "cli/CliCalibrate.h"
#include "cli/CliHost.h"
#include "cli/CliLevel.h"
#include "cli/CliPackage.h"
#include "cli/CliUpdate.h"
#include "cli/UnfinishedUpdate.h"
#include "console/ExitProcedure.h"
#include "console/FpgaDownload.h"
#include "console/ModeSwitcher.h"
#include "console/NumberText.h"
#include "console/RegisterPanel.h"
#include "console/ScriptRunner.h"
#include "device/CommandThread.h"
#include "device/DeviceChangeWatch.h"
#include "device/DeviceDetector.h"
#include "device/DeviceProtocol.h"
#include "device/HidDevice.h"
#include "device/SharedState.h"
#include "firmware/FirmwareRequests.h"

namespace tavlin::cli {
namespace {

// Runs a worker started by `start` to its end and gives its outcome. The finished event is
// reset first, so a worker that ends before we look is still seen. An interruption signals the
// worker's stop event, as the exit path would; the hook comes after the start, which drops a
// stop signalled before it.
template <typename Worker, typename Start>
Result RunToEnd(Worker& worker, Event& finished, Event& stop, Interruption& interruption,
                Start start) {
    finished.Reset();
    const Result started = start();
    if (!started) {
        return started;
    }
    const auto hook = interruption.OnRequest([&stop] { stop.Set(); });
    finished.Wait(INFINITE);
    return worker.outcome();
}

class Session;

// The session under way, for an unexpected error's end; guarded while it is used or changed.
std::mutex g_runningMutex;
Session* g_running = nullptr;

class Session {
  public:
    Session(HidTransport& transport, const std::string& keptPort, CliOutput& out, std::FILE* err,
            int timeoutMs, Interruption& interruption)
        : out_(out),
          interruption_(interruption),
          device_(transport),
          progress_(out.stream()),
          host_(out, &progress_, err) {
        device_.setTimeoutMs(timeoutMs);
        device_.setKeptPort(keptPort);
        // Nobody watches a station's run line by line: a script that would not do what it says
        // is refused before it touches the unit.
        script_.SetCheckFirst(true);
        std::lock_guard lock(g_runningMutex);
        g_running = this;
    }
    ~Session() {
        std::lock_guard lock(g_runningMutex);
        if (g_running == this) {
            g_running = nullptr;
        }
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The device straight through the link, not through the command thread, which may be the
    // thread that failed (and is then idle, its transfer unwound). A device still in its update
    // environment leaves it as a failed update's exit does; any other goes to work mode, which a
    // device already there takes as well.
    std::optional<RunReport::DeviceIds> ReturnDevice() {
        // From here the device restarting is no news to a run that ends: no detection starts
        // for it (the watch is not stopped: this may be its own thread).
        if (returned_.exchange(true) || state_.g_bDevExist == 0 || !device_.handle()) {
            return std::nullopt;
        }
        const bool updating = state_.g_isFwUpdateMode != 0;
        const Result back = updating ? UpdateControl(device_, kLeaveUpdateEnvironment)
                                     : ModeSwitch(device_, ModeSwitcher::kWorkMode);
        WriteLog("Unexpected error: %s %s\n",
                 updating ? "leaving the update environment" : "switching to work mode",
                 back.ok() ? "done" : back.reason().c_str());
        return RunReport::DeviceIds{kVendorId, state_.deviceProductId};
    }

    int Run(const Invocation& inv) {
        Start(inv.logStarted);
        int status = kExitFailed;
        if (interruption_.requested()) {
            report_.result = Interrupted();
        } else {
            status = Dispatch(inv);
        }
        Stop();
        // Whatever the command got done, the run was cut short: a station must not take it
        // for a finished one.
        if (interruption_.requested()) {
            status = kExitFailed;
            report_.interrupted = true;
            if (report_.result.ok()) {
                report_.result = Interrupted();
            }
        }
        return status;
    }

    RunReport& report() { return report_; }

  private:
    void Start(bool logStarted) {
        state_.AllocatePreviewBuffers();
        state_.g_bDevExist = 0;
        // The log first: a first line that finds nobody listening is told there.
        if (!logStarted) {
            LogStart();
        }
        host_.SetStatusText(LoadString(IDS_DETECTING));
        commandThread_.Start();
        // A device unplugged or re-plugged during a command is noticed as in the window.
        auto onChange = [this] {
            if (!returned_) {
                detector_.OnDeviceChange();
            }
        };
        deviceWatch_ = device_.transport().WatchPresence(std::move(onChange));
        detector_.StartDetect();
        detector_.WaitIdle();
        NoteDevice();
    }

    static Result Interrupted() { return Result::Fail(ResultCode::Stopped, "interrupted"); }

    // The ids of the device the detection opened.
    void NoteDevice() {
        if (state_.g_bDevExist) {
            report_.device = RunReport::DeviceIds{kVendorId, state_.deviceProductId};
        }
    }

    void Stop() {
        deviceWatch_.reset();
        detector_.WaitIdle();
        state_.g_isDlgClosing = 1;
        StopWorkers(state_, &script_, &fpga_, &commandThread_);
        ShutdownCleanup(state_);
        CloseHidDevice(device_);
    }

    int Dispatch(const Invocation& inv) {
        if (!state_.g_bDevExist) {
            if (state_.devicePresence == ResultCode::NoAccess) {
                report_.result = Result::Fail(ResultCode::NoAccess,
                                              "the device is there but this user may not open it");
                return kExitNoAccess;  // the detection has said so on stderr
            }
            if (inv.command != Command::Detect) {
                host_.SetStatusText(LoadString(IDS_NO_DEVICE));
            }
            report_.result = Result::Fail(ResultCode::NoDevice, "no device");
            return kExitNoDevice;
        }
        TellUnfinishedUpdate(inv);
        if (inv.command == Command::Detect) {
            return kExitSuccess;
        }
        const Result result = Operate(inv);
        report_.result = result;
        if (result.ok()) {
            NoteProduce(inv);
            return kExitSuccess;
        }
        if (result.code() != ResultCode::Stopped) {
            host_.AppendOutputText("tavlin-cli: " + result.reason() + "\n");
        }
        return kExitFailed;
    }

    // A unit in its update environment on a port whose last update did not end is that update's
    // unit: where it stopped is told before anything is asked of it.
    void TellUnfinishedUpdate(const Invocation& inv) {
        if (!inv.unfinished || state_.deviceProductId != kProductIdUpdate) {
            return;
        }
        report_.interruptedUpdate = inv.unfinished;
        host_.AppendOutputText(UnfinishedUpdateText(*inv.unfinished, true) + "\n");
        WriteLog("%s\n", UnfinishedUpdateText(*inv.unfinished, false).c_str());
    }

    // What a command that succeeded read from the device.
    void NoteProduce(const Invocation& inv) {
        const RunReport::Versions versions{state_.g_ImageVersionM, state_.g_ImageVersionS};
        if (inv.command == Command::Versions ||
            (inv.command == Command::ModeCalibration && state_.g_isVersionsShown != 0)) {
            report_.versions = versions;
        }
        uint32_t address = 0;
        uint32_t value = 0;
        if (inv.command == Command::Read && StrToIntEx(inv.address, &address) &&
            StrToIntEx(host_.readValue(), &value)) {
            report_.value = RunReport::RegisterValue{address, value};
        }
    }

    Result Operate(const Invocation& inv) {
        switch (inv.command) {
            case Command::ModeWork:
            case Command::ModeCalibration: {
                // The toggle's caption names the mode a press switches to.
                const bool toWork = inv.command == Command::ModeWork;
                Result result;
                mode_.Toggle(LoadString(toWork ? IDS_MODE_WORK : IDS_MODE_CALIBRATION), &result);
                return result;
            }
            case Command::Versions:
                return mode_.versions().VersionButton();
            case Command::Read:
            case Command::Write:
                return RegisterAccess(inv);
            case Command::Script:
                return RunToEnd(script_, state_.g_ScriptFinishedEvent, state_.g_ScriptStopEvent,
                                interruption_, [&] { return script_.Start(inv.file); });
            case Command::Fpga: {
                const Result result = RunToEnd(
                    fpga_, state_.g_FpgaFinishedEvent, state_.g_FpgaStopEvent, interruption_, [&] {
                        return fpga_.Start(inv.file, [this](int sent, int total) {
                            progress_.Update(sent, total);
                        });
                    });
                progress_.Finish();
                return result;
            }
            case Command::Update: {
                UpdateContext context{state_, host_,         progress_, detector_,
                                      mode_,  interruption_, &report_};
                return RunUpdate(inv, context);
            }
            case Command::Level:
                return RunLevel(inv, state_, host_, mode_, out_, interruption_, &report_);
            case Command::Calibrate:
                return RunCalibrate(inv, state_, host_, mode_, out_, interruption_, &report_);
            default:
                return Result::Fail(ResultCode::BadInput, "no such command");
        }
    }

    // The panel does not wait for its request; the CLI waits for its outcome, bounded.
    Result RegisterAccess(const Invocation& inv) {
        RequestHandle request;
        const Result posted = inv.command == Command::Read
                                  ? panel_.Read(inv.address, inv.i2c, &request)
                                  : panel_.Write(inv.address, inv.value, inv.i2c, &request);
        if (!posted) {
            return posted;
        }
        // In slices, so an interruption need not wait for the answer.
        constexpr uint32_t kSliceMs = 50;
        for (uint32_t waited = 0; request->handled.Wait(kSliceMs) != WAIT_OBJECT_0;
             waited += kSliceMs) {
            if (interruption_.requested() && request->GiveUp()) {
                return Result::Fail(ResultCode::Stopped, "interrupted");
            }
            if (waited >= kRequestWaitLimitMs && request->GiveUp()) {
                return Result::Fail(ResultCode::Timeout, "no answer within the time limit");
            }
        }
        request->handled.Wait(INFINITE);  // settled or being settled now
        // A failed read shows its value too ("0xff"), as the Value box does.
        if (inv.command == Command::Read) {
            host_.AppendOutputText(host_.readValue() + "\n");
        }
        return request->result;
    }

    SharedState state_;
    CliOutput& out_;
    RunReport report_;
    Interruption& interruption_;
    HidDevice device_;
    ProgressBar progress_;
    CliHost host_;
    CommandThread commandThread_{state_, device_, host_};
    DeviceDetector detector_{state_, device_, host_};
    RegisterPanel panel_{state_, host_};
    ScriptRunner script_{state_, host_};
    FpgaDownload fpga_{state_, host_};
    ModeSwitcher mode_{state_, host_};
    std::unique_ptr<DeviceChangeWatch> deviceWatch_;  // after the detector it calls: ends first
    std::atomic<bool> returned_{false};
};

}  // namespace

std::optional<RunReport::DeviceIds> ReturnDeviceOnUnexpected() {
    std::lock_guard lock(g_runningMutex);
    return g_running != nullptr ? g_running->ReturnDevice() : std::nullopt;
}

int RunSession(const Invocation& invocation, HidTransport& transport, std::FILE* out,
               int transferTimeoutMs, Interruption* interruption, std::FILE* err,
               RunReport* report) {
    CliOutput output(out);
    return RunSession(invocation, transport, output, transferTimeoutMs, interruption, err, report);
}

int RunSession(const Invocation& invocation, HidTransport& transport, CliOutput& output,
               int transferTimeoutMs, Interruption* interruption, std::FILE* err,
               RunReport* report) {
    if (const Result folder = PreparePictureFolder(invocation); !folder) {
        output.Line("tavlin-cli: " + folder.reason());
        if (report != nullptr) {
            report->result = folder;
            report->messages = output.messages();
        }
        return kExitFailed;
    }
    // A package is read and checked before the device is opened, unless the front end did that
    // already: one that fails its check never costs a unit anything.
    Invocation checked = invocation;
    RunReport packageReport;
    if (invocation.command == Command::Update && invocation.package == nullptr) {
        if (Result package =
                CheckUpdatePackage(invocation, output, &packageReport, &checked.package);
            !package.ok()) {
            if (report != nullptr) {
                report->result = package;
                report->messages = output.messages();
            }
            return kExitFailed;
        }
    } else if (report != nullptr) {
        packageReport.trust = report->trust;
        packageReport.packageFiles = report->packageFiles;
    }
    Interruption none;
    Session session(transport, invocation.keptPort, output, err, transferTimeoutMs,
                    interruption != nullptr ? *interruption : none);
    // What was found out of the package before the device was opened.
    session.report().trust = packageReport.trust;
    session.report().packageFiles = packageReport.packageFiles;
    const int status = session.Run(checked);
    if (report != nullptr) {
        *report = std::move(session.report());
        report->messages = output.messages();
    }
    return status;
}

}  // namespace tavlin::cli
