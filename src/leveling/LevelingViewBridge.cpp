#include "leveling/LevelingViewBridge.h"

#include <memory>

#include "leveling/CsensorsetmpDlg.h"

namespace tavlin {

void LevelingViewBridge::SetStatus(int sensor, const std::string& text) {
    if (dialog_.isNull()) {
        return;
    }
    QMetaObject::invokeMethod(
        dialog_, [d = dialog_, sensor, text] { d->SetStatus(sensor, text); }, Qt::QueuedConnection);
}

void LevelingViewBridge::SetSlider(int sensor, int position) {
    if (dialog_.isNull()) {
        return;
    }
    QMetaObject::invokeMethod(
        dialog_, [d = dialog_, sensor, position] { d->SetSlider(sensor, position); },
        Qt::QueuedConnection);
}

void LevelingViewBridge::DrawPreview(int sensor, const PreviewFrame& frame) {
    if (dialog_.isNull()) {
        return;
    }
    // The frame is the worker's copy; the window paints from its own copy of it.
    auto copy = std::make_shared<PreviewFrame>(frame);
    QMetaObject::invokeMethod(
        dialog_, [d = dialog_, sensor, copy] { d->DrawPreview(sensor, *copy); },
        Qt::QueuedConnection);
}

}  // namespace tavlin
