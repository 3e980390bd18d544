// Every text the calibration windows can show is drawn whole, in every language, on whatever
// screen the run configures; a screenshot per language shows the longest instruction.
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QtTest>
#include <memory>

#include "app/gui/TextFit.h"
#include "calibration/CalibrationControlIds.h"
#include "calibration/CalibrationDataThread.h"
#include "calibration/CalibrationTexts.h"
#include "calibration/CcalibrationclientDlg.h"
#include "calibration/CcalibrationmpDlg.h"
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
        const QStringList cut =
            testing::CutTexts(findControl<QLabel>(dialog, control::kClientCalText),
                              {Translated(caltext::kClientInitialising)});
        QVERIFY(dialog->grab().save(
            testing::ScreenshotName(QStringLiteral("client_calibration"), locale, screen->size())));
        TAVLIN_VERIFY_WHOLE(cut);
        dialog->reject();
        QTRY_VERIFY(dialog.isNull());
    }
};

QTEST_MAIN(CalibrationTextsTest)
#include "CalibrationTextsTest.moc"
