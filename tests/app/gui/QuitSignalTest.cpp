// SIGTERM while a tool window is open: the tool window leaves through its own exit handling
// (worker stopped, device back in work mode or out of its update environment), then the main
// window through its exit path, "Tavlin log end!" last. The real signal, the real windows.
#include <QAbstractButton>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <csignal>
#include <fstream>
#include <memory>

#include "app/CTavlinDlg.h"
#include "app/QuitSignals.h"
#include "app/gui/SimulatedMainWindow.h"
#include "base/ControlIds.h"
#include "base/Log.h"
#include "console/ModeSwitcher.h"
#include "device/DeviceProtocol.h"
#include "firmware/CfirmwareUpdateDlg.h"
#include "sim/SimTransport.h"
#include "ui/ControlLookup.h"

using namespace tavlin;
using namespace std::chrono_literals;

namespace {

std::string Slurp(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The payload byte of the last report sent with this command byte; -1 when none was.
int LastPayload(sim::SimTransport& sim, uint8_t command) {
    int last = -1;
    for (const auto& r : sim.recorder().outReports()) {
        if (r[1] == command) {
            last = r[2];
        }
    }
    return last;
}

}  // namespace

class QuitSignalTest : public QObject, private testing::SimulatedMainWindow {
    Q_OBJECT

    QTemporaryDir dir_;
    std::unique_ptr<QuitSignals> quit_;

    std::string Log() const { return Slurp(dir_.filePath("Tavlin_log.txt")); }

    void Open(std::chrono::milliseconds reenumeration = 20ms) {
        OpenWindow({.reenumeration = reenumeration});
        quit_ = std::make_unique<QuitSignals>([this] { window_->QuitFromSignal(); });
        QTRY_COMPARE(state_->g_bDevExist.load(), 1);
    }
    void ExpectEndedThroughTheExitPath() {
        QTRY_VERIFY(!window_->isVisible());
        QCOMPARE(state_->g_CmdThread.load(), nullptr);
        const std::string log = Log();
        QVERIFY2(log.size() >= 16 && log.compare(log.size() - 16, 16, "Tavlin log end!\n") == 0,
                 log.c_str());
    }
    // Presses the firmware launcher; the window runs modally, so the signal comes from a timer.
    // A window still open 5 s after the signal is closed by force and reported.
    bool PressFirmwareAndSignal(std::chrono::milliseconds after) {
        bool stuck = false;
        QTimer::singleShot(after, [] { ::raise(SIGTERM); });
        QTimer::singleShot(after + 5s, [&] {
            for (auto* dialog : window_->findChildren<CfirmwareUpdateDlg*>()) {
                stuck = true;
                dialog->done(QDialog::Rejected);
            }
        });
        QTest::mouseClick(findControl<QAbstractButton>(window_.get(), control::kUpdateFirmware),
                          Qt::LeftButton);
        return !stuck;
    }

    // Opens a tool by its launcher and sends `signal` once its worker runs: the program ends
    // through its exit path, the worker is gone and the device is back in work mode.
    void SignalWhileToolRuns(int launcher, std::atomic<void*> SharedState::*worker, int signal) {
        Open();
        QTest::mouseClick(findControl<QAbstractButton>(window_.get(), launcher), Qt::LeftButton);
        QTRY_VERIFY((*state_.*worker).load() != nullptr);
        ::raise(signal);
        ExpectEndedThroughTheExitPath();
        QCOMPARE((*state_.*worker).load(), nullptr);
        QCOMPARE(LastPayload(*sim_, cmd::kModeSwitch), 0x22);
    }

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        SetLogFilePath(dir_.filePath("Tavlin_log.txt").toStdString());
    }
    void cleanup() {
        quit_.reset();
        CloseWindow();
    }

    void firmwareWindowReadyLeavesTheUpdateEnvironment() {
        Open();
        QVERIFY2(PressFirmwareAndSignal(400ms), "the firmware window stayed open");
        ExpectEndedThroughTheExitPath();
        QCOMPARE(LastPayload(*sim_, cmd::kUpdateControl), 0x55);
        QCOMPARE(state_->g_isFwDlgOpen.load(), 0);
    }

    // Just opened, the device not yet gone to restart: the exit button keeps the window open
    // waiting for it; a quit does not wait and returns the device to work mode.
    void firmwareWindowPreparingDoesNotWaitForTheDevice() {
        Open();
        ModeSwitcher modes(*state_, window_->bridge());
        CfirmwareUpdateDlg dialog(*state_, window_->bridge(), modes, false, window_.get());
        dialog.open();
        QCOMPARE(dialog.StatusText(), std::string("正在准备环境，请稍候...\n"));
        dialog.reject();
        QVERIFY(dialog.isVisible());
        dialog.Quit();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(LastPayload(*sim_, cmd::kModeSwitch), 0x22);
    }

    void levelingWindowStopsItsPreviewAndReturnsToWorkMode() {
        SignalWhileToolRuns(control::kLeveling, &SharedState::g_PreviewThread, SIGTERM);
    }

    // A hang-up (the terminal it was started from closed) as well.
    void calibrationWindowStopsItsWorkerAndReturnsToWorkMode() {
        SignalWhileToolRuns(control::kCalibration, &SharedState::g_CalThread, SIGHUP);
    }
};

QTEST_MAIN(QuitSignalTest)
#include "QuitSignalTest.moc"
