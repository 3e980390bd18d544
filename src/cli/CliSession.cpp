#include "cli/CliSession.h"

#include "base/Log.h"
#include "base/StringTable.h"
#include "cli/CliCalibrate.h"
#include "cli/CliHost.h"
#include "console/ExitProcedure.h"
#include "console/FpgaDownload.h"
#include "console/ModeSwitcher.h"
#include "console/RegisterPanel.h"
#include "console/ScriptRunner.h"
#include "device/CommandThread.h"
#include "device/DeviceDetector.h"
#include "device/HidDevice.h"
#include "device/SharedState.h"
#include "sim/SimTransport.h"

namespace tavlin::cli {
namespace {

// A single register request is one exchange; with the 2000 ms transfer time-out it is answered
// well within this.
constexpr int kRegisterAnswerLimitMs = 30000;

bool Contains(const std::string& text, const char* needle) {
    return text.find(needle) != std::string::npos;
}

// Runs a worker started by `start` to its end. The finished event is reset first, so a worker
// that ends before we look is still seen.
template <typename Worker, typename Start>
void RunToEnd(Worker& worker, Event& finished, Start start) {
    finished.Reset();
    start();
    if (worker.Running() || finished.IsSignalled()) {
        finished.Wait(INFINITE);
    }
}

class Session {
  public:
    Session(HidTransport& transport, sim::SimTransport* sim, std::FILE* out, int timeoutMs)
        : sim_(sim), out_(out), device_(transport), progress_(out), host_(out, &progress_) {
        device_.setTimeoutMs(timeoutMs);
    }

    int Run(const Invocation& inv) {
        Start();
        const int status = Dispatch(inv);
        Stop();
        return status;
    }

  private:
    void Start() {
        state_.AllocatePreviewBuffers();
        state_.g_bDevExist = 0;
        host_.SetStatusText(LoadString(IDS_DETECTING));
        LogStart();
        commandThread_.Start();
        if (sim_ != nullptr) {
            listener_ =
                sim_->AddPresenceListener([this](const auto&) { detector_.OnDeviceChange(); });
        }
        detector_.StartDetect();
        detector_.WaitIdle();
    }

    void Stop() {
        if (sim_ != nullptr && listener_ >= 0) {
            sim_->RemovePresenceListener(listener_);
        }
        detector_.WaitIdle();
        state_.g_isDlgClosing = 1;
        StopWorkers(state_, &script_, &fpga_, &commandThread_);
        ShutdownCleanup(state_);
        CloseHidDevice(device_);
    }

    int Dispatch(const Invocation& inv) {
        if (inv.command == Command::Detect) {
            return state_.g_bDevExist ? kExitSuccess : kExitNoDevice;
        }
        if (!state_.g_bDevExist) {
            host_.SetStatusText(LoadString(IDS_NO_DEVICE));
            return kExitNoDevice;
        }
        switch (inv.command) {
            case Command::ModeWork:
            case Command::ModeCalibration: {
                // The toggle's caption names the mode a press switches to.
                const bool toWork = inv.command == Command::ModeWork;
                const std::string before =
                    LoadString(toWork ? IDS_MODE_WORK : IDS_MODE_CALIBRATION);
                return mode_.Toggle(before) != before ? kExitSuccess : kExitFailed;
            }
            case Command::Versions:
                mode_.versions().VersionButton();
                return Contains(host_.versionText(), "IMAGE Version: M--") ? kExitSuccess
                                                                           : kExitFailed;
            case Command::Read:
            case Command::Write:
                return RegisterAccess(inv);
            case Command::Script:
                RunToEnd(script_, state_.g_ScriptFinishedEvent, [&] { script_.Start(inv.file); });
                return host_.lastPaneText() == "Success!\n" ? kExitSuccess : kExitFailed;
            case Command::Fpga:
                RunToEnd(fpga_, state_.g_FpgaFinishedEvent, [&] {
                    fpga_.Start(inv.file,
                                [this](int sent, int total) { progress_.Update(sent, total); });
                });
                progress_.Finish();
                return Contains(host_.lastPaneText(), "KB Success!") ? kExitSuccess : kExitFailed;
            case Command::Calibrate:
                return RunCalibrate(inv, state_, host_, mode_, out_);
            default:
                return kExitUsage;
        }
    }

    int RegisterAccess(const Invocation& inv) {
        const int seen = host_.cmdDoneCount();
        if (inv.command == Command::Read) {
            panel_.Read(inv.address, inv.i2c);
        } else {
            panel_.Write(inv.address, inv.value, inv.i2c);
        }
        // The panel refuses without posting (an empty address, no command thread): nothing will
        // answer, so don't wait for it.
        const std::string refusal = host_.lastPaneText();
        if (refusal == "The register address can't be NULL!\n" ||
            refusal.rfind("send message: ", 0) == 0) {
            return kExitFailed;
        }
        if (!host_.WaitCmdDone(seen, kRegisterAnswerLimitMs)) {
            return kExitFailed;
        }
        const std::string line = host_.lastPaneText();
        if (Contains(line, " error")) {
            return kExitFailed;
        }
        if (inv.command == Command::Read) {
            host_.AppendOutputText(host_.readValue() + "\n");
        }
        return kExitSuccess;
    }

    SharedState state_;
    sim::SimTransport* sim_;
    std::FILE* out_;
    HidDevice device_;
    ProgressBar progress_;
    CliHost host_;
    CommandThread commandThread_{state_, device_, host_};
    DeviceDetector detector_{state_, device_, host_};
    RegisterPanel panel_{state_, host_};
    ScriptRunner script_{state_, host_};
    FpgaDownload fpga_{state_, host_};
    ModeSwitcher mode_{state_, host_};
    int listener_ = -1;
};

}  // namespace

int RunSession(const Invocation& invocation, HidTransport& transport, sim::SimTransport* sim,
               std::FILE* out, int transferTimeoutMs) {
    Session session(transport, sim, out, transferTimeoutMs);
    return session.Run(invocation);
}

}  // namespace tavlin::cli
