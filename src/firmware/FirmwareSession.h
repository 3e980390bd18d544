#pragma once
#include <chrono>
#include <memory>
#include <string>

#include "base/Result.h"
#include "console/ConsoleView.h"
#include "console/ModeSwitcher.h"
#include "device/SharedState.h"
#include "firmware/FirmwareView.h"
#include "firmware/ImageUpdateWorker.h"
#include "firmware/VersionInfoButtons.h"

namespace tavlin {

// The firmware update window's behaviour without its widgets: the window and tavlin-cli both
// drive it. All calls come from the front end's thread.
class FirmwareSession {
  public:
    // How long the window waits for the device to come back in its update environment before it
    // says the setup failed (string 147), which opens the way out. A re-plug takes a few
    // seconds at most; 20 s also covers a slow hub and a busy host.
    static constexpr std::chrono::milliseconds kPreparationDeadline{20000};

    enum class Exit { StayOpen, Cancelled, Confirmed };

    FirmwareSession(SharedState& state, FirmwareView& view, ConsoleView& mainView,
                    ModeSwitcher& modes)
        : state_(state),
          view_(view),
          main_(mainView),
          modes_(modes),
          worker_(state, view),
          buttons_(state, view) {}

    // The window's initialisation: returns the first status text, also shown in the view.
    std::string Open();
    void OneKeyUpdate();  // button 1070
    // The package as read (and checked) by the front end, for the next one-key update of the
    // package at its path: exactly its bytes are written. Null: the worker reads the package.
    void UsePackage(std::shared_ptr<const LoadedPackage> package) {
        package_ = std::move(package);
        refusal_.clear();
    }
    // The package at `path` failed its check: a one-key update of it shows `statusText` instead.
    void RefusePackage(const std::string& path, std::string statusText) {
        package_.reset();
        refusedPath_ = path;
        refusal_ = std::move(statusText);
    }
    void SwitchBackToApplication();                                   // button 1065
    void VersionButton(int controlId) { buttons_.Press(controlId); }  // 1074 to 1077
    // The cancel handler (exit button, Esc, close box) and the OK handler (Enter), given the
    // status line's current text. Closed results have cleared g_isFwDlgOpen.
    Exit Cancel(const std::string& statusText);
    Exit Ok(const std::string& statusText);
    // The device did not come back in its update environment in time: while the window still
    // prepares, the setup-failed text (string 147) replaces the preparing text. True when it did.
    bool PreparationExpired(const std::string& statusText);

    // The package choice's log line with the directory it starts from (cut, never overrun).
    static void LogPackageChoice(const std::string& currentDirectory);

    // 0x55, waited for until the command thread is done with it.
    Result LeaveUpdateEnvironment();
    // How the last exit's attempt to leave the update environment went.
    const Result& lastLeave() const { return lastLeave_; }
    ImageUpdateWorker& worker() { return worker_; }

  private:
    Exit LeaveOrReport(Exit how);
    bool FailedSetupShown(const std::string& statusText) const;
    void Status(const std::string& text);

    SharedState& state_;
    FirmwareView& view_;
    ConsoleView& main_;
    ModeSwitcher& modes_;
    ImageUpdateWorker worker_;
    VersionInfoButtons buttons_;
    Result lastLeave_ = Result::Fail(ResultCode::Failed, "not left yet");
    std::shared_ptr<const LoadedPackage> package_;
    std::string refusedPath_;
    std::string refusal_;
};

}  // namespace tavlin
