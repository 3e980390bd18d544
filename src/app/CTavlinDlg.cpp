#include "app/CTavlinDlg.h"
#include "base/ControlIds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include "app/AboutDialog.h"
#include "app/AppIcon.h"
#include "app/MainLayout.h"
#include "app/PresenceBridge.h"
#include "app/SystemMenu.h"
#ifdef _WIN32
#include "app/WinSystemMenu.h"
#endif
#include "app/WindowFit.h"
#include "base/Log.h"
#include "base/StringTable.h"
#include "calibration/CalibrationWindow.h"
#include "calibration/CcalibrationcheckDlg.h"
#include "console/FpgaDownload.h"
#include "console/ModeSwitcher.h"
#include "console/RegisterPanel.h"
#include "console/ScriptRunner.h"
#include "device/CommandThread.h"
#include "device/DeviceChangeWatch.h"
#include "device/DeviceDetector.h"
#include "leveling/CsensorsetmpDlg.h"
#include "ui/ControlLookup.h"
#include "ui/DialogKeys.h"
#include "ui/UiTexts.h"

namespace tavlin {
namespace {

QString Text(const char* builtIn) {
    return QString::fromStdString(Tr(builtIn));
}

// Width of the area the visible controls are laid out in (the template's 319 dialog units).
constexpr int kMainAreaWidth = 480;
constexpr int kMainAreaHeight = 420;

}  // namespace

CTavlinDlg::CTavlinDlg(SharedState& state, HidDevice& device, MainWindowOptions options,
                       QWidget* parent)
    : QDialog(parent),
      state_(state),
      device_(device),
      options_(options),
      bridge_(std::make_unique<DialogBridge>(this, state)) {
    BuildControls();
    CreateConsole();
    InitDialog();
    // Once the log has started: --results none says so in it.
    records_ = std::make_unique<WindowRecords>(options_.records);
}

CTavlinDlg::~CTavlinDlg() {
    // A window destroyed without passing through exit (a test, a crash of the event loop) still
    // stops its threads before the objects they use go away. Calls still coming from them are
    // dropped from here on.
    bridge_->Detach();
    // A check still open is left: its record is kept as stopped while the records still run.
    for (auto* check : findChildren<CcalibrationcheckDlg*>()) {
        delete check;
    }
    // So are a calibration, with its outcome so far, and a leveling window, with the values it
    // had.
    for (auto* calibration : findChildren<CalibrationWindow*>()) {
        delete calibration;
    }
    for (auto* leveling : findChildren<CsensorsetmpDlg*>()) {
        delete leveling;
    }
    Shutdown(false);
    // The workers have ended: a record still being written (a request's end it awaited is
    // settled by now) is finished before the window goes.
    records_.reset();
}

void CTavlinDlg::BuildControls() {
    setWindowTitle(Text(ui::kMainCaption));
    setWindowIcon(AppIcon());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);

    status_ = new QLabel(Text(ui::kStaticPlaceholder), this);
    SetControlId(status_, control::kStatusLine);
    status_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    status_->setWordWrap(true);
    status_->resize(400, 44);
    version_ = new QLabel(this);
    SetControlId(version_, control::kVersionLine);
    version_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    version_->resize(400, 40);

    auto* exitButton = new QPushButton(Text(ui::kExit), this);
    SetControlId(exitButton, control::kExit);
    exitButton->resize(110, 32);
    connect(exitButton, &QPushButton::clicked, this, &CTavlinDlg::reject);

    auto* switchLabel = new QLabel(Text(ui::kSwitchLabel), this);
    SetControlId(switchLabel, control::kModeLabel);
    switchLabel->adjustSize();
    modeToggle_ = new QPushButton(Text(ui::kModeToggle), this);
    SetControlId(modeToggle_, control::kModeToggle);
    // Sized once for both captions it takes, so a mode switch never clips it.
    const QStringList modeCaptions{QString::fromStdString(LoadString(IDS_MODE_CALIBRATION)),
                                   QString::fromStdString(LoadString(IDS_MODE_WORK))};
    modeToggle_->resize(std::max(140, WidthForCaptions(*modeToggle_, modeCaptions)), 28);
    connect(modeToggle_, &QPushButton::clicked, this, &CTavlinDlg::OnModeToggle);

    BuildFirmwareLauncher();
    BuildEngineeringControls();
    BuildLevelingButtons();
    BuildCalibrationLaunchers();
    BuildRecordControls();
    for (auto* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);  // Enter is the window's OK, never a focused button
    }
    WidenButtonsToCaptions(*this);
    // A dialog keeps its template's size: the layout is computed for it.
    setFixedSize(options_.engineering ? kMainAreaWidth + 520 : kMainAreaWidth, kMainAreaHeight);
}

void CTavlinDlg::InitDialog() {
    // Reset the process-wide flags this window owns.
    state_.g_isBurstFileUsed = 0;
    state_.g_CodePacketSuc = 0;
    state_.g_PreviewSucFlag = 0;
    state_.g_OptimumLineFlag = 0;
    state_.g_CalCheckFlag = 0;
    state_.g_CalDataInitSuc = 0;
    state_.g_isDlgClosing = 0;
    slaveCheck_ = 0;
    LayOut();
#ifdef _WIN32
    AppendAboutToSystemMenu(*this, QString::fromStdString(LoadString(IDS_ABOUTBOX)));
#endif

    state_.g_CmdThread = nullptr;
    state_.g_PreviewThread = nullptr;
    state_.g_CalThread = nullptr;
    state_.g_DetectThread = nullptr;
    state_.g_FpgaDownloadThread = nullptr;
    state_.g_ScriptThread = nullptr;

    state_.AllocatePreviewBuffers();

    state_.g_bDevExist = 0;
    WatchSessionTrace();
    RegisterForDeviceNotifications();
    QMetaObject::invokeMethod(
        this, [this] { StartDetect(); }, Qt::QueuedConnection);
    status_->setText(QString::fromStdString(LoadString(IDS_DETECTING)));
    LogStart();
    if (!options_.startNote.empty()) {
        WriteLog("%s", options_.startNote.c_str());
    }
    if (options_.checkCalibration) {
        QMetaObject::invokeMethod(
            this, [this] { OpenCalibrationCheck(); }, Qt::QueuedConnection);
    }
    if (state_.g_CmdThread == nullptr) {
        commandThread_ = std::make_unique<CommandThread>(state_, device_, *bridge_);
        commandThread_->Start();
    }
}

void CTavlinDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    LayOut();
}

void CTavlinDlg::LayOut() {
    const int W = std::min(width(), kMainAreaWidth);
    const int H = height();
    std::map<int, Size> sizes;
    for (int id : {control::kStatusLine, control::kVersionLine, control::kLeveling,
                   control::kCalibration, control::kClientAdjust, control::kClientCalibration,
                   control::kUpdateFirmware, control::kExit, control::kModeToggle,
                   control::kModeLabel, control::kHistory, control::kRecordWarning}) {
        if (QWidget* w = findControl(this, id)) {
            sizes[id] = {w->width(), w->height()};
        }
    }
    for (const auto& [id, at] : MainWindowLayout(W, H, sizes)) {
        if (QWidget* w = findControl(this, id)) {
            w->move(at.x, at.y);
        }
    }
    if (engineeringPanel_ != nullptr) {
        engineeringPanel_->setGeometry(kMainAreaWidth, 0, std::max(0, width() - kMainAreaWidth),
                                       height());
    }
}

#ifdef _WIN32
bool CTavlinDlg::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
    if (IsAboutCommand(eventType, message)) {
        ShowAbout();
        *result = 0;
        return true;
    }
    return QDialog::nativeEvent(eventType, message, result);
}
#else
void CTavlinDlg::contextMenuEvent(QContextMenuEvent* event) {
    // Where windows have no system menu of their own, the context menu stands in for it: a
    // separator and the about entry (string 101).
    const QString about = QString::fromStdString(LoadString(IDS_ABOUTBOX));
    if (about.isEmpty()) {
        return;
    }
    QMenu menu(this);
    AddAboutEntry(menu, about, [this] { ShowAbout(); });
    menu.exec(event->globalPos());
}
#endif

void CTavlinDlg::ShowAbout() {
    AboutDialog about(this);
    about.exec();
}

void CTavlinDlg::keyPressEvent(QKeyEvent* event) {
    if (!HandleDialogKey(*this, *event)) {
        QDialog::keyPressEvent(event);
    }
}

void CTavlinDlg::AppendOutputText(const std::string& text) {
    if (IsClosing() || output_ == nullptr) {
        return;
    }
    QTextCursor cursor = output_->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QString::fromStdString(text));
    output_->setTextCursor(cursor);
    output_->verticalScrollBar()->setValue(output_->verticalScrollBar()->maximum());
}

void CTavlinDlg::OnCmdDone() {
    UpdateData(false);
}

void CTavlinDlg::SetReadValueMember(const std::string& text) {
    readValueText_ = QString::fromStdString(text);
}

void CTavlinDlg::SetControlText(int controlId, const std::string& text) {
    QWidget* w = findControl(this, controlId);
    const QString value = QString::fromStdString(text);
    if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(value);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(value);
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(value);
    }
}

void CTavlinDlg::HideControls(const std::vector<int>& controlIds) {
    for (int id : controlIds) {
        if (QWidget* w = findControl(this, id)) {
            w->hide();
        }
    }
}

std::string CTavlinDlg::StatusText() const {
    return status_->text().toStdString();
}
std::string CTavlinDlg::VersionText() const {
    return version_->text().toStdString();
}

void CTavlinDlg::UpdateData(bool fromControls) {
    auto* fpga = findControl<QLineEdit>(this, control::kFpgaPath);
    auto* script = findControl<QLineEdit>(this, control::kScriptPath);
    auto* addr = findControl<QLineEdit>(this, control::kRegAddress);
    auto* value = findControl<QLineEdit>(this, control::kRegValue);
    auto* line = findControl<QLineEdit>(this, control::kStartLine);
    auto* slave = findControl<QCheckBox>(this, control::kSlaveBox);
    if (fromControls) {
        fpgaPath_ = fpga->text();
        scriptPath_ = script->text();
        regAddrText_ = addr->text();
        readValueText_ = value->text();
        startLine_ = line->text().toUInt();
        slaveCheck_ = slave->isChecked() ? 1 : 0;
    } else {
        fpga->setText(fpgaPath_);
        script->setText(scriptPath_);
        addr->setText(regAddrText_);
        value->setText(readValueText_);
        line->setText(QString::number(startLine_));
        slave->setChecked(slaveCheck_ != 0);
    }
}

void CTavlinDlg::OnClear() {
    if (output_ != nullptr) {
        output_->clear();
    }
}

}  // namespace tavlin
