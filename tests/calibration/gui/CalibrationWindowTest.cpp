// The calibration windows on a 1920 x 1080 offscreen screen, against the simulated stylus:
// controls are read by their ids, keys pressed as the operator would.
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>
#include <chrono>
#include <fstream>
#include <memory>

#include "app/CTavlinDlg.h"
#include "base/Log.h"
#include "base/StringTable.h"
#include "calibration/CalibrationCheckTexts.h"
#include "calibration/CalibrationTexts.h"
#include "calibration/CcalibrationcheckDlg.h"
#include "calibration/CcalibrationclientDlg.h"
#include "calibration/CcalibrationmpDlg.h"
#include "calibration/CrosshairControl.h"
#include "console/ModeSwitcher.h"
#include "device/CommandThread.h"
#include "device/DeviceProtocol.h"
#include "language/QtTranslation.h"
#include "sim/SimTransport.h"
#include "ui/ControlLookup.h"

using namespace tavlin;

namespace {

QString Utf8(const char* s) {
    return QString::fromUtf8(s);
}

QString Translated(const char* builtIn) {
    return QString::fromStdString(Tr(builtIn));
}

std::string Slurp(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

int CountReports(sim::SimTransport& sim, uint8_t command) {
    int n = 0;
    for (const auto& r : sim.recorder().outReports()) {
        n += r[1] == command ? 1 : 0;
    }
    return n;
}

// The main window's side of the command thread and the mode switch, for a window opened alone.
class QuietHost : public CommandThreadHost, public ConsoleView {
  public:
    void PostCmdDone() override {}
    void AppendOutputText(const std::string&) override {}
    void SetReadValueText(const std::string&) override {}
    void SetStatusText(const std::string&) override {}
    void SetVersionText(const std::string&) override {}
    void SetControlCaption(int, const std::string&) override {}
    void HideControls(const std::vector<int>&) override {}
};

}  // namespace

class CalibrationWindowTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::unique_ptr<SharedState> state_;
    std::unique_ptr<sim::SimTransport> sim_;
    std::unique_ptr<HidDevice> device_;
    QuietHost host_;
    std::unique_ptr<CommandThread> commandThread_;
    std::unique_ptr<ModeSwitcher> modes_;
    std::unique_ptr<CTavlinDlg> mainWindow_;

    std::string Log() const { return Slurp(dir_.filePath("Tavlin_log.txt")); }

    void StartDevice(int transferTimeoutMs = 100) {
        state_ = std::make_unique<SharedState>();
        sim_ = std::make_unique<sim::SimTransport>(sim::SimTransport::Options{});
        sim_->recorder().SetEnabled(true);
        device_ = std::make_unique<HidDevice>(*sim_);
        device_->setTimeoutMs(transferTimeoutMs);
        uint16_t productId = 0;
        QCOMPARE(OpenHidDevice(*device_, &productId), 1);
        state_->g_bDevExist = 1;
        commandThread_ = std::make_unique<CommandThread>(*state_, *device_, host_);
        commandThread_->Start();
        modes_ = std::make_unique<ModeSwitcher>(*state_, host_);
        QVERIFY(modes_->EnterCalibrationMode(ModeSwitcher::Launcher::Calibration));
    }
    QPointer<CcalibrationmpDlg> OpenWindow(CalibrationDataThread::Timing timing = {}) {
        auto* dialog = new CcalibrationmpDlg(
            *state_,
            [this] {
                bool accepted = false;
                static_cast<void>(modes_->ReturnToWorkMode(&accepted));
                return accepted;
            },
            nullptr, timing);
        dialog->Open(QGuiApplication::primaryScreen());
        return dialog;
    }
    void OpenMainWindow(bool engineering) {
        state_ = std::make_unique<SharedState>();
        sim_ = std::make_unique<sim::SimTransport>(sim::SimTransport::Options{});
        sim_->recorder().SetEnabled(true);
        device_ = std::make_unique<HidDevice>(*sim_);
        device_->setTimeoutMs(100);
        MainWindowOptions options;
        options.engineering = engineering;
        mainWindow_ = std::make_unique<CTavlinDlg>(*state_, *device_, options);
        mainWindow_->show();
        QTRY_COMPARE(state_->g_bDevExist.load(), 1);
        // The device is marked present before the detection's own status line reaches the
        // window; a click before that would have its status overwritten.
        QTRY_COMPARE(mainWindow_->StatusText(), std::string(LoadString(IDS_DETECT_DONE)));
        QTRY_COMPARE(state_->g_DetectThread.load(), nullptr);
    }
    void Click(QWidget* parent, int id) {
        QTest::mouseClick(findControl<QAbstractButton>(parent, id), Qt::LeftButton);
    }
    static QString Instruction(QWidget* dialog) {
        return dialog == nullptr ? QString("(closed)") : findControl<QLabel>(dialog, 1057)->text();
    }
    void Screenshot(QWidget* dialog, const QString& what, const char* lang) {
        const QString name = QString(TAVLIN_SCREENSHOT_DIR "/calibration_%1_%2.png")
                                 .arg(what, QString(lang).left(2));
        QVERIFY(dialog->grab().save(name));
    }

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        SetLogFilePath(dir_.filePath("Tavlin_log.txt").toStdString());
        QCOMPARE(QGuiApplication::primaryScreen()->geometry(), QRect(0, 0, 1920, 1080));
    }
    void cleanup() {
        mainWindow_.reset();
        // A window that closed itself is deleted later; it must go before the state it uses.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (commandThread_) {
            const RequestHandle exit = PostRequest(*state_, WM_EXIT_CMD_THREAD);
            WaitRequest(exit, state_->g_CmdThreadExitEvent, INFINITE);
            commandThread_->Join();
        }
        modes_.reset();
        commandThread_.reset();
        device_.reset();
        sim_.reset();
        state_.reset();
    }

    // Enter (either key) and Esc leave each calibration window, once: it hides and deletes
    // itself, and the production window's way back to work mode runs once, a second way out
    // (the worker's close request) notwithstanding. Space offers nothing here: it stays.
    void everyWindowLeavesOnceOnEnterOrEsc_data() {
        QTest::addColumn<int>("window");
        QTest::addColumn<int>("key");
        const char* names[] = {"production", "client", "check"};
        const std::pair<Qt::Key, const char*> keys[] = {
            {Qt::Key_Return, "Return"}, {Qt::Key_Enter, "Enter"}, {Qt::Key_Escape, "Esc"}};
        for (int window = 0; window < 3; ++window) {
            for (const auto& [key, keyName] : keys) {
                QTest::addRow("%s %s", names[window], keyName) << window << static_cast<int>(key);
            }
        }
    }
    void everyWindowLeavesOnceOnEnterOrEsc() {
        QFETCH(int, window);
        QFETCH(int, key);
        state_ = std::make_unique<SharedState>();  // no device: the production window waits
        int returns = 0;
        QScreen* screen = QGuiApplication::primaryScreen();
        QPointer<QDialog> dialog;
        if (window == 0) {
            auto* production = new CcalibrationmpDlg(*state_, [&returns] { return ++returns > 0; });
            production->Open(screen);
            dialog = production;
        } else if (window == 1) {
            auto* client = new CcalibrationclientDlg;
            client->Open(screen);
            dialog = client;
        } else {
            CheckOptions sized;
            sized.screenWidthMm = 1920 * 0.254;
            sized.screenHeightMm = 1080 * 0.254;
            auto* check = new CcalibrationcheckDlg(sized, {});
            check->Open(screen);
            dialog = check;
        }
        QVERIFY(dialog->isVisible());
        if (window != 1) {
            QTest::keyClick(dialog, Qt::Key_Space);
            QVERIFY(dialog->isVisible());
        }
        QTest::keyClick(dialog, static_cast<Qt::Key>(key));
        QVERIFY(!dialog->isVisible());
        dialog->reject();
        QCOMPARE(returns, window == 0 ? 1 : 0);
        QTRY_VERIFY(dialog.isNull());
    }

    void coversTheScreenWithItsControlsInPlace() {
        StartDevice();
        sim_->faults().NoReplyTo(cmd::kCalInit);
        QPointer<CcalibrationmpDlg> dialog = OpenWindow();
        QTRY_COMPARE(dialog->geometry(), QRect(0, 0, 1920, 1080));
        QVERIFY(dialog->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(findControl<QLabel>(dialog, 1057)->geometry(), QRect(320, 0, 960, 111));
        QCOMPARE(findControl<QLabel>(dialog, 1057)->font().pixelSize(), 20);
        auto* exit = findControl<QPushButton>(dialog, 1065);
        QVERIFY(exit->isHidden());
        QCOMPARE(exit->geometry(), QRect(1770, 1030, 80, 30));
        QCOMPARE(state_->g_ScreenWidth.load(), 1920);
        QCOMPARE(state_->g_ScreenHeight.load(), 1080);
        QTest::keyClick(dialog, Qt::Key_Escape);
        QTRY_VERIFY(dialog.isNull());
    }

    // The finishing text while the device takes the screen size (it is slow to answer here).
    void finishingText_data() {
        QTest::addColumn<QByteArray>("lang");
        QTest::newRow("zh") << QByteArray("zh_CN.UTF-8");
        QTest::newRow("en") << QByteArray("en_US.UTF-8");
    }
    void finishingText() {
        QFETCH(QByteArray, lang);
        qputenv("LC_ALL", lang);
        QTranslator translator;
        QVERIFY(InstallLanguage(TAVLIN_QM_DIR, translator));
        StartDevice(3000);
        sim_->faults().NoReplyTo(cmd::kCalParam);
        QPointer<CcalibrationmpDlg> dialog = OpenWindow();
        QTRY_VERIFY2_WITH_TIMEOUT(
            Instruction(dialog) == QString::fromStdString(FinishingText(0)),
            qPrintable(Instruction(dialog) + QString::number(CountReports(*sim_, cmd::kCalParam)) +
                       QString::number(state_->g_CalDataInitSuc)),
            20000);
        QVERIFY(Instruction(dialog).contains(" 0%"));
        QCOMPARE(findControl<CrosshairControl>(dialog, 1062)->mode(),
                 CalibrationView::Crosshair::Blank);
        Screenshot(dialog, "finishing", lang.constData());
        QTest::keyClick(dialog, Qt::Key_Escape);
        QVERIFY(dialog.isNull() || !dialog->isVisible());
        cleanup();
        QCoreApplication::removeTranslator(&translator);
        SetStringTranslator({});
        qunsetenv("LC_ALL");
    }

    // The whole run in the operator's language, with a picture of the first target.
    void wholeRunWithTheSimulatedStylus() {
        for (const char* lang : {"zh_CN.UTF-8", "en_US.UTF-8"}) {
            qputenv("LC_ALL", lang);
            QTranslator translator;
            QVERIFY(InstallLanguage(TAVLIN_QM_DIR, translator));
            StartDevice();
            QCOMPARE(sim_->firmware().mode(), 0xFF);
            sim_->firmware().setStylusManual(false, 0, 0);  // the operator has not touched yet
            QPointer<CcalibrationmpDlg> dialog = OpenWindow();
            auto* cross = findControl<CrosshairControl>(dialog, 1062);
            QTRY_COMPARE(cross->geometry(), QRect(64 - 20, 32 - 20, 40, 40));
            QVERIFY(cross->isVisible());
            QCOMPARE(cross->mode(), CalibrationView::Crosshair::Cross);
            QCOMPARE(Instruction(dialog), Translated(caltext::kTouchTheCross));
            Screenshot(dialog, "first_target", lang);
            sim_->firmware().setStylusAutomatic();
            // Completed: back in work mode at once, and the check is offered until Esc.
            QTRY_VERIFY_WITH_TIMEOUT(dialog->CheckOffered(), 20000);
            QCOMPARE(Instruction(dialog), Translated(checktext::kCompletedOffer));
            QCOMPARE(sim_->firmware().screenSize(), (std::pair<uint16_t, uint16_t>{1920, 1080}));
            QCOMPARE(sim_->firmware().mode(), 0x22);
            const int switches = CountReports(*sim_, cmd::kModeSwitch);
            QTest::keyClick(dialog, Qt::Key_Escape);
            QTRY_VERIFY(dialog.isNull());
            QCOMPARE(CountReports(*sim_, cmd::kModeSwitch), switches);  // not sent twice
            QCOMPARE(state_->g_CalThread.load(), nullptr);
            cleanup();
            QCoreApplication::removeTranslator(&translator);
            SetStringTranslator({});
        }
        qunsetenv("LC_ALL");
    }

    void escWhileASampleIsOutstandingClosesWithinOneWait() {
        StartDevice();
        sim_->faults().NoReplyTo(cmd::kCalPoint);
        QPointer<CcalibrationmpDlg> dialog = OpenWindow();  // the product's 3000 ms limit
        QTRY_VERIFY(CountReports(*sim_, cmd::kCalPoint) >= 1);
        const int switchesBefore = CountReports(*sim_, cmd::kModeSwitch);
        const auto start = std::chrono::steady_clock::now();
        QTest::keyClick(dialog, Qt::Key_Escape);
        QVERIFY(dialog.isNull() || !dialog->isVisible());
        QVERIFY(std::chrono::steady_clock::now() - start < std::chrono::milliseconds(3000));
        QCOMPARE(state_->g_CalThread.load(), nullptr);
        QCOMPARE(CountReports(*sim_, cmd::kModeSwitch), switchesBefore + 1);
        QCOMPARE(sim_->firmware().mode(), 0x22);
        QTRY_VERIFY(dialog.isNull());
    }

    // Enter leaves as Esc does: the worker stopped, the device back in work mode.
    void enterLeavesTheRun() {
        StartDevice();
        sim_->faults().NoReplyTo(cmd::kCalPoint);
        QPointer<CcalibrationmpDlg> dialog = OpenWindow();
        QTRY_VERIFY(CountReports(*sim_, cmd::kCalPoint) >= 1);
        QTest::keyClick(dialog, Qt::Key_Return);
        QVERIFY(dialog.isNull() || !dialog->isVisible());
        QCOMPARE(state_->g_CalThread.load(), nullptr);
        QCOMPARE(sim_->firmware().mode(), 0x22);
        QTRY_VERIFY(dialog.isNull());
    }

    void withoutADeviceNoWorkerStarts() {
        StartDevice();
        state_->g_bDevExist = 0;
        QPointer<CcalibrationmpDlg> dialog = OpenWindow();
        QCOMPARE(Instruction(dialog), Utf8(caltext::kNoDeviceAtStart));
        QCOMPARE(state_->g_CalThread.load(), nullptr);
        QTest::qWait(50);
        QCOMPARE(CountReports(*sim_, cmd::kCalInit), 0);
        QTest::keyClick(dialog, Qt::Key_Escape);
        QTRY_VERIFY(dialog.isNull());
        QCOMPARE(sim_->firmware().mode(), 0x22);  // closing still returns to work mode
    }

    void launchersOfTheMainWindow() {
        OpenMainWindow(false);
        QVERIFY(findControl<QPushButton>(mainWindow_.get(), 1023)->isVisible());
        QVERIFY(!findControl<QPushButton>(mainWindow_.get(), 1025)->isVisible());
        Click(mainWindow_.get(), 1023);
        const auto opened = mainWindow_->findChildren<CcalibrationmpDlg*>();
        QCOMPARE(opened.size(), 1);
        QPointer<CcalibrationmpDlg> dialog = opened.front();
        QCOMPARE(dialog->screen(), mainWindow_->screen());
        QCOMPARE(sim_->firmware().mode(), 0xFF);
        QTRY_VERIFY_WITH_TIMEOUT(dialog->CheckOffered(), 20000);
        QCOMPARE(sim_->firmware().mode(), 0x22);
        QTest::keyClick(dialog, Qt::Key_Escape);
        QTRY_VERIFY(dialog.isNull());
    }

    void calibrationLauncherWhenTheModeSwitchIsRefused() {
        OpenMainWindow(false);
        sim_->faults().Refuse(cmd::kModeSwitch);
        Click(mainWindow_.get(), 1023);
        QTRY_COMPARE(mainWindow_->StatusText(), std::string(LoadString(IDS_SWITCH_FAILED)));
        QVERIFY(mainWindow_->findChildren<CcalibrationmpDlg*>().isEmpty());
        QVERIFY(Log().find(
                    ") Calibration: Switch to work mode failed!\nret=0,g_isWorkSwitchSuc=0\n,") !=
                std::string::npos);
    }

    void clientCalibrationWindow() {
        OpenMainWindow(true);
        auto* launcher = findControl<QPushButton>(mainWindow_.get(), 1025);
        QVERIFY(launcher->isVisible());
        Click(mainWindow_.get(), 1025);
        const auto opened = mainWindow_->findChildren<CcalibrationclientDlg*>();
        QCOMPARE(opened.size(), 1);
        QPointer<CcalibrationclientDlg> client = opened.front();
        QCOMPARE(mainWindow_->StatusText(), std::string(LoadString(IDS_DETECT_DONE)));
        QTRY_COMPARE(client->geometry(), QRect(0, 0, 1920, 1080));
        auto* text = findControl<QLabel>(client, 1058);
        QCOMPARE(text->geometry(), QRect(480, 3, 960, 108));
        QCOMPARE(text->text(), Utf8(caltext::kClientInitialising));
        const int reportsBefore = static_cast<int>(sim_->recorder().outReports().size());
        QTest::keyClick(client, Qt::Key_Escape);
        QTRY_VERIFY(client.isNull());
        QVERIFY(mainWindow_->isVisible());
        QCOMPARE(static_cast<int>(sim_->recorder().outReports().size()), reportsBefore);

        // Enter (either key) closes it as Esc does.
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            Click(mainWindow_.get(), 1025);
            const auto again = mainWindow_->findChildren<CcalibrationclientDlg*>();
            QCOMPARE(again.size(), 1);
            client = again.front();
            QTest::keyClick(client, key);
            QVERIFY2(!client->isVisible(), qPrintable(QString::number(key, 16)));
            QTRY_VERIFY(client.isNull());
        }
        QVERIFY(mainWindow_->isVisible());
        QCOMPARE(static_cast<int>(sim_->recorder().outReports().size()), reportsBefore);

        sim_->Detach();
        QTRY_COMPARE(state_->g_bDevExist.load(), 0);
        Click(mainWindow_.get(), 1025);
        QVERIFY(mainWindow_->findChildren<CcalibrationclientDlg*>().isEmpty());
        QCOMPARE(mainWindow_->StatusText(), std::string(LoadString(IDS_NO_DEVICE)));
    }
};

QTEST_MAIN(CalibrationWindowTest)
#include "CalibrationWindowTest.moc"
