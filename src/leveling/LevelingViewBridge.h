#pragma once
#include "ui/QueuedCalls.h"

#include "leveling/LevelingView.h"

namespace tavlin {

class CsensorsetmpDlg;

// The leveling window as its preview worker sees it: every call is queued to the window's
// thread and returns at once, so the worker never waits for the UI thread (the window may be
// waiting for the worker to end). Calls that arrive after the window is gone are dropped.
class LevelingViewBridge : public LevelingView {
  public:
    explicit LevelingViewBridge(CsensorsetmpDlg* dialog) : calls_(dialog) {}

    void SetStatus(int sensor, const std::string& text) override;
    void SetSlider(int sensor, int position) override;
    void DrawPreview(int sensor, const PreviewFrame& frame) override;

    // The window's thread: from now on every call is dropped.
    void Detach() { calls_.Detach(); }

  private:
    QueuedCalls<CsensorsetmpDlg> calls_;
};

}  // namespace tavlin
