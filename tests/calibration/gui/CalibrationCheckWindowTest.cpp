// The calibration check on a 1920 x 1080 offscreen screen (0.254 mm a pixel, as Qt reports a
// screen of unknown make): real touch events from a registered touch screen and mouse clicks,
// the result read from the controls by id and from the picture's pixels, the log read back.
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <memory>

#include "app/CTavlinDlg.h"
#include "app/gui/TextFit.h"
#include "base/Log.h"
#include "calibration/CalibrationCheckPanel.h"
#include "calibration/CalibrationCheckResultView.h"
#include "calibration/CalibrationCheckTexts.h"
#include "calibration/CalibrationControlIds.h"
#include "calibration/CcalibrationcheckDlg.h"
#include "calibration/CcalibrationmpDlg.h"
#include "calibration/CrosshairControl.h"
#include "sim/SimTransport.h"
#include "ui/ControlLookup.h"

using namespace tavlin;
using tavlin::testing::Translated;

namespace {

std::string Slurp(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

QString Text(QWidget* parent, int id) {
    return findControl<QLabel>(parent, id)->text();
}

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

}  // namespace

class CalibrationCheckWindowTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    QPointingDevice* touchScreen_ = nullptr;
    int calibrateAgain_ = 0;

    std::string Log() const { return Slurp(dir_.filePath("Tavlin_log.txt")); }
    void ClearLog() { std::ofstream(dir_.filePath("Tavlin_log.txt").toStdString()).close(); }

    QPointer<CcalibrationcheckDlg> OpenCheck() {
        auto* dialog = new CcalibrationcheckDlg(2.0, [this] { ++calibrateAgain_; });
        dialog->Open(QGuiApplication::primaryScreen());
        return dialog;
    }
    static CalibrationCheckPanel* Panel(QWidget* window) {
        return findControl<CalibrationCheckPanel>(window, control::kCheckPanel);
    }
    static QPoint Current(QWidget* window) {
        const CalibrationCheck* check = Panel(window)->check();
        const CheckPoint p = check->points()[check->current()];
        return {p.x, p.y};
    }
    // One finger down and up at `at` (window coordinates), a second finger down meanwhile
    // elsewhere: only the first contact counts, where it lifts.
    void Touch(QWidget* window, QPoint at) {
        QTest::touchEvent(window, touchScreen_).press(0, at + QPoint(30, -30), window);
        QTest::touchEvent(window, touchScreen_).move(0, at, window).press(1, QPoint(5, 5), window);
        QTest::touchEvent(window, touchScreen_).release(0, at, window).stationary(1);
        QTest::touchEvent(window, touchScreen_).release(1, QPoint(5, 5), window);
    }
    void Click(QWidget* window, QPoint at) {
        QTest::mouseClick(Panel(window), Qt::LeftButton, {}, Panel(window)->mapFrom(window, at));
    }
    // Touches every point at `offset`, but the point numbered `odd` (1-based) at `oddOffset`;
    // the last one with the mouse.
    void RunCheck(QWidget* window, QPoint offset, int odd = 0, QPoint oddOffset = {}) {
        for (int n = 1; n <= kCheckPointCount; ++n) {
            QCOMPARE(Panel(window)->check()->current(), n - 1);
            const QPoint at = Current(window) + (n == odd ? oddOffset : offset);
            if (n == kCheckPointCount) {
                Click(window, at);
            } else {
                Touch(window, at);
            }
        }
        QVERIFY(Panel(window)->ShowingResult());
    }
    // The picture's colour halfway along point n's error vector (drawn ten times longer).
    static QColor VectorColour(QWidget* window, int n) {
        const CheckPointResult& r = Panel(window)->check()->results()[n - 1];
        const QPointF mid = QPointF(r.target.x, r.target.y) +
                            (QPointF(r.touchX, r.touchY) - QPointF(r.target.x, r.target.y)) * 5;
        const QImage image = findControl<CalibrationCheckResultView>(window, control::kCheckResult)
                                 ->grab()
                                 .toImage();
        return image.pixelColor(mid.toPoint());
    }

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        SetLogFilePath(dir_.filePath("Tavlin_log.txt").toStdString());
        QCOMPARE(QGuiApplication::primaryScreen()->geometry(), QRect(0, 0, 1920, 1080));
        touchScreen_ = QTest::createTouchDevice();
    }
    // The test made the device, so it ends it (which also takes it off the system's list).
    void cleanupTestCase() { delete touchScreen_; }
    void cleanup() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    void passingRunByTouchAndMouse() {
        ClearLog();
        QPointer<CcalibrationcheckDlg> dialog = OpenCheck();
        QTRY_COMPARE(dialog->geometry(), QRect(0, 0, 1920, 1080));
        QCOMPARE(Text(dialog, control::kCheckInstruction),
                 QString::asprintf(Tr(checktext::kTouchPoint).c_str(), 1, 5));
        auto* cross = findControl<CrosshairControl>(dialog, control::kCheckCrosshair);
        QCOMPARE(cross->geometry(), QRect(960 - 20, 540 - 20, 40, 40));
        RunCheck(dialog, QPoint(3, -4));  // 5 px: 1.27 mm
        QCOMPARE(Text(dialog, control::kCheckVerdict), Translated(checktext::kPass));
        for (const CheckPointResult& r : Panel(dialog)->check()->results()) {
            QCOMPARE(r.errorPx, 5.0);
            QVERIFY(qAbs(*r.errorMm - 1.27) < 1e-9);
        }
        QCOMPARE(Panel(dialog)->check()->results()[4].input, CheckInput::Mouse);
        QCOMPARE(VectorColour(dialog, 1), QColor(0, 150, 0));
        const std::string log = Log();
        QCOMPARE(Count(log, "Calibration check point "), 5);
        QVERIFY(log.find(") Calibration check point 1: target (960, 540), touch (963.0, 536.0), "
                         "error 5.0 px 1.27 mm, touch, repeats=0\n") != std::string::npos);
        QVERIFY(log.find("error 5.0 px 1.27 mm, mouse, repeats=0\n") != std::string::npos);
        QVERIFY(log.find(") Calibration check: PASS, tolerance 2.00 mm, largest error 1.27 mm\n") !=
                std::string::npos);
        QTest::mouseClick(findControl<QPushButton>(dialog, control::kCheckAccept), Qt::LeftButton);
        QTRY_VERIFY(dialog.isNull());
        QCOMPARE(calibrateAgain_, 0);
    }

    // Point 3 is 12 px (3.05 mm) off: red there, green elsewhere, the verdict fails; check again
    // starts afresh.
    void failingRunWithOnePointOffByThreeMillimetres() {
        ClearLog();
        QPointer<CcalibrationcheckDlg> dialog = OpenCheck();
        QTRY_COMPARE(dialog->geometry(), QRect(0, 0, 1920, 1080));
        RunCheck(dialog, QPoint(2, 0), 3, QPoint(12, 0));
        QCOMPARE(Text(dialog, control::kCheckVerdict), Translated(checktext::kFail));
        const auto& results = Panel(dialog)->check()->results();
        QVERIFY(!results[2].within);
        QVERIFY(qAbs(*results[2].errorMm - 3.048) < 1e-9);
        QCOMPARE(VectorColour(dialog, 3), QColor(210, 0, 0));
        QCOMPARE(VectorColour(dialog, 2), QColor(0, 150, 0));
        QVERIFY(
            Log().find(") Calibration check: FAIL, tolerance 2.00 mm, largest error 3.05 mm\n") !=
            std::string::npos);
        QTest::mouseClick(findControl<QPushButton>(dialog, control::kCheckAgain), Qt::LeftButton);
        QVERIFY(Panel(dialog)->Touching());
        QCOMPARE(Panel(dialog)->check()->current(), 0);
        QTest::keyClick(dialog, Qt::Key_Escape);
        QTRY_VERIFY(dialog.isNull());
    }

    // A touch 100 px (25 mm, beyond ten tolerances) away shows the point again, twice at most.
    void slipRepeatsItsPoint() {
        ClearLog();
        QPointer<CcalibrationcheckDlg> dialog = OpenCheck();
        QTRY_COMPARE(dialog->geometry(), QRect(0, 0, 1920, 1080));
        auto* cross = findControl<CrosshairControl>(dialog, control::kCheckCrosshair);
        for (int slip = 1; slip <= 2; ++slip) {
            Touch(dialog, QPoint(960 + 100, 540));
            QCOMPARE(Panel(dialog)->check()->current(), 0);
            QCOMPARE(Panel(dialog)->check()->repeats(), slip);
            QCOMPARE(Text(dialog, control::kCheckInstruction),
                     QString::asprintf(Tr(checktext::kSlip).c_str(), 1, 5));
            QCOMPARE(cross->geometry(), QRect(960 - 20, 540 - 20, 40, 40));
        }
        Touch(dialog, QPoint(960 + 100, 540));  // the third counts as it is
        QCOMPARE(Panel(dialog)->check()->current(), 1);
        QCOMPARE(Panel(dialog)->check()->results()[0].repeats, 2);
        QCOMPARE(cross->geometry().topLeft() + QPoint(20, 20), Current(dialog));
        QTest::keyClick(dialog, Qt::Key_Escape);
        QTRY_VERIFY(dialog.isNull());
    }

    void escInTheMiddle() {
        ClearLog();
        QPointer<CcalibrationcheckDlg> dialog = OpenCheck();
        QTRY_COMPARE(dialog->geometry(), QRect(0, 0, 1920, 1080));
        Touch(dialog, Current(dialog));
        Click(dialog, Current(dialog) + QPoint(1, 1));
        QTest::keyClick(dialog, Qt::Key_Escape);
        QVERIFY(dialog.isNull() || !dialog->isVisible());
        QTRY_VERIFY(dialog.isNull());
        const std::string log = Log();
        QCOMPARE(Count(log, "Calibration check point "), 2);
        QVERIFY(log.find(") Calibration check stopped: 2 of 5 points touched\n") !=
                std::string::npos);
        QCOMPARE(Count(log, "Calibration check: "), 0);
    }

    // Where the system reports no size in millimetres: pixels only, said so, no verdict.
    void withoutAPhysicalSizeTheResultIsInPixels() {
        QPointer<CcalibrationcheckDlg> dialog = OpenCheck();
        QTRY_COMPARE(dialog->geometry(), QRect(0, 0, 1920, 1080));
        Panel(dialog)->Start(CheckScreen{1920, 1080, 0.0, 0.0});
        RunCheck(dialog, QPoint(3, 4));
        QCOMPARE(Text(dialog, control::kCheckVerdict), Translated(checktext::kNoVerdict));
        QVERIFY(
            Text(dialog, control::kCheckTolerance).endsWith(Translated(checktext::kPixelsOnly)));
        const auto cells =
            findControl<QWidget>(dialog, control::kCheckTable)->findChildren<QLabel*>();
        QCOMPARE(std::count_if(cells.begin(), cells.end(),
                               [](const QLabel* cell) { return cell->text() == "5.0"; }),
                 5);
        QCOMPARE(VectorColour(dialog, 1), QColor(110, 110, 110));
        dialog->reject();
        QTRY_VERIFY(dialog.isNull());
    }

    void resultScreenshots_data() {
        QTest::addColumn<QByteArray>("locale");
        QTest::newRow("zh") << QByteArray("zh_CN.UTF-8");
        QTest::newRow("en") << QByteArray("en_US.UTF-8");
    }
    void resultScreenshots() {
        QFETCH(QByteArray, locale);
        testing::ScopedLanguage language(locale);
        QVERIFY(language.installed());
        QPointer<CcalibrationcheckDlg> dialog = OpenCheck();
        QTRY_COMPARE(dialog->geometry(), QRect(0, 0, 1920, 1080));
        RunCheck(dialog, QPoint(2, -3), 3, QPoint(10, 6));
        QCOMPARE(Text(dialog, control::kCheckVerdict), Translated(checktext::kFail));
        QVERIFY(dialog->grab().save(
            QStringLiteral(TAVLIN_SCREENSHOT_DIR "/calibration_check_result_%1.png")
                .arg(QString::fromLatin1(locale.left(2)))));
        dialog->reject();
        QTRY_VERIFY(dialog.isNull());
    }
};

QTEST_MAIN(CalibrationCheckWindowTest)
#include "CalibrationCheckWindowTest.moc"
