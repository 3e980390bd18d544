// The firmware window on a recorded session: a one-key update of a small package from the main
// window's launcher on the simulated device - its re-plug into the update environment, the
// update, and its way back - with stray reports of another collection, replays in the device's
// place with the same texts; another package fails at the first report that differs.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <chrono>
#include <functional>

#include "app/gui/TracedMainWindow.h"
#include "base/Log.h"
#include "firmware/CfirmwareUpdateDlg.h"
#include "firmware/FirmwareControlIds.h"
#include "firmware/FirmwareTexts.h"
#include "ui/ControlLookup.h"

using namespace tavlin;
using namespace std::chrono_literals;

namespace {

QString Utf8(const char* s) {
    return QString::fromUtf8(s);
}

QString Text(QWidget* w, int id) {
    return findControl<QLabel>(w, id)->text();
}

// What the windows showed along the update.
struct Shown {
    QString prepared;    // the firmware window once the update environment was there
    QString updated;     // ... once the update had ended
    int progress = -1;   // ... its progress bar then
    QString version;     // the main window's version line then
    QString mainStatus;  // the main window once the device was back in work mode
};

}  // namespace

class FirmwareReplayTest : public QObject, private testing::TracedMainWindow {
    Q_OBJECT

  private:
    QTemporaryDir dir_;

    std::string TracePath(const char* name) const { return dir_.filePath(name).toStdString(); }
    // A package with one small image filled with `fill`.
    std::string WritePackage(char fill) {
        const QString image = dir_.filePath(QString("%1.bin").arg(fill));
        const QString package = dir_.filePath(QString("%1.ini").arg(fill));
        const QByteArray text = QStringLiteral(
                                    "[Tavlin LInfo]\nImage_en=1\nImage_version=%1\n"
                                    "Image_name=%2\n")
                                    .arg(0x12345678)
                                    .arg(image)
                                    .toUtf8();
        QFile i(image);
        QFile p(package);
        const bool written = i.open(QIODevice::WriteOnly) &&
                             i.write(QByteArray(300, fill)) == 300 &&
                             p.open(QIODevice::WriteOnly) && p.write(text) == text.size();
        return written ? package.toStdString() : std::string();
    }
    // Runs `scenario` in the firmware window's modal loop once the launcher has opened it; the
    // loop ends even when the scenario fails part-way.
    void WithFirmwareWindow(const std::function<void(CfirmwareUpdateDlg*)>& scenario) {
        QTimer::singleShot(0, this, [scenario] {
            CfirmwareUpdateDlg* dialog = nullptr;
            const auto open = [&] {
                for (QWidget* w : QApplication::topLevelWidgets()) {
                    dialog = qobject_cast<CfirmwareUpdateDlg*>(w);
                    if (dialog != nullptr && dialog->isVisible()) {
                        return true;
                    }
                }
                return false;
            };
            if (QTest::qWaitFor(open, 5000)) {
                scenario(dialog);
                if (dialog->isVisible()) {
                    dialog->done(QDialog::Rejected);
                }
            }
        });
        QTest::mouseClick(findControl<QPushButton>(window_.get(), 1027), Qt::LeftButton);
    }

    // The launcher, the one-key update of `package`, the exit and the way back to work mode
    // (unless the update is expected to fail: a replay that went another way refuses it).
    Shown Update(const std::string& package, bool wayBack = true) {
        Shown shown;
        if (!QTest::qWaitFor([&] { return state_->g_bDevExist == 1; })) {
            return shown;
        }
        state_->g_FwPackagePath = package;  // the package chosen last time
        WithFirmwareWindow([&](CfirmwareUpdateDlg* d) {
            const QString ready = Utf8("环境准备完毕，请选择配置文件进行更新！\n");
            if (!QTest::qWaitFor([&] { return Text(d, fwcontrol::kStatusLine) == ready; })) {
                return;
            }
            shown.prepared = Text(d, fwcontrol::kStatusLine);
            QTest::mouseClick(findControl<QPushButton>(d, fwcontrol::kOneKeyUpdate),
                              Qt::LeftButton);
            const auto ended = [&] {
                const QString status = Text(d, fwcontrol::kStatusLine);
                return state_->g_ImageUpdateThread == nullptr &&
                       (status == Utf8(fw::kUpdateSucceeded) || status == Utf8(fw::kUpdateFailed));
            };
            if (!QTest::qWaitFor(ended, 10000)) {
                return;
            }
            QCoreApplication::processEvents();  // what the worker queued as it ended
            shown.updated = Text(d, fwcontrol::kStatusLine);
            shown.progress = findControl<QProgressBar>(d, fwcontrol::kProgress)->value();
            shown.version = Text(window_.get(), 1061);
            QTest::mouseClick(findControl<QPushButton>(d, fwcontrol::kExit), Qt::LeftButton);
        });
        // The main status once the device is back and detected again: on the way back it says
        // "no device" for as long as the device re-enumerates, a time that depends on the
        // machine. A run that never gets there keeps the status it stopped at.
        if (wayBack) {
            static_cast<void>(QTest::qWaitFor(
                [&] {
                    return state_->g_isFwUpdateMode == 0 &&
                           Text(window_.get(), 1060) == Utf8("设备检测完成。\n");
                },
                5000));
            shown.mainStatus = Text(window_.get(), 1060);
        }
        return shown;
    }

    static std::vector<std::vector<uint8_t>> Outputs(const std::vector<TraceEvent>& events) {
        std::vector<std::vector<uint8_t>> out;
        for (const TraceEvent& e : events) {
            if (e.kind == TraceEvent::Kind::Out) {
                out.push_back(e.bytes);
            }
        }
        return out;
    }

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        SetLogFilePath(dir_.filePath("Tavlin_log.txt").toStdString());
    }
    void cleanup() { CloseWindow(); }

    void aRecordedUpdateReplaysThroughTheReplugAndBack() {
        const std::string package = WritePackage('L');
        QVERIFY(!package.empty());
        QVERIFY(OpenRecording(TracePath("update.trace"), "foreign=2,foreign=9,foreign=25",
                              {.reenumeration = 20ms}));
        const Shown recorded = Update(package);
        QCOMPARE(recorded.updated, Utf8(fw::kUpdateSucceeded));
        QCOMPARE(recorded.progress, 100);
        QCOMPARE(sim_->firmware().imageVersion(0), 0x12345678u);
        QVERIFY(sim_->WaitForAttached(kProductIdWork, 2s));
        QVERIFY(!recorded.mainStatus.isEmpty());
        CloseWindow();
        const auto events = Recorded(TracePath("update.trace"));
        QVERIFY(HasStrayInput(events));
        // Into the update environment and back: the work node went twice, the update node came.
        int removals = 0;
        int updateArrivals = 0;
        for (const TraceEvent& e : events) {
            removals += e.kind == TraceEvent::Kind::Removal ? 1 : 0;
            updateArrivals +=
                e.kind == TraceEvent::Kind::Arrival && e.info.productId == kProductIdUpdate ? 1 : 0;
        }
        QVERIFY(removals >= 2);
        QVERIFY(updateArrivals >= 1);

        QVERIFY(OpenReplay(TracePath("update.trace"), false));
        const Shown replayed = Update(package);
        QCOMPARE(replayed.prepared, recorded.prepared);
        QCOMPARE(replayed.updated, recorded.updated);
        QCOMPARE(replayed.progress, recorded.progress);
        QCOMPARE(replayed.version, recorded.version);
        QCOMPARE(replayed.mainStatus, recorded.mainStatus);
        QCOMPARE(gate_->firstFailure().index, 0);
    }

    // Where another package's update first differs, told by a recording of it on the device.
    void anotherPackageFailsAtItsFirstDifferentReport() {
        const std::string other = WritePackage('M');
        QVERIFY(!other.empty());
        QVERIFY(OpenRecording(TracePath("other.trace"), "", {.reenumeration = 20ms}));
        QCOMPARE(Update(other).updated, Utf8(fw::kUpdateSucceeded));
        CloseWindow();
        const auto recorded = Outputs(Recorded(TracePath("update.trace")));  // the test above
        const auto sent = Outputs(Recorded(TracePath("other.trace")));
        QVERIFY(!recorded.empty());
        size_t first = 0;
        while (first < recorded.size() && first < sent.size() && recorded[first] == sent[first]) {
            ++first;
        }
        QVERIFY(first < recorded.size() && first < sent.size());

        QVERIFY(OpenReplay(TracePath("update.trace"), false));
        const Shown replayed = Update(other, false);
        QCOMPARE(replayed.updated, Utf8(fw::kUpdateFailed));
        const auto failure = gate_->firstFailure();
        QCOMPARE(failure.index, static_cast<int>(first + 1));
        const std::string differs = "output report " + std::to_string(first + 1) +
                                    " differs from the recording: sent " + HexBytes(sent[first]) +
                                    ", recorded " + HexBytes(recorded[first]);
        QCOMPARE(failure.detail, differs);
    }
};

QTEST_MAIN(FirmwareReplayTest)
#include "FirmwareReplayTest.moc"
