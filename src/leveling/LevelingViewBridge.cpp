#include "leveling/LevelingViewBridge.h"

#include <memory>

#include "leveling/CsensorsetmpDlg.h"

namespace tavlin {

void LevelingViewBridge::SetStatus(int sensor, const std::string& text) {
    calls_.Post([sensor, text](CsensorsetmpDlg& d) { d.SetStatus(sensor, text); });
}

void LevelingViewBridge::SetSlider(int sensor, int position) {
    calls_.Post([sensor, position](CsensorsetmpDlg& d) { d.SetSlider(sensor, position); });
}

void LevelingViewBridge::DrawPreview(int sensor, const PreviewFrame& frame) {
    // The frame is the worker's copy; the window paints from its own copy of it.
    auto copy = std::make_shared<PreviewFrame>(frame);
    calls_.Post([sensor, copy](CsensorsetmpDlg& d) { d.DrawPreview(sensor, *copy); });
}

}  // namespace tavlin
