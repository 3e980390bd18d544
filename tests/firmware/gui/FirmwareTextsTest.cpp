// Every text the firmware window can show is drawn whole, in every language, with and without
// the engineering controls, on whatever screen the run configures; a screenshot of each.
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/gui/SimulatedMainWindow.h"
#include "app/gui/TextFit.h"
#include "base/Log.h"
#include "console/ModeSwitcher.h"
#include "firmware/CfirmwareUpdateDlg.h"
#include "firmware/FirmwareControlIds.h"
#include "firmware/FirmwareTexts.h"
#include "ui/ControlLookup.h"

using namespace tavlin;
using tavlin::testing::StringText;
using tavlin::testing::Translated;

namespace {

// The widest size a written image reports, in KB.
constexpr int kWidestKilobytes = 65535;

// Everything the window, its worker, the version buttons and the detection write into the
// status line.
QStringList StatusTexts() {
    QStringList texts;
    // Both systems' no-access texts: each build checks the other's too.
    for (int id : {IDS_NO_DEVICE, IDS_NO_ACCESS, IDS_NO_ACCESS_WINDOWS, IDS_SWITCH_FAILED,
                   IDS_FW_ENV_READY, IDS_FW_ENV_FAILED}) {
        texts << StringText(id);
    }
    for (const char* text : {fw::kPreparing, fw::kOpenPackageFirst, fw::kUpdating,
                             fw::kPackageRefused, fw::kNothingToUpdate, fw::kImageOpenFailed,
                             fw::kUpdateFailed, fw::kWritingStarted, fw::kUpdateSucceeded}) {
        texts << Translated(text);
    }
    for (const char* format :
         {fw::kWroteLeftHInfo, fw::kWroteRightHInfo, fw::kWroteLeftLInfo, fw::kWroteRightRInfo}) {
        texts << QString::asprintf(Tr(format).c_str(), kWidestKilobytes);
    }
    return texts;
}

QString TallestText(const QLabel* label, const QStringList& texts) {
    QString tallest;
    int most = -1;
    for (const QString& text : texts) {
        const QRect box =
            label->fontMetrics().boundingRect(label->contentsRect(), Qt::TextWordWrap, text);
        if (box.height() > most) {
            most = box.height();
            tallest = text;
        }
    }
    return tallest;
}

}  // namespace

class FirmwareTextsTest : public QObject, private testing::SimulatedMainWindow {
    Q_OBJECT

  private:
    QTemporaryDir dir_;

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        SetLogFilePath(dir_.filePath("Tavlin_log.txt").toStdString());
    }
    void cleanup() { CloseWindow(); }

    void everyTextIsWhole_data() {
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<bool>("engineering");
        for (const char* locale : testing::kLocales) {
            for (bool engineering : {false, true}) {
                QTest::addRow("%s%s", locale, engineering ? " engineering" : "")
                    << QByteArray(locale) << engineering;
            }
        }
    }
    void everyTextIsWhole() {
        QFETCH(QByteArray, locale);
        QFETCH(bool, engineering);
        testing::ScopedLanguage language(locale);
        QVERIFY(language.installed());
        OpenWindow({.engineering = engineering});
        QTRY_COMPARE(state_->g_bDevExist.load(), 1);
        state_->g_isFwUpdateMode = 1;  // the window opens without asking the device
        ModeSwitcher modes(*state_, window_->bridge());
        CfirmwareUpdateDlg d(*state_, window_->bridge(), modes, engineering, window_.get());
        d.show();

        // Whatever the window shows now, and everything its status line may come to show.
        QStringList cut;
        for (QWidget* w : d.findChildren<QWidget*>()) {
            if (!w->isVisibleTo(&d)) {
                continue;
            }
            if (auto* label = qobject_cast<QLabel*>(w)) {
                cut << testing::CutTexts(label, {label->text()});
            } else if (auto* button = qobject_cast<QPushButton*>(w)) {
                cut << testing::CutTexts(button, {button->text()});
            }
        }
        auto* status = findControl<QLabel>(&d, fwcontrol::kStatusLine);
        const QStringList statusTexts = StatusTexts();
        cut << testing::CutTexts(status, statusTexts);

        d.ShowStatus(TallestText(status, statusTexts).toStdString());
        d.SetProgress(40);
        QTest::qWait(20);
        const QString name =
            engineering ? QStringLiteral("firmware_engineering") : QStringLiteral("firmware");
        QVERIFY(d.grab().save(testing::ScreenshotName(
            name, locale, QGuiApplication::primaryScreen()->geometry().size())));
        d.done(QDialog::Rejected);
        TAVLIN_VERIFY_WHOLE(cut);
    }
};

QTEST_MAIN(FirmwareTextsTest)
#include "FirmwareTextsTest.moc"
