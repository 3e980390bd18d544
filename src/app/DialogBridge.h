#pragma once
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "console/ConsoleView.h"
#include "device/CommandThread.h"
#include "ui/QueuedCalls.h"

namespace tavlin {

class CTavlinDlg;

// The main window as the command thread and the workers see it. Every call comes from some
// other thread and returns at once: the work is queued to the window's thread, and is dropped if
// the window is gone by then. Nothing here ever waits for the UI thread.
class DialogBridge : public CommandThreadHost, public ConsoleView {
  public:
    DialogBridge(CTavlinDlg* dialog, const SharedState& state);

    // CommandThreadHost and ConsoleView
    void PostCmdDone() override;
    void AppendOutputText(const std::string& text) override;
    void SetReadValueText(const std::string& text) override;
    void SetStatusText(const std::string& text) override;
    void SetVersionText(const std::string& text) override;
    void SetControlCaption(int controlId, const std::string& text) override;
    void HideControls(const std::vector<int>& controlIds) override;

    // Runs fn on the window's thread.
    void Queue(std::function<void(CTavlinDlg&)> fn);
    // Any thread: from Hold until its Release, calls are kept back, then queued in the order
    // they came. A run that the command thread reports on holds them until its record is
    // committed; holds nest.
    void Hold();
    void Release();
    // The window's thread: from now on every call is dropped.
    void Detach();

  private:
    QueuedCalls<CTavlinDlg> calls_;
    std::mutex heldMutex_;
    int holds_ = 0;  // under heldMutex_
    std::vector<std::function<void(CTavlinDlg&)>> held_;
    const SharedState& state_;
};

}  // namespace tavlin
