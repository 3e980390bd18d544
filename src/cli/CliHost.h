#pragma once
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "cli/CliOutput.h"
#include "cli/ProgressBar.h"
#include "console/ConsoleView.h"
#include "device/CommandThread.h"
#include "device/DeviceDetector.h"

namespace tavlin::cli {

// The terminal as the command thread, the workers and the detection see it: output pane lines,
// status and version lines are printed as they come, one line each; WM_CMD_DONE is counted so
// the CLI can wait for a request that the window would simply let run.
class CliHost : public CommandThreadHost, public ConsoleView, public PresenceView {
  public:
    // Texts go to `out`; a device that this user may not open is an error, told on `err`.
    CliHost(CliOutput& out, ProgressBar* progress, std::FILE* err = stderr)
        : out_(out), err_(err), progress_(progress) {}

    // CommandThreadHost / ConsoleView
    void PostCmdDone() override;
    void AppendOutputText(const std::string& text) override;
    void SetReadValueText(const std::string& text) override;
    void SetStatusText(const std::string& text) override;
    void SetVersionText(const std::string& text) override;
    void SetControlCaption(int controlId, const std::string& text) override;
    void HideControls(const std::vector<int>& controlIds) override;
    // PresenceView
    void SetModeToggleCaption(const std::string& text) override;
    void SetFirmwareStatusText(const std::string& text) override;
    void SetNoAccessStatus(const std::string& text) override;

    int cmdDoneCount() const;
    // Waits until more than `seen` WM_CMD_DONE notices have arrived; false on time-out.
    bool WaitCmdDone(int seen, int timeoutMs) const;
    std::string lastPaneText() const;
    std::string readValue() const;
    std::string versionText() const;
    // The first versions line the run showed ("IMAGE Version: M--…"): read before anything was
    // written, and kept when a later unplug blanks the line.
    std::string firstVersionsShown() const;
    // The firmware window's status line as it stands (the last text written to it).
    std::string firmwareStatus() const;

  private:
    void Print(const std::string& text, std::FILE* to);
    void Print(const std::string& text) { Print(text, out_.stream()); }

    CliOutput& out_;
    std::FILE* err_;
    ProgressBar* progress_;
    mutable std::mutex mutex_;
    mutable std::condition_variable cv_;
    int cmdDone_ = 0;
    std::string lastPane_;
    std::string readValue_;
    std::string version_;
    std::string firstVersions_;
    std::string status_;
    std::string firmwareStatus_;
};

}  // namespace tavlin::cli
