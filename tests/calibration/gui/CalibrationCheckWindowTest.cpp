// The calibration check on a 1920 x 1080 offscreen screen (0.254 mm a pixel, given as
// --screen-size would: the size Qt reports there is one it made up): real touch events from a
// registered touch screen and mouse clicks, the result read from the controls by id and from the
// picture's pixels, the log read back.
#include <QLabel>
#include <QLineEdit>
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
#include "calibration/CheckScreenSize.h"
#include "calibration/CheckSizeTexts.h"
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

    // Without `givenSize` the check has only what the system reports.
    QPointer<CcalibrationcheckDlg> OpenCheck(bool givenSize = true) {
        CheckOptions options;
        if (givenSize) {
            options.screenWidthMm = 1920 * 0.254;
            options.screenHeightMm = 1080 * 0.254;
        }
        auto* dialog = new CcalibrationcheckDlg(options, [this] { ++calibrateAgain_; });
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

    // The offscreen screen's size is Qt's guess from 100 DPI: the check asks for the real one
    // and refuses what is no size; Enter alone checks in pixels only: said so, no verdict.
    void withoutARealSizeTheCheckAsksAndEnterAloneGivesPixelsOnly() {
        ClearLog();
        QPointer<CcalibrationcheckDlg> dialog = OpenCheck(false);
        QTRY_COMPARE(dialog->geometry(), QRect(0, 0, 1920, 1080));
        QVERIFY(Panel(dialog)->AskingForSize());
        QVERIFY(!Panel(dialog)->Touching());
        QCOMPARE(Text(dialog, control::kCheckInstruction), Translated(checksizetext::kAskSize));
        auto* field = findControl<QLineEdit>(dialog, control::kCheckSizeField);
        QTRY_VERIFY(field->hasFocus());
        QTest::keyClicks(field, "1920x1080px");
        QTest::keyClick(field, Qt::Key_Return);
        QVERIFY(dialog->isVisible());  // the field's Enter, not the window's
        QVERIFY(Panel(dialog)->AskingForSize());
        QCOMPARE(Text(dialog, control::kCheckInstruction),
                 QString::asprintf(Tr(checksizetext::kBadSize).c_str(), "1920x1080px") +
                     Translated(checksizetext::kAskSize));
        field->clear();
        QTest::keyClick(field, Qt::Key_Enter);
        QVERIFY(!Panel(dialog)->AskingForSize());
        QVERIFY(!field->isVisible());
        QCOMPARE(Panel(dialog)->check()->screen().sizeSource, ScreenSizeSource::Unknown);
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
        const std::string log = Log();
        QVERIFY(log.find("Calibration check: '1920x1080px' is not a screen size in mm\n") !=
                std::string::npos);
        QVERIFY(log.find("Calibration check screen: 1920x1080 px, size in mm unknown") !=
                std::string::npos);
        dialog->reject();
        QTRY_VERIFY(dialog.isNull());
    }

    // A size typed into the field is the check's, and "check again" keeps it.
    void aSizeTypedIntoTheFieldGivesAVerdictInMillimetres() {
        ClearLog();
        QPointer<CcalibrationcheckDlg> dialog = OpenCheck(false);
        QTRY_COMPARE(dialog->geometry(), QRect(0, 0, 1920, 1080));
        auto* field = findControl<QLineEdit>(dialog, control::kCheckSizeField);
        QTest::keyClicks(field, " 384x216 ");  // 0.2 mm a pixel
        QTest::keyClick(field, Qt::Key_Return);
        QVERIFY(Panel(dialog)->Touching());
        RunCheck(dialog, QPoint(6, 8));  // 10 px: 2.0 mm, at the tolerance
        QCOMPARE(Text(dialog, control::kCheckVerdict), Translated(checktext::kPass));
        QVERIFY(qAbs(*Panel(dialog)->check()->results()[0].errorMm - 2.0) < 1e-9);
        QVERIFY(Log().find("Calibration check screen: 1920x1080 px, 384.0 x 216.0 mm from the "
                           "size field\n") != std::string::npos);
        QTest::mouseClick(findControl<QPushButton>(dialog, control::kCheckAgain), Qt::LeftButton);
        QVERIFY(Panel(dialog)->Touching());
        QCOMPARE(Panel(dialog)->check()->screen().sizeSource, ScreenSizeSource::Field);
        dialog->reject();
        QTRY_VERIFY(dialog.isNull());
    }

    // --screen-size wins over what the system reports, a real size included; a real size
    // without the option is the check's as it is.
    void theOptionWinsAndARealMonitorSizeIsKept() {
        ClearLog();
        QPointer<CcalibrationcheckDlg> dialog = OpenCheck();
        QTRY_COMPARE(dialog->geometry(), QRect(0, 0, 1920, 1080));
        QVERIFY(Panel(dialog)->Touching());
        QVERIFY(Log().find("Calibration check screen: 1920x1080 px, 487.7 x 274.3 mm from "
                           "--screen-size\n") != std::string::npos);
        Panel(dialog)->Start(MonitorCheckScreen(1920, 1080, 527, 296, 96, 96));
        QCOMPARE(Panel(dialog)->check()->screen().sizeSource, ScreenSizeSource::Option);
        QCOMPARE(Panel(dialog)->check()->screen().widthMm, 1920 * 0.254);
        dialog->reject();
        QTRY_VERIFY(dialog.isNull());

        ClearLog();
        dialog = OpenCheck(false);
        QTRY_COMPARE(dialog->geometry(), QRect(0, 0, 1920, 1080));
        Panel(dialog)->Start(MonitorCheckScreen(1920, 1080, 527, 296, 96, 96));
        QVERIFY(Panel(dialog)->Touching());
        QVERIFY(!Panel(dialog)->AskingForSize());
        QCOMPARE(Panel(dialog)->check()->screen().widthMm, 527.0);
        QVERIFY(Log().find("Calibration check screen: 1920x1080 px, 527.0 x 296.0 mm from the "
                           "monitor\n") != std::string::npos);
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
