#pragma once
#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "console/ConsoleView.h"
#include "console/ModeSwitcher.h"
#include "device/SharedState.h"
#include "firmware/FirmwareSession.h"
#include "firmware/FirmwareView.h"
#include "firmware/PackagePolicy.h"
#include "firmware/UpdateHold.h"
#include "firmware/UpdateJournal.h"
#include "ui/FileChooser.h"

class QLabel;
class QLineEdit;
class QProgressBar;

namespace tavlin {

// The modal firmware update window (template 143, "更新固件"). Its behaviour is
// FirmwareSession's; this class is its widgets, its file choices and the Qt side of the view:
// calls from the worker's thread are queued to the UI thread.
class CfirmwareUpdateDlg : public QDialog, public FirmwareView {
    Q_OBJECT
  public:
    using FileChooser = ui::FileChooser;
    // Runs on the UI thread as an update's worker starts on `package`. `journal` is where its
    // progress goes (the journal source's, or null), `ended` waits for the worker's end (off the
    // UI thread) and tells what the update did; `release` (UI thread, once the update is
    // recorded) shows what the window held back meanwhile, its outcome last.
    using UpdateGate =
        std::function<void(const std::string& package, std::shared_ptr<UpdateJournal> journal,
                           std::function<UpdateEnd()> ended, std::function<void()> release)>;
    // UI thread, just before a gated update's worker may start: a journal for its progress, or
    // null. Its calls must return at once: they come from the worker.
    using JournalSource = std::function<std::shared_ptr<UpdateJournal>()>;

    CfirmwareUpdateDlg(SharedState& state, ConsoleView& mainView, ModeSwitcher& modes,
                       bool engineering, QWidget* parent = nullptr);
    ~CfirmwareUpdateDlg() override;

    // FirmwareView: any thread.
    void SetFirmwareStatus(const std::string& text) override;
    void SetProgress(int position) override;
    void SetMainVersionText(const std::string& text) override;
    void ImageWritten(ImageWrite write, const std::string& name, uint64_t bytes,
                      int packets) override;
    void UpdateEnded(const Result& result) override;
    void UpdateStarting(const LoadedPackage& package) override;
    void ImageGoing(ImageWrite write, uint64_t packet) override;

    // With a gate, each update's outcome shows only once the gate releases it.
    void SetUpdateGate(UpdateGate gate) { gate_ = std::move(gate); }
    void SetJournalSource(JournalSource source) { journalSource_ = std::move(source); }

    // UI thread: the unit's last update did not end. `text` goes on the status line and
    // `package`, unless empty, is chosen as if by the user (its check and signer show). False,
    // and nothing changes, once the user has chosen a package or started an update.
    bool OfferUnfinishedUpdate(const std::string& text, const std::string& package);

    // UI thread: the presence texts (145, 147, 104) and what the status line shows now.
    void ShowStatus(const std::string& text);
    std::string StatusText() const;
    // Tests: replace the system's open-file dialog, shorten the preparation deadline.
    void SetFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }
    void SetPreparationDeadline(std::chrono::milliseconds deadline);
    // Whom the station trusts for packages; the chosen package is checked anew against it.
    void SetPackagePolicy(PackagePolicy policy);

    // The program is ending (SIGTERM): the window leaves through its exit handling without
    // waiting for a device that may still be on its way into its update environment.
    void Quit();

  public slots:
    void accept() override;  // Enter
    void reject() override;  // exit button, Esc, close box

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void BuildControls(bool engineering);
    void BuildEngineeringControls(bool engineering);
    void LayOut();
    void InitDialog();
    void PlaceStatusLine();
    void OnChoosePackage();
    void OnChooseFpga();
    QString ChooseFile(const char* iniSection, const char* filter);
    // Reads and checks the chosen package now, before any update of it can start: shows who
    // signed it beside it, or refuses it (on the status line too when `tell`).
    void CheckChosenPackage(bool tell);
    void OnOneKeyUpdate();
    std::shared_ptr<UpdateHold> CurrentHold();
    std::shared_ptr<UpdateJournal> CurrentJournal();
    void Pass(const UpdateHold::Call& call);

    SharedState& state_;
    ConsoleView& main_;
    UpdateGate gate_;
    JournalSource journalSource_;
    std::mutex holdMutex_;
    std::shared_ptr<UpdateHold> hold_;        // under holdMutex_: the last gated update's
    std::shared_ptr<UpdateJournal> journal_;  // under holdMutex_: its journal, if any
    bool ownChoice_ = false;                  // the user chose a package or started an update
    FirmwareSession session_;
    FileChooser chooser_;
    QString fpgaFile_;
    QLabel* status_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLineEdit* packagePath_ = nullptr;
    QLabel* signer_ = nullptr;
    PackagePolicy policy_;
    QLineEdit* fpgaPath_ = nullptr;
    QTimer preparation_;
};

}  // namespace tavlin
