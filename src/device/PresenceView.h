#pragma once
#include <string>

namespace tavlin {

// What a detection tells the windows. Every call must return at once: the window queues the
// text to its own thread (a detection never waits for the UI).
class PresenceView {
  public:
    virtual ~PresenceView() = default;
    // The main window's status line (control 1060).
    virtual void SetStatusText(const std::string& text) = 0;
    // The status line when a device of ours is there but this user may not open it. The
    // window shows it like any status; the command-line front end writes it as an error.
    virtual void SetNoAccessStatus(const std::string& text) { SetStatusText(text); }
    // The main window's version line (control 1061).
    virtual void SetVersionText(const std::string& text) = 0;
    // The caption of the mode toggle (control 1065).
    virtual void SetModeToggleCaption(const std::string& text) = 0;
    // The firmware update window's status line (control 1067); called only while
    // g_isFwDlgOpen is set.
    virtual void SetFirmwareStatusText(const std::string& text) = 0;
};

}  // namespace tavlin
