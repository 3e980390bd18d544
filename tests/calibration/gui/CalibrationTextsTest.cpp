// Every text the calibration windows can show is drawn whole, in every language, on whatever
// screen the run configures; a screenshot per language shows the longest instruction.
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QtTest>
#include <memory>

#include "app/gui/TextFit.h"
#include "calibration/CalibrationCheckPanel.h"
#include "calibration/CalibrationCheckTexts.h"
#include "calibration/CalibrationControlIds.h"
#include "calibration/CalibrationDataThread.h"
#include "calibration/CalibrationTexts.h"
#include "calibration/CcalibrationcheckDlg.h"
#include "calibration/CcalibrationclientDlg.h"
#include "calibration/CcalibrationmpDlg.h"
#include "calibration/CheckSizeTexts.h"
#include "device/SharedState.h"
#include "ui/ControlLookup.h"

using namespace tavlin;
using tavlin::testing::StringText;
using tavlin::testing::Translated;

namespace {

// Everything the window and its worker write into the instruction line.
QStringList InstructionTexts() {
    QStringList texts{StringText(IDS_INITIALISING)};
    for (const char* text : {caltext::kInitFailed, caltext::kTouchTheCross, caltext::kUnplugged,
                             caltext::kCompleted, caltext::kNoDeviceAtStart}) {
        texts << Translated(text);
    }
    texts << QString::fromStdString(FinishingText(100));
    return texts;
}

QString WidestText(const QWidget* control, const QStringList& texts) {
    QString widest;
    for (const QString& text : texts) {
        if (control->fontMetrics().horizontalAdvance(text) >
            control->fontMetrics().horizontalAdvance(widest)) {
            widest = text;
        }
    }
    return widest;
}

}  // namespace

class CalibrationTextsTest : public QObject {
    Q_OBJECT

  private slots:
    void productionWindow_data() { testing::AddLocaleRows(); }
    void productionWindow() {
        QFETCH(QByteArray, locale);
        testing::ScopedLanguage language(locale);
        QVERIFY(language.installed());
        SharedState state;
        state.g_bDevExist = 0;  // the window then starts no worker: only its texts matter here
        QPointer<CcalibrationmpDlg> dialog = new CcalibrationmpDlg(state, {});
        QScreen* screen = QGuiApplication::primaryScreen();
        dialog->Open(screen);
        QTRY_COMPARE(dialog->geometry(), screen->geometry());

        const QStringList texts = InstructionTexts();
        auto* instruction = findControl<QLabel>(dialog, control::kCalInstruction);
        const QStringList cut = testing::CutTexts(instruction, texts);
        dialog->SetInstructionText(WidestText(instruction, texts).toStdString());
        QVERIFY(dialog->grab().save(
            testing::ScreenshotName(QStringLiteral("calibration"), locale, screen->size())));
        TAVLIN_VERIFY_WHOLE(cut);
        dialog->reject();
        QTRY_VERIFY(dialog.isNull());
    }

    void clientWindow_data() { testing::AddLocaleRows(); }
    void clientWindow() {
        QFETCH(QByteArray, locale);
        testing::ScopedLanguage language(locale);
        QVERIFY(language.installed());
        QPointer<CcalibrationclientDlg> dialog = new CcalibrationclientDlg;
        QScreen* screen = QGuiApplication::primaryScreen();
        dialog->Open(screen);
        QTRY_COMPARE(dialog->geometry(), screen->geometry());
        QStringList cut = testing::CutTexts(findControl<QLabel>(dialog, control::kClientCalText),
                                            {Translated(caltext::kClientInitialising)});
        cut << testing::CutTexts(findControl<QLabel>(dialog, control::kClientCheckOffer),
                                 {Translated(checktext::kOffer)});
        QVERIFY(dialog->grab().save(
            testing::ScreenshotName(QStringLiteral("client_calibration"), locale, screen->size())));
        TAVLIN_VERIFY_WHOLE(cut);
        dialog->reject();
        QTRY_VERIFY(dialog.isNull());
    }

    // The check's instruction line and its result screen, filled with the widest figures a
    // run can give (touches after two slips, far from their points) and both input words.
    void checkWindow_data() { testing::AddLocaleRows(); }
    void checkWindow() {
        QFETCH(QByteArray, locale);
        testing::ScopedLanguage language(locale);
        QVERIFY(language.installed());
        QPointer<CcalibrationcheckDlg> dialog = new CcalibrationcheckDlg(CheckOptions{}, [] {});
        QScreen* screen = QGuiApplication::primaryScreen();
        dialog->Open(screen);
        QTRY_COMPARE(dialog->geometry(), screen->geometry());
        auto* panel = findControl<CalibrationCheckPanel>(dialog, control::kCheckPanel);
        const auto counted = [](const char* text) {
            return QString::asprintf(Tr(text).c_str(), kCheckPointCount, kCheckPointCount);
        };
        // The offscreen screen has no real size: the check asks for it first.
        QVERIFY(panel->AskingForSize());
        const QString badSize =
            QString::asprintf(Tr(checksizetext::kBadSize).c_str(), "1920x1080 1920x1080 1920x1080");
        QStringList cut =
            testing::CutTexts(findControl<QLabel>(dialog, control::kCheckInstruction),
                              {counted(checktext::kTouchPoint), counted(checktext::kSlip),
                               Translated(checktext::kNoRoom), Translated(checksizetext::kAskSize),
                               badSize + Translated(checksizetext::kAskSize)});
        QTest::keyClick(findControl<QLineEdit>(dialog, control::kCheckSizeField), Qt::Key_Return);
        QVERIFY(panel->Touching());
        for (int n = 0; n < kCheckPointCount * 3; ++n) {
            QTest::mouseClick(panel, Qt::LeftButton, {},
                              n % 2 == 0 ? QPoint(2, 2) : QPoint(1900, 1));
        }
        QVERIFY(panel->ShowingResult());
        cut << testing::CutTexts(findControl<QLabel>(dialog, control::kCheckVerdict),
                                 {Translated(checktext::kPass), Translated(checktext::kFail),
                                  Translated(checktext::kNoVerdict)});
        cut << testing::CutTexts(findControl<QLabel>(dialog, control::kCheckTolerance),
                                 {QString::asprintf(Tr(checktext::kTolerance).c_str(), 50.0) +
                                  QLatin1Char('\n') + Translated(checktext::kPixelsOnly)});
        for (int id :
             {control::kCheckAccept, control::kCheckAgain, control::kCheckCalibrateAgain}) {
            auto* button = findControl<QPushButton>(dialog, id);
            QVERIFY(button->isVisible());
            cut << testing::CutTexts(button, {button->text()});
        }
        QWidget* table = findControl<QWidget>(dialog, control::kCheckTable);
        const auto cells = table->findChildren<QLabel*>();
        QCOMPARE(cells.size(), 4 * (kCheckPointCount + 1));
        for (const QLabel* cell : cells) {
            cut << testing::CutTexts(
                cell, {cell->text(), Translated(checktext::kTouch), Translated(checktext::kMouse)});
            QVERIFY2(table->rect().contains(cell->geometry()), qPrintable(cell->text()));
        }
        QVERIFY(dialog->grab().save(
            testing::ScreenshotName(QStringLiteral("calibration_check"), locale, screen->size())));
        TAVLIN_VERIFY_WHOLE(cut);
        dialog->reject();
        QTRY_VERIFY(dialog.isNull());
    }
};

QTEST_MAIN(CalibrationTextsTest)
#include "CalibrationTextsTest.moc"
