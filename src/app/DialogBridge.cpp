#include "app/DialogBridge.h"
#include "base/ControlIds.h"

#include <QMetaObject>

#include "app/CTavlinDlg.h"

namespace tavlin {

DialogBridge::DialogBridge(CTavlinDlg* dialog) : dialog_(dialog) {}

void DialogBridge::Queue(std::function<void(CTavlinDlg&)> fn) {
    CTavlinDlg* dialog = dialog_.data();
    if (dialog == nullptr) {
        return;
    }
    // The dialog is the context object: if it is destroyed before the call runs, Qt drops it.
    QMetaObject::invokeMethod(
        dialog, [dialog, fn = std::move(fn)] { fn(*dialog); }, Qt::QueuedConnection);
}

void DialogBridge::PostCmdDone() {
    Queue([](CTavlinDlg& d) { d.OnCmdDone(); });
}

void DialogBridge::AppendOutputText(const std::string& text) {
    if (CTavlinDlg* d = dialog_.data(); d != nullptr && d->IsClosing()) {
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
