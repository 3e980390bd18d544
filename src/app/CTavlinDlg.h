#pragma once
#include <QDialog>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/DialogBridge.h"
#include "app/WindowRecords.h"
#include "base/Result.h"
#include "calibration/CalibrationCheck.h"
#include "device/CommandThread.h"
#include "device/HidDevice.h"
#include "device/SharedState.h"
#include "firmware/PackagePolicy.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QLineEdit;
class QCheckBox;
class QComboBox;

namespace tavlin {

class CalibrationWindow;
class CfirmwareUpdateDlg;

class CommandThread;
class DeviceDetector;
class DeviceChangeWatch;
class ReplayTransport;
class TraceWriter;
class RegisterPanel;
class FpgaDownload;
class ScriptRunner;
class ModeSwitcher;
struct MainWindowOptions {
    bool engineering = false;       // show the engineering console (--engineering)
    bool watchDevices = true;       // follow the transport's arrivals and removals
    bool checkCalibration = false;  // open the calibration check once the window runs
    CheckOptions check;             // the calibration check's tolerance and screen size
    PackagePolicy packages;         // whom the firmware window trusts for packages
    // Written to the log once it starts: which devices the window saw at start and which one it
    // works on, when several were attached.
    std::string startNote;
    // A session recorded (into recordPath) or replayed in the device's place: the window tells
    // a recording cut short and a replay that ran out as they happen, and a replay's shortfall
    // as it closes (status line, log, stderr).
    TraceWriter* recording = nullptr;
    std::string recordPath;
    ReplayTransport* replay = nullptr;
    // Where the window's runs keep their records, and for whom; none kept without it (the
    // program always gives it; a test gives it when records are what it is about).
    std::optional<WindowRecordOptions> records;
};

// The main window: status line, version line, the tool buttons, the mode toggle, and the
// engineering console (hidden unless asked for). It owns the command thread and the device
// detection for its lifetime.
class CTavlinDlg : public QDialog {
    Q_OBJECT
  public:
    CTavlinDlg(SharedState& state, HidDevice& device, MainWindowOptions options,
               QWidget* parent = nullptr);
    ~CTavlinDlg() override;

    // UI thread (workers reach it through the bridge): appends to the output pane, nothing while
    // the window is closing.
    void AppendOutputText(const std::string& text);
    bool IsClosing() const { return state_.g_isDlgClosing != 0; }

    // UI thread: the WM_CMD_DONE refresh and the helpers the bridge queues.
    void OnCmdDone();
    void SetReadValueMember(const std::string& text);
    void SetControlText(int controlId, const std::string& text);
    void HideControls(const std::vector<int>& controlIds);
    void UpdateData(bool fromControls);

    DialogBridge& bridge() { return *bridge_; }
    // Where the detection writes the firmware window's status line (while that window is open).
    void SetFirmwareStatusSink(std::function<void(const std::string&)> sink) {
        firmwareStatusSink_ = std::move(sink);
    }
    void SetFirmwareStatusText(const std::string& text);
    std::string StatusText() const;
    std::string VersionText() const;

    // SIGINT/SIGTERM: each open tool window leaves through its own exit handling (its worker
    // stopped, the device returned to work mode), then this window through its exit path.
    void QuitFromSignal();

  public slots:
    void accept() override;  // Enter: the OK path
    void reject() override;  // Esc, close box and the exit button

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
#ifdef _WIN32
    // The about entry of the window's real system menu.
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#else
    void contextMenuEvent(QContextMenuEvent* event) override;
#endif

  private:
    void BuildControls();
    void BuildEngineeringControls();
    void BuildCalibrationLaunchers();
    void RegisterForDeviceNotifications();
    void StopPresence();
    // The session's recording or replay (options_): told as it goes, and at the close.
    void WatchSessionTrace();
    void TellSessionTraceAtClose();
    void CreateConsole();
    void LayOut();
    void InitDialog();
    void StartDetect();
    void OnDeviceChange();
    void ShowAbout();
    void CloseDevice();
    void Shutdown(bool okPath);

    // Button handlers.
    void OnChooseFpgaFile();
    void OnDownloadFpga();
    void OnChooseScript();
    void OnRunScript();
    void OnRegisterWrite();
    void OnRegisterRead();
    // A request of the engineering console, posted by `post`, kept as a run of `command`.
    void RunRecordedRequest(std::string command, std::vector<std::string> arguments,
                            const std::function<Result(RequestHandle*)>& post);
    void OnSlaveClicked();
    void OnModeToggle();
    void OnVersionButton();
    void OnClear();
    void BuildFirmwareLauncher();
    void OnUpdateFirmware();
    void TellUnfinishedUpdate(CfirmwareUpdateDlg& dialog);
    void BuildLevelingButtons();
    void OnLeveling();
    void OnClientAdjust();
    void OnCalibration();
    void OnClientCalibration();
    void OpenCalibrationCheck();
    // The checks `window` offers keep records as the standalone check does.
    void KeepCheckRecords(CalibrationWindow* window);
    std::function<void()> CalibrateAgain();
    QString ChooseFile(const char* iniSection, const char* filter);

    // The runs' records (CTavlinDlgRecords.cpp). A run that talks to the device begins its
    // record before it starts; its result is shown by `show` only once the record is completed,
    // and a record that was not kept is told beside it.
    void BuildRecordControls();
    std::shared_ptr<WindowRecords::Run> BeginRecord(std::string command,
                                                    std::vector<std::string> arguments);
    void CompleteRecord(const std::shared_ptr<WindowRecords::Run>& run, const Result& outcome,
                        std::function<void(RunRecord&)> fill, std::function<void()> show);
    // As CompleteRecord for a run whose end is awaited off the window's thread in `ended`;
    // `finish` then runs on the records' thread and returns the run's result.
    void CompleteRecordAfter(const std::shared_ptr<WindowRecords::Run>& run,
                             std::function<void()> ended, std::function<Result(RunRecord&)> finish,
                             std::function<void()> show);
    // What the window knows of the unit: product id and the versions last read.
    std::function<void(RunRecord&)> UnitFill() const;
    void ShowRecordWarning(const std::string& warning);
    void OnHistory();

    SharedState& state_;
    HidDevice& device_;
    MainWindowOptions options_;
    std::unique_ptr<DialogBridge> bridge_;

    // Data members bound to controls.
    QString fpgaPath_;
    QString scriptPath_;
    QString regAddrText_;
    QString readValueText_;
    unsigned startLine_ = 0;
    int slaveCheck_ = 0;

    QLabel* status_ = nullptr;
    QLabel* version_ = nullptr;
    QPushButton* modeToggle_ = nullptr;
    QPlainTextEdit* output_ = nullptr;
    QLabel* recordWarning_ = nullptr;
    QWidget* engineeringPanel_ = nullptr;

    std::unique_ptr<CommandThread> commandThread_;
    std::unique_ptr<DeviceDetector> detector_;
    std::unique_ptr<DeviceChangeWatch> deviceWatch_;
    std::unique_ptr<RegisterPanel> registerPanel_;
    std::unique_ptr<FpgaDownload> fpgaDownload_;
    std::unique_ptr<ScriptRunner> scriptRunner_;
    std::unique_ptr<ModeSwitcher> modeControl_;
    std::unique_ptr<class PresenceBridge> presenceBridge_;
    // Last of the workers to end: a record completed at the close is still written.
    std::unique_ptr<WindowRecords> records_;
    std::function<void(const std::string&)> firmwareStatusSink_;
    bool shutDown_ = false;
};

}  // namespace tavlin
