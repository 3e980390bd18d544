#pragma once
#include <string>
#include <vector>

namespace tavlin {

// What the engineering console needs of its front end. Workers call these from their own
// threads, so every call must return at once: the window queues each call to its UI thread, the
// command-line front end prints. Texts are UTF-8 and are shown exactly as given (most end with a
// line feed, a few deliberately do not).
class ConsoleView {
  public:
    virtual ~ConsoleView() = default;

    // Appends to the output pane (control 1005).
    virtual void AppendOutputText(const std::string& text) = 0;
    // WM_CMD_DONE: refresh the bound fields. Only a notice; never waited for.
    virtual void PostCmdDone() = 0;
    // Status line (control 1060).
    virtual void SetStatusText(const std::string& text) = 0;
    // Version line (control 1061).
    virtual void SetVersionText(const std::string& text) = 0;
    // Caption of a button, for example 1022 ("Preview") or the mode toggle 1065.
    virtual void SetControlCaption(int controlId, const std::string& text) = 0;
    virtual void HideControls(const std::vector<int>& controlIds) = 0;
};

}  // namespace tavlin
