// The leveling windows opened from the real main window on the simulated device, headless:
// buttons pressed and controls read by their ids, on whatever screen the run configures.
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/CTavlinDlg.h"
#include "app/gui/SimulatedMainWindow.h"
#include "base/Log.h"
#include "base/StringTable.h"
#include "leveling/CsensorsetclientDlg.h"
#include "leveling/CsensorsetmpDlg.h"
#include "leveling/LevelingControlIds.h"
#include "leveling/LevelingLayout.h"
#include "leveling/LevelingTexts.h"
#include "leveling/PreviewPictureWidget.h"
#include "sim/SimTransport.h"
#include "ui/ControlLookup.h"

using namespace tavlin;
using namespace tavlin::leveling;

namespace {

QString Utf8(const char* s) {
    return QString::fromUtf8(s);
}

template <class T>
QList<T*> TopLevels() {
    QList<T*> found;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* t = qobject_cast<T*>(w); t != nullptr && t->isVisible()) {
            found << t;
        }
    }
    return found;
}

}  // namespace

class LevelingWindowTest : public QObject, private testing::SimulatedMainWindow {
    Q_OBJECT

  private:
    QTemporaryDir dir_;

    void Open(bool engineering) {
        OpenWindow({.engineering = engineering});
        // The detection done, and its status texts shown: one still queued would overwrite what
        // a test's button press shows (seen on a loaded machine).
        QTRY_VERIFY(state_->g_bDevExist == 1 && state_->g_DetectThread == nullptr);
        QCoreApplication::processEvents();
    }
    void Close() { CloseWindow(); }
    CsensorsetmpDlg* PressLeveling() {
        const auto before = TopLevels<CsensorsetmpDlg>();
        findControl<QPushButton>(window_.get(), kLevelingButton)->click();
        for (CsensorsetmpDlg* d : TopLevels<CsensorsetmpDlg>()) {
            if (!before.contains(d)) {
                return d;
            }
        }
        return nullptr;
    }
    // The worker's search has shown its result in the window.
    bool Searched(CsensorsetmpDlg* d) {
        return QTest::qWaitFor([&] {
            return findControl<QLabel>(d, kSlaveStatus)
                ->text()
                .startsWith(Utf8("确定所用图像行成功"));
        });
    }
    QString Status(QWidget* d, int id) { return findControl<QLabel>(d, id)->text(); }

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        SetLogFilePath(dir_.filePath("Tavlin_log.txt").toStdString());
    }
    void cleanup() { Close(); }

    void levelingWindowFillsTheScreenWithItsControls() {
        Open(false);
        CsensorsetmpDlg* d = PressLeveling();
        QVERIFY(d != nullptr);
        QCOMPARE(sim_->firmware().mode(), 0xFF);  // calibration mode first
        QVERIFY(Searched(d));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QTRY_COMPARE(d->geometry(), screen);
        QVERIFY(d->windowFlags() & Qt::FramelessWindowHint);
        for (const auto& [id, r] : LevelingLayout(screen.width(), screen.height())) {
            QWidget* w = findControl(d, id);
            QVERIFY2(w != nullptr && w->isVisible() == (id != kSecondExposure),
                     qPrintable(QString::number(id)));
            QCOMPARE(w->geometry(), QRect(r.x, r.y, r.width, r.height));
        }
        for (int id : {kFirstLabel, kLastLabel, kSecondExposure, kFirstLineButton, kLastLineButton,
                       kSaveInfo}) {
            QVERIFY(!findControl(d, id)->isVisible());
        }
        QVERIFY(!findControl(d, kSecondExposure)->isEnabled());
        const QWidget* picture = findControl(d, kMasterPicture);
        const QWidget* status = findControl(d, kMasterStatus);
        if (screen.width() >= 1152) {
            QCOMPARE(status->y(), picture->y());
            QVERIFY(status->x() > picture->x() + 640);
        } else {
            QCOMPARE(status->x(), picture->x());
            QCOMPARE(status->width(), 640);
            QVERIFY(status->y() > picture->y() + 72);
        }
        QCOMPARE(Status(d, kTips).toStdString(), LoadString(IDS_LEVEL_TIPS));
        auto* slider = findControl<QSlider>(d, kMasterSlider);
        QCOMPARE(slider->minimum(), 100);
        QCOMPARE(slider->maximum(), 300);
        QCOMPARE(slider->value(), 240);  // moved by the search
        auto* pictureWidget = findControl<PreviewPictureWidget>(d, kMasterPicture);
        QTRY_VERIFY(!pictureWidget->image().isNull());
        d->grab().save(QString("%1/leveling-%2x%3.png")
                           .arg(TAVLIN_SCREENSHOT_DIR)
                           .arg(screen.width())
                           .arg(screen.height()));
        d->reject();
    }

    void aRepaintShowsTheLastFrameAgain() {
        Open(false);
        CsensorsetmpDlg* d = PressLeveling();
        QVERIFY(d != nullptr && Searched(d));
        auto* picture = findControl<PreviewPictureWidget>(d, kMasterPicture);
        QTRY_VERIFY(!picture->image().isNull());
        const QImage frame = picture->image();
        // What the picture shows after a repaint (a window moved over it) is the last frame.
        const QImage shown = picture->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.pixel(320, 3 * 8 + 2), frame.pixel(320, 3 * 8 + 2));
        QCOMPARE(shown.pixel(5, 70), frame.pixel(5, 70));
        d->reject();
    }

    void okNeedsAnExposureThenLeavesWithTheConfirmedMode() {
        Open(false);
        QPointer<CsensorsetmpDlg> d = PressLeveling();
        QVERIFY(d != nullptr && Searched(d));
        findControl<QPushButton>(d, kOk)->click();
        QCOMPARE(Status(d, kMasterStatus), Utf8(BuiltInString(IDS_ADJUST_EXPOSURE_FIRST)));
        QCOMPARE(Status(d, kSlaveStatus), Utf8(BuiltInString(IDS_ADJUST_EXPOSURE_FIRST)));
        findControl<QPushButton>(d, kExposure)->click();
        QVERIFY(Status(d, kMasterStatus).startsWith(Utf8("曝光调节结束")));
        findControl<QPushButton>(d, kOk)->click();
        QTRY_VERIFY(d.isNull());
        QCOMPARE(sim_->firmware().mode(), 0xEE);
        QVERIFY(state_->g_PreviewThread == nullptr);
    }

    void arrowsAndSpaceWorkThroughTheWindow() {
        Open(false);
        CsensorsetmpDlg* d = PressLeveling();
        QVERIFY(d != nullptr && Searched(d));
        findControl<QPushButton>(d, kMasterUp)->click();
        QCOMPARE(findControl<QSlider>(d, kMasterSlider)->value(), 241);
        QCOMPARE(sim_->firmware().startLine(0), 241);
        state_->g_isExposureAdjusted = 1;
        QTest::keyClick(findControl(d, kExposure), Qt::Key_Space);  // never reaches the button
        QCOMPARE(state_->g_isExposureAdjusted.load(), 0);
        // The worker searches again: the slider goes back to the best start line.
        QTRY_COMPARE(findControl<QSlider>(d, kMasterSlider)->value(), 240);
        QTest::keyClick(d, Qt::Key_Escape);
        QTRY_VERIFY(TopLevels<CsensorsetmpDlg>().isEmpty());
        QCOMPARE(sim_->firmware().mode(), 0x22);
    }

    void twoWindowsShareOneWorkerAndAPreviewCaptionStillOpens() {
        Open(false);
        CsensorsetmpDlg* first = PressLeveling();
        QVERIFY(first != nullptr && Searched(first));
        findControl<QPushButton>(window_.get(), kLevelingButton)->setText("Preview");
        CsensorsetmpDlg* second = PressLeveling();
        QVERIFY(second != nullptr);
        QVERIFY(first->startedWorker());
        QVERIFY(!second->startedWorker());
        second->reject();
        QVERIFY(state_->g_PreviewThread == nullptr);
        first->reject();
        QTRY_VERIFY(TopLevels<CsensorsetmpDlg>().isEmpty());
    }

    void withoutPreviewBuffersTheWindowDoesNotOpen() {
        Open(false);
        state_->ReleasePreviewBuffers();
        QVERIFY(PressLeveling() == nullptr);
        QTRY_VERIFY(window_->StatusText() == Tr(text::kNoPreviewBuffers));
    }

    // Enter (either key) and Esc both leave it at once, with the device mode as it was.
    void clientAdjustIsAnEngineeringButtonAndTalksToNoDevice_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Esc") << int(Qt::Key_Escape);
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    }
    void clientAdjustIsAnEngineeringButtonAndTalksToNoDevice() {
        QFETCH(int, key);
        Open(false);
        QVERIFY(!findControl(window_.get(), kClientAdjustButton)->isVisible());
        Close();
        Open(true);
        auto* button = findControl<QPushButton>(window_.get(), kClientAdjustButton);
        QVERIFY(button->isVisible());
        const size_t reports = sim_->recorder().outReports().size();
        const int mode = sim_->firmware().mode();
        button->click();
        const auto open = TopLevels<CsensorsetclientDlg>();
        QCOMPARE(open.size(), 1);
        QPointer<CsensorsetclientDlg> client = open.first();
        QTRY_COMPARE(client->geometry(), QGuiApplication::primaryScreen()->geometry());
        QVERIFY(client->windowFlags() & Qt::FramelessWindowHint);
        for (QWidget* child : client->findChildren<QWidget*>()) {
            QVERIFY(!child->isVisible());
        }
        QTest::keyClick(client, static_cast<Qt::Key>(key));
        QVERIFY(!client->isVisible());
        QTRY_VERIFY(client.isNull());
        QCOMPARE(sim_->recorder().outReports().size(), reports);
        QCOMPARE(sim_->firmware().mode(), mode);
    }

    // Enter is OK: it asks for the exposure first, then leaves with the confirmed mode.
    void enterIsTheOkCheck() {
        Open(false);
        QPointer<CsensorsetmpDlg> d = PressLeveling();
        QVERIFY(d != nullptr && Searched(d));
        QTest::keyClick(d, Qt::Key_Return);
        QCOMPARE(Status(d, kMasterStatus), Utf8(BuiltInString(IDS_ADJUST_EXPOSURE_FIRST)));
        QVERIFY(d->isVisible());
        findControl<QPushButton>(d, kExposure)->click();
        QTest::keyClick(d, Qt::Key_Enter);
        QTRY_VERIFY(d.isNull());
        QCOMPARE(sim_->firmware().mode(), 0xEE);
    }
};

QTEST_MAIN(LevelingWindowTest)
#include "LevelingWindowTest.moc"
