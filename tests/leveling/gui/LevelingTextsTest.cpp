// Every text the leveling window can show is drawn whole, in every language, on whatever screen
// the run configures; a screenshot per language shows the longest status text.
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include "app/gui/SimulatedMainWindow.h"
#include "app/gui/TextFit.h"
#include "base/Log.h"
#include "leveling/CsensorsetmpDlg.h"
#include "leveling/LevelingControlIds.h"
#include "leveling/LevelingTexts.h"
#include "leveling/StatusText.h"
#include "ui/ControlLookup.h"

using namespace tavlin;
using namespace tavlin::leveling;
using tavlin::testing::StringText;
using tavlin::testing::Translated;

namespace {

// The widest values the formatted texts take: 16-bit start lines and columns, exposure bytes.
constexpr int kWidestNumber = 65535;
constexpr int kWidestByte = 0xFF;

// Everything the worker, the exposure, the arrows and OK write into a sensor's status text.
QStringList StatusTexts() {
    QStringList texts;
    for (int id :
         {IDS_EXPOSURE_RUNNING, IDS_SEARCHING, IDS_LEVEL_UNPLUGGED, IDS_INITIALISING,
          IDS_ADJUST_EXPOSURE_FIRST, IDS_STARTLINE_SEARCH_FAILED, IDS_STARTLINE_CONFIG_FAILED,
          IDS_COLUMN_SEARCH_FAILED, IDS_STITCH_FAILED, IDS_EXPOSURE_FAILED}) {
        texts << StringText(id);
    }
    texts << QString::fromStdString(
        FormatString(IDS_ROW_SELECTED, kWidestNumber, kWidestNumber, kWidestNumber));
    texts << QString::fromStdString(FormatString(IDS_EXPOSURE_DONE, kWidestNumber, kWidestNumber,
                                                 kWidestNumber, kWidestByte, kWidestByte));
    return texts;
}

// The text that needs the most lines in `label`.
QString TallestText(const QLabel* label, const QStringList& texts) {
    QString tallest;
    int most = -1;
    for (const QString& text : texts) {
        const int height = label->fontMetrics()
                               .boundingRect(label->contentsRect(), Qt::TextWordWrap, text)
                               .height();
        if (height > most) {
            most = height;
            tallest = text;
        }
    }
    return tallest;
}

}  // namespace

class LevelingTextsTest : public QObject, private testing::SimulatedMainWindow {
    Q_OBJECT

  private:
    QTemporaryDir dir_;

    CsensorsetmpDlg* OpenLeveling() {
        OpenWindow({});
        if (!QTest::qWaitFor([this] { return state_->g_bDevExist == 1; })) {
            return nullptr;
        }
        findControl<QPushButton>(window_.get(), kLevelingButton)->click();
        const auto opened = window_->findChildren<CsensorsetmpDlg*>();
        return opened.size() == 1 ? opened.front() : nullptr;
    }

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        SetLogFilePath(dir_.filePath("Tavlin_log.txt").toStdString());
    }
    void cleanup() {
        CloseWindow();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void everyTextIsWhole_data() { testing::AddLocaleRows(); }
    void everyTextIsWhole() {
        QFETCH(QByteArray, locale);
        testing::ScopedLanguage language(locale);
        QVERIFY(language.installed());
        CsensorsetmpDlg* d = OpenLeveling();
        QVERIFY(d != nullptr);
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        QTRY_COMPARE(d->size(), screen);

        const QStringList statusTexts = StatusTexts();
        const struct {
            int id;
            QStringList texts;
        } controls[] = {
            {kTips, {StringText(IDS_LEVEL_TIPS)}},
            {kMasterStatus, statusTexts},
            {kSlaveStatus, statusTexts},
            {kOk, {Translated(text::kOk)}},
            {kMasterDown, {Translated(text::kDown)}},
            {kMasterUp, {Translated(text::kUp)}},
            {kSlaveDown, {Translated(text::kDown)}},
            {kSlaveUp, {Translated(text::kUp)}},
            {kExposure, {Translated(text::kExposureButton)}},
        };
        QStringList cut;
        for (const auto& control : controls) {
            QWidget* w = findControl(d, control.id);
            QVERIFY2(w != nullptr && w->isVisible(), qPrintable(QString::number(control.id)));
            cut << testing::CutTexts(w, control.texts);
        }

        // The picture shows the status texts that need the most room, once the worker's search
        // has written its own.
        const QStringList before{StringText(IDS_INITIALISING), StringText(IDS_SEARCHING)};
        QTRY_VERIFY(!before.contains(findControl<QLabel>(d, kSlaveStatus)->text()));
        for (int sensor : {kMaster, kSlave}) {
            const auto* label =
                findControl<QLabel>(d, sensor == kMaster ? kMasterStatus : kSlaveStatus);
            d->SetStatus(sensor, TallestText(label, statusTexts).toStdString());
        }
        QVERIFY(
            d->grab().save(testing::ScreenshotName(QStringLiteral("leveling"), locale, screen)));
        TAVLIN_VERIFY_WHOLE(cut);
        d->reject();
    }
};

QTEST_MAIN(LevelingTextsTest)
#include "LevelingTextsTest.moc"
