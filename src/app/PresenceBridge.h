#pragma once
#include <string>

#include "app/CTavlinDlg.h"
#include "app/DialogBridge.h"
#include "base/ControlIds.h"
#include "device/PresenceView.h"

namespace tavlin {

// The main window as the detection worker sees it: texts queued to the window's thread.
class PresenceBridge : public PresenceView {
  public:
    explicit PresenceBridge(DialogBridge& bridge) : bridge_(bridge) {}
    void SetStatusText(const std::string& text) override { bridge_.SetStatusText(text); }
    void SetVersionText(const std::string& text) override { bridge_.SetVersionText(text); }
    void SetModeToggleCaption(const std::string& text) override {
        bridge_.SetControlCaption(control::kModeToggle, text);
    }
    void SetFirmwareStatusText(const std::string& text) override {
        bridge_.Queue([text](CTavlinDlg& d) { d.SetFirmwareStatusText(text); });
    }

  private:
    DialogBridge& bridge_;
};

}  // namespace tavlin
