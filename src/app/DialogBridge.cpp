#include "app/DialogBridge.h"
#include "base/ControlIds.h"

#include "app/CTavlinDlg.h"

namespace tavlin {

DialogBridge::DialogBridge(CTavlinDlg* dialog, const SharedState& state)
    : calls_(dialog), state_(state) {}

void DialogBridge::Queue(std::function<void(CTavlinDlg&)> fn) {
    const std::lock_guard<std::mutex> lock(heldMutex_);
    if (holds_ > 0) {
        held_.push_back(std::move(fn));
        return;
    }
    calls_.Post(std::move(fn));
}

void DialogBridge::Hold() {
    const std::lock_guard<std::mutex> lock(heldMutex_);
    ++holds_;
}

void DialogBridge::Release() {
    // Posted under the lock, so a call that comes meanwhile queues behind the held ones.
    const std::lock_guard<std::mutex> lock(heldMutex_);
    if (holds_ == 0 || --holds_ > 0) {
        return;
    }
    for (auto& fn : held_) {
        calls_.Post(std::move(fn));
    }
    held_.clear();
}

void DialogBridge::Detach() {
    calls_.Detach();
}

void DialogBridge::PostCmdDone() {
    Queue([](CTavlinDlg& d) { d.OnCmdDone(); });
}

void DialogBridge::AppendOutputText(const std::string& text) {
    if (state_.g_isDlgClosing != 0) {
        return;
    }
    Queue([text](CTavlinDlg& d) { d.AppendOutputText(text); });
}

void DialogBridge::SetReadValueText(const std::string& text) {
    Queue([text](CTavlinDlg& d) { d.SetReadValueMember(text); });
}

void DialogBridge::SetStatusText(const std::string& text) {
    Queue([text](CTavlinDlg& d) { d.SetControlText(control::kStatusLine, text); });
}

void DialogBridge::SetVersionText(const std::string& text) {
    Queue([text](CTavlinDlg& d) { d.SetControlText(control::kVersionLine, text); });
}

void DialogBridge::SetControlCaption(int controlId, const std::string& text) {
    Queue([controlId, text](CTavlinDlg& d) { d.SetControlText(controlId, text); });
}

void DialogBridge::HideControls(const std::vector<int>& controlIds) {
    Queue([controlIds](CTavlinDlg& d) { d.HideControls(controlIds); });
}

}  // namespace tavlin
