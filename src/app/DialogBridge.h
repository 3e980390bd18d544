#pragma once
#include <functional>
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
    // The window's thread: from now on every call is dropped.
    void Detach();

  private:
    QueuedCalls<CTavlinDlg> calls_;
    const SharedState& state_;
};

}  // namespace tavlin
