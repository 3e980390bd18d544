#pragma once
#include <QDialog>
#include <QFont>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "base/Result.h"
#include "console/ConsoleView.h"
#include "device/SharedState.h"
#include "leveling/DrawPreview.h"
#include "leveling/LevelingView.h"
#include "leveling/StartLineAdjuster.h"

class QLabel;
class QSlider;

namespace tavlin {

class ImagePreviewThread;
class LevelingViewBridge;
class PreviewPictureWidget;

// The production leveling window: both sensors' live pictures, status texts, start line sliders
// and arrows, the exposure button and OK. Full screen without caption, modeless; it starts the
// preview worker unless one runs, and on leaving stops the worker, then switches the device
// mode (0xEE after OK, 0x22 after Cancel) and deletes itself.
//
// Its LevelingView methods are the UI thread's; the worker reaches them through a bridge that
// queues each call.
class CsensorsetmpDlg : public QDialog, public LevelingView {
    Q_OBJECT
  public:
    // How a leveling session ended, as its record keeps it.
    struct End {
        struct Sensor {
            int startLine = 0;
            int startColumn = 0;
            int endColumn = 0;
            std::optional<std::pair<unsigned, unsigned>> exposure;  // after an adjustment
        };
        Result result;                    // Ok: left with OK, and the device took its mode
        bool searched = false;            // a preview cycle ran: the values are the ones shown
        std::array<Sensor, 2> sensors{};  // master, slave
    };
    // Runs once on the UI thread as the window is left (OK, Cancel, or destroyed without
    // either), after the preview worker has stopped.
    void SetEndHook(std::function<void(const End&)> hook) { endHook_ = std::move(hook); }

    // mainWindow: where a failed mode switch on leaving is reported (the main window's status
    // line); it must outlive this window.
    CsensorsetmpDlg(SharedState& state, ConsoleView& mainWindow, QWidget* parent = nullptr);
    ~CsensorsetmpDlg() override;

    // LevelingView, UI thread.
    void SetStatus(int sensor, const std::string& text) override;
    void SetSlider(int sensor, int position) override;
    void DrawPreview(int sensor, const PreviewFrame& frame) override;

    bool startedWorker() const { return worker_ != nullptr; }

  public slots:
    void accept() override;  // OK and Enter: the OK check
    void reject() override;  // Esc and close: Cancel

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BuildControls();
    void LayOut();
    void SetUp();
    void OnArrow(int sensor, bool up);
    void OnSliderAction(int sensor);
    void OnExposure();
    void Close(bool ok);
    End Ended(Result result) const;

    SharedState& state_;
    ConsoleView& mainWindow_;
    QFont font_;
    std::unique_ptr<LevelingViewBridge> bridge_;
    StartLineAdjuster adjuster_;
    std::array<std::unique_ptr<PreviewImageInfo>, 2> imageInfo_;
    std::array<PreviewPictureWidget*, 2> pictures_{};
    std::array<QLabel*, 2> statuses_{};
    std::array<QSlider*, 2> sliders_{};
    std::unique_ptr<ImagePreviewThread> worker_;  // declared after the bridge it talks to
    bool closed_ = false;
    std::function<void(const End&)> endHook_;
};

}  // namespace tavlin
