// The calibration check where the operator meets it: after a calibration in the window with the
// simulated device, from --check-calibration, and in the client window.
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/CTavlinDlg.h"
#include "app/gui/SimulatedMainWindow.h"
#include "base/Log.h"
#include "base/StringTable.h"
#include "calibration/CalibrationCheckPanel.h"
#include "calibration/CalibrationCheckTexts.h"
#include "calibration/CalibrationControlIds.h"
#include "calibration/CcalibrationcheckDlg.h"
#include "calibration/CcalibrationclientDlg.h"
#include "calibration/CcalibrationmpDlg.h"
#include "device/DeviceProtocol.h"
#include "sim/SimTransport.h"
#include "ui/ControlLookup.h"

using namespace tavlin;

namespace {

int CountReports(sim::SimTransport& sim, uint8_t command) {
    int n = 0;
    for (const auto& r : sim.recorder().outReports()) {
        n += r[1] == command ? 1 : 0;
    }
    return n;
}

CalibrationCheckPanel* Panel(QWidget* window) {
    return findControl<CalibrationCheckPanel>(window, control::kCheckPanel);
}

}  // namespace

class CalibrationCheckFlowTest : public QObject, private testing::SimulatedMainWindow {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    QPointingDevice* touchScreen_ = nullptr;
    void OpenMainWindow(bool checkCalibration, bool engineering = false) {
        // As --screen-size gives it: the offscreen screen's own size is Qt's guess.
        testing::SimulatedWindowOptions how;
        how.engineering = engineering;
        how.checkCalibration = checkCalibration;
        how.check = {1.5, 1920 * 0.254, 1080 * 0.254};
        OpenWindow(how);
        QTRY_COMPARE(state_->g_bDevExist.load(), 1);
    }
    // Every point touched `offset` away from it.
    void TouchAll(QWidget* window, QPoint offset) {
        while (Panel(window)->Touching()) {
            const CalibrationCheck* check = Panel(window)->check();
            const CheckPoint p = check->points()[check->current()];
            const QPoint at = QPoint(p.x, p.y) + offset;
            QTest::touchEvent(window, touchScreen_).press(0, at, window);
            QTest::touchEvent(window, touchScreen_).release(0, at, window);
        }
        QTRY_VERIFY(Panel(window)->ShowingResult());  // once its record is kept
    }
    template <typename T>
    QPointer<T> Only() {
        const auto found = window_->findChildren<T*>();
        return found.size() == 1 ? found.front() : nullptr;
    }

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        SetLogFilePath(dir_.filePath("Tavlin_log.txt").toStdString());
        touchScreen_ = QTest::createTouchDevice();
    }
    // The test made the device, so it ends it (which also takes it off the system's list).
    void cleanupTestCase() { delete touchScreen_; }
    void cleanup() {
        window_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        CloseWindow();
    }

    // Launcher, calibration on the simulated stylus, back to work mode, Space, the check; then
    // "calibrate again" opens a new calibration the launcher's way.
    void calibrationFollowedByTheCheck() {
        OpenMainWindow(false);
        QTest::mouseClick(findControl<QPushButton>(window_.get(), 1023), Qt::LeftButton);
        QPointer<CcalibrationmpDlg> dialog = Only<CcalibrationmpDlg>();
        QVERIFY(dialog != nullptr);
        QTest::keyClick(dialog, Qt::Key_Space);  // not offered while calibrating
        QVERIFY(!Panel(dialog)->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(dialog->CheckOffered(), 20000);
        QCOMPARE(sim_->firmware().mode(), 0x22);
        const size_t reports = sim_->recorder().outReports().size();
        QTest::keyClick(dialog, Qt::Key_Space);
        QVERIFY(Panel(dialog)->Touching());
        TouchAll(dialog, QPoint(4, 3));  // 1.27 mm
        QTRY_COMPARE(findControl<QLabel>(dialog, control::kCheckVerdict)->text(),
                 QString::fromUtf8(checktext::kPass));
        QCOMPARE(findControl<QLabel>(dialog, control::kCheckTolerance)->text(),
                 QString::asprintf(checktext::kTolerance, 1.5));
        QCOMPARE(sim_->recorder().outReports().size(), reports);  // the check asks no device

        const int switches = CountReports(*sim_, cmd::kModeSwitch);
        auto* again = findControl<QPushButton>(dialog, control::kCheckCalibrateAgain);
        QVERIFY(again->isVisible());
        QTest::mouseClick(again, Qt::LeftButton);
        QTRY_VERIFY(dialog.isNull());
        QPointer<CcalibrationmpDlg> next;
        QTRY_VERIFY((next = Only<CcalibrationmpDlg>()) != nullptr);
        QCOMPARE(sim_->firmware().mode(), 0xFF);
        QCOMPARE(CountReports(*sim_, cmd::kModeSwitch), switches + 1);  // only the launcher's
        QTest::keyClick(next, Qt::Key_Escape);
        QTRY_VERIFY(next.isNull());
        QCOMPARE(sim_->firmware().mode(), 0x22);
    }

    void checkCalibrationOptionOpensTheCheck() {
        OpenMainWindow(true);
        QPointer<CcalibrationcheckDlg> check;
        QTRY_VERIFY((check = Only<CcalibrationcheckDlg>()) != nullptr);
        QCOMPARE(check->screen(), window_->screen());
        QTRY_COMPARE(check->geometry(), window_->screen()->geometry());
        QVERIFY(Panel(check)->Touching());
        TouchAll(check, QPoint(0, 7));  // 1.78 mm: beyond the 1.5 given
        QTRY_COMPARE(findControl<QLabel>(check, control::kCheckVerdict)->text(),
                 QString::fromUtf8(checktext::kFail));
        QTest::mouseClick(findControl<QPushButton>(check, control::kCheckCalibrateAgain),
                          Qt::LeftButton);
        QTRY_VERIFY(check.isNull());
        QPointer<CcalibrationmpDlg> calibration;
        QTRY_VERIFY((calibration = Only<CcalibrationmpDlg>()) != nullptr);
        QCOMPARE(sim_->firmware().mode(), 0xFF);
        QTest::keyClick(calibration, Qt::Key_Escape);
        QTRY_VERIFY(calibration.isNull());
    }

    void clientWindowOffersTheCheck() {
        OpenMainWindow(false, true);
        QTest::mouseClick(findControl<QPushButton>(window_.get(), 1025), Qt::LeftButton);
        QPointer<CcalibrationclientDlg> client = Only<CcalibrationclientDlg>();
        QVERIFY(client != nullptr);
        QCOMPARE(findControl<QLabel>(client, control::kClientCheckOffer)->text(),
                 QString::fromUtf8(checktext::kOffer));
        QTRY_COMPARE(client->geometry(), QRect(0, 0, 1920, 1080));
        QTest::keyClick(client, Qt::Key_Space);
        TouchAll(client, QPoint(1, 0));
        QVERIFY(!findControl<QPushButton>(client, control::kCheckCalibrateAgain)->isVisible());
        QTest::mouseClick(findControl<QPushButton>(client, control::kCheckAccept), Qt::LeftButton);
        QTRY_VERIFY(client.isNull());
    }
};

QTEST_MAIN(CalibrationCheckFlowTest)
#include "CalibrationCheckFlowTest.moc"
