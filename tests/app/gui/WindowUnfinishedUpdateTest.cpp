// The firmware window and a unit whose last update was cut off: opened on such a unit in its
// update environment, the window tells where that update stopped and chooses its package again;
// and the window's own updates keep where they stand, so a cut in one of them is found later.
#include <sqlite3.h>

#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <functional>
#include <memory>

#include "app/CTavlinDlg.h"
#include "app/gui/SimulatedMainWindow.h"
#include "base/ControlIds.h"
#include "base/Log.h"
#include "firmware/CfirmwareUpdateDlg.h"
#include "firmware/FirmwareControlIds.h"
#include "firmware/LoadedPackage.h"
#include "records/RecordStore.h"
#include "records/RecordedUpdateJournal.h"
#include "sim/FaultPlanParser.h"
#include "sim/SimTransport.h"
#include "ui/ControlLookup.h"

using namespace tavlin;

namespace {

const QString kReady = QString::fromUtf8("环境准备完毕，请选择配置文件进行更新！\n");
const char* kStoppedEnglish = "the last update of this unit stopped at LInfo, image 3 of 4";

std::string Slurp(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Another writer of the station database, holding its write lock until released.
class WriteLock {
  public:
    explicit WriteLock(const std::string& path) {
        sqlite3_open(path.c_str(), &db_);
        sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    }
    ~WriteLock() {
        sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db_);
    }

  private:
    sqlite3* db_ = nullptr;
};

CfirmwareUpdateDlg* OpenFirmwareWindow() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<CfirmwareUpdateDlg*>(w); d != nullptr && d->isVisible()) {
            return d;
        }
    }
    return nullptr;
}

QString Text(QWidget* parent, int id) {
    if (auto* label = findControl<QLabel>(parent, id)) {
        return label->text();
    }
    return findControl<QLineEdit>(parent, id)->text();
}

}  // namespace

class WindowUnfinishedUpdateTest : public QObject, private testing::SimulatedMainWindow {
    Q_OBJECT

  private:
    QTemporaryDir dir_;

    std::string Database() const { return dir_.filePath("station.sqlite").toStdString(); }
    QString Log() const { return QString::fromStdString(Slurp(dir_.filePath("Tavlin_log.txt"))); }

    // HInfo to both sensors, LInfo and RInfo: four images, named by their whole paths.
    QString WritePackage(const QString& name, int lInfoBytes) {
        const QString package = dir_.filePath(name + ".ini");
        QString ini;
        const struct {
            const char* section;
            const char* file;
            int bytes;
        } images[] = {
            {"HInfo", "h.bin", 124}, {"LInfo", "l.bin", lInfoBytes}, {"RInfo", "r.bin", 124}};
        for (const auto& image : images) {
            const QString file = dir_.filePath(name + "-" + image.file);
            if (!WriteBytes(file, QByteArray(image.bytes, image.file[0]))) {
                return {};
            }
            ini += QStringLiteral("[Tavlin %1]\nImage_en=1\nImage_version=%2\nImage_name=%3\n")
                       .arg(image.section)
                       .arg(0x01020304)
                       .arg(file);
        }
        return WriteBytes(package, ini.toUtf8()) ? package : QString();
    }

    // An update of `package` on the simulated unit's port that stopped at LInfo, image 3 of 4,
    // kept as it ended.
    void KeepUpdate(const QString& package, RunOutcome outcome) {
        std::unique_ptr<RecordStore> store;
        QVERIFY(RecordStore::Open(Database(), &store).ok());
        RunRecord run;
        run.command = "update";
        run.unit.port = "sim-1";
        QVERIFY(store->BeginRun(run).ok());
        LoadedPackage loaded;
        const char* refusal = nullptr;
        QVERIFY(LoadPackage(package.toStdString(), &loaded, &refusal).ok());
        UpdateProgress progress = ProgressOfPackage(loaded);
        progress.stage = "image";
        progress.image = "LInfo";
        progress.imageNumber = 3;
        progress.packet = 12;
        QCOMPARE(progress.imageCount, 4);
        QVERIFY(store->BeginUpdate(run.uuid, progress).ok());
        run.outcome = outcome;
        QVERIFY(store->CompleteRun(run).ok());
    }

    // A run another process left running and that process gone: the next store to open the
    // database marks it, which waits for the write lock.
    void KeepRunOfAnEndedProcess() {
        std::unique_ptr<RecordStore> store;
        QVERIFY(RecordStore::Open(Database(), &store).ok());
        RunRecord run;
        run.command = "level";
        run.unit.port = "sim-9";
        run.processId = 0x7ffffff0;
        run.processStart = "long ago";
        QVERIFY(store->BeginRun(run).ok());
    }

    // The window with the simulated unit in `productId`, and what `inside` does in the firmware
    // window once it shows, then closes it.
    void WithFirmwareWindow(uint16_t productId,
                            const std::function<void(CfirmwareUpdateDlg*)>& inside) {
        testing::SimulatedWindowOptions how;
        how.productId = productId;
        how.reenumeration = std::chrono::milliseconds(20);
        how.records = WindowRecordOptions{Database(), {}, {}, {}, {}};
        OpenWindow(how);
        QTRY_COMPARE(state_->g_bDevExist.load(), 1);
        bool ran = false;
        QTimer::singleShot(0, this, [&] {
            CfirmwareUpdateDlg* d = nullptr;
            if (!QTest::qWaitFor([&] { return (d = OpenFirmwareWindow()) != nullptr; }, 5000)) {
                return;
            }
            inside(d);
            ran = !QTest::currentTestFailed();
            d->done(QDialog::Rejected);  // also when the scenario failed part-way
        });
        QTest::mouseClick(findControl<QAbstractButton>(window_.get(), control::kUpdateFirmware),
                          Qt::LeftButton);
        QVERIFY(ran);
    }

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        SetLogFilePath(dir_.filePath("Tavlin_log.txt").toStdString());
    }
    void cleanup() {
        CloseWindow();
        QFile::remove(QString::fromStdString(Database()));
        QFile::remove(dir_.filePath("Tavlin_log.txt"));
    }

    void theWindowTellsWhereTheLastUpdateStopped_data() {
        QTest::addColumn<int>("outcome");
        QTest::addColumn<bool>("inUpdateEnvironment");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QString>("status");  // a start; empty: the ready text stays
        QTest::addColumn<bool>("chosen");
        QTest::newRow("cut at LInfo")
            << int(RunOutcome::Failed) << true << false
            << QString::fromUtf8("该设备上次更新停止于 LInfo，第 3 个映像（共 4 个）") << true;
        QTest::newRow("an image changed since")
            << int(RunOutcome::Interrupted) << true << true
            << QString::fromUtf8("更新包自上次更新以来已更改，不予继续：") << false;
        QTest::newRow("the last update passed")
            << int(RunOutcome::Passed) << true << false << QString() << false;
        // A unit in work mode has got past whatever its last update did.
        QTest::newRow("the unit in work mode")
            << int(RunOutcome::Failed) << false << false << QString() << false;
    }
    void theWindowTellsWhereTheLastUpdateStopped() {
        QFETCH(int, outcome);
        QFETCH(bool, inUpdateEnvironment);
        QFETCH(bool, changed);
        QFETCH(QString, status);
        QFETCH(bool, chosen);
        const QString package = WritePackage("cut", 300);
        QVERIFY(!package.isEmpty());
        KeepUpdate(package, static_cast<RunOutcome>(outcome));
        if (changed) {
            QVERIFY(WriteBytes(dir_.filePath("cut-l.bin"), QByteArray(300, 'x')));
        }
        WithFirmwareWindow(
            inUpdateEnvironment ? kProductIdUpdate : kProductIdWork, [&](CfirmwareUpdateDlg* d) {
                if (status.isEmpty()) {
                    QTRY_COMPARE(Text(d, fwcontrol::kStatusLine), kReady);
                    QTest::qWait(500);  // time for an answer that must not come
                    QCOMPARE(Text(d, fwcontrol::kStatusLine), kReady);
                } else {
                    QTRY_VERIFY2(Text(d, fwcontrol::kStatusLine).startsWith(status),
                                 qPrintable(Text(d, fwcontrol::kStatusLine)));
                }
                if (changed) {
                    QVERIFY(
                        Text(d, fwcontrol::kStatusLine).contains("cut-l.bin: its SHA-256 differs"));
                }
                QCOMPARE(Text(d, fwcontrol::kPackagePath), chosen ? package : QString());
                QCOMPARE(QString::fromStdString(state_->g_FwPackagePath),
                         chosen ? package : QString());
                // Checked as a package the user chose: who signed it shows beside it.
                QCOMPARE(Text(d, fwcontrol::kPackageSigner).isEmpty(), !chosen);
            });
        QCOMPARE(Log().contains(kStoppedEnglish), !status.isEmpty());
    }

    // The records are slow to answer (another writer holds them): the window is not held up, and
    // a package the user chose meanwhile stays chosen.
    void anAnswerAfterTheUsersOwnChoiceIsDropped() {
        const QString package = WritePackage("cut", 300);
        const QString own = WritePackage("own", 200);
        KeepUpdate(package, RunOutcome::Failed);
        KeepRunOfAnEndedProcess();
        auto lock = std::make_unique<WriteLock>(Database());
        WithFirmwareWindow(kProductIdUpdate, [&](CfirmwareUpdateDlg* d) {
            QTRY_COMPARE(Text(d, fwcontrol::kStatusLine), kReady);
            d->SetFileChooser([&](const QString&, const QString&) { return own; });
            QTest::mouseClick(findControl<QAbstractButton>(d, fwcontrol::kChoosePackage),
                              Qt::LeftButton);
            QCOMPARE(Text(d, fwcontrol::kPackagePath), own);
            const QString shown = Text(d, fwcontrol::kStatusLine);
            lock.reset();
            QTRY_VERIFY(Log().contains(kStoppedEnglish));  // the answer has come
            QCoreApplication::processEvents();
            QCOMPARE(Text(d, fwcontrol::kPackagePath), own);
            QCOMPARE(Text(d, fwcontrol::kStatusLine), shown);
            QCOMPARE(QString::fromStdString(state_->g_FwPackagePath), own);
        });
    }

    // The window's own update keeps where it stands: its power cut in the middle of LInfo, the
    // records hold the image and the packet it had got to.
    void anUpdateCutInTheWindowKeepsWhereItStopped() {
        const QString package = dir_.filePath("l.ini");
        const QString image = dir_.filePath("l.bin");
        QVERIFY(WriteBytes(image, QByteArray(62 * 30, 'L')));
        QVERIFY(WriteBytes(package, QStringLiteral("[Tavlin LInfo]\nImage_en=1\n"
                                                   "Image_version=%1\nImage_name=%2\n")
                                        .arg(0x12345678)
                                        .arg(image)
                                        .toUtf8()));
        std::unique_ptr<RecordStore> store;
        QVERIFY(RecordStore::Open(Database(), &store).ok());
        std::string error;
        const auto faults = sim::ParseFaultPlan("powercut-at=LInfo:10@300ms", &error);
        QVERIFY2(faults.has_value(), error.c_str());
        WithFirmwareWindow(kProductIdWork, [&](CfirmwareUpdateDlg* d) {
            QTRY_COMPARE(Text(d, fwcontrol::kStatusLine), kReady);
            sim_->faults().Set(*faults);
            d->SetFileChooser([&](const QString&, const QString&) { return package; });
            QTest::mouseClick(findControl<QAbstractButton>(d, fwcontrol::kChoosePackage),
                              Qt::LeftButton);
            QTest::mouseClick(findControl<QAbstractButton>(d, fwcontrol::kOneKeyUpdate),
                              Qt::LeftButton);
            std::vector<RunRecord> runs;
            QTRY_VERIFY(store->LastRuns({}, &runs).ok() && runs.size() == 1 &&
                        runs[0].outcome != RunOutcome::Running);
            QCOMPARE(RunOutcomeName(runs[0].outcome), "failed");
        });
        std::optional<UnfinishedUpdate> found;
        QVERIFY(store->UnfinishedUpdateOn(sim_->port(), "", &found).ok());
        QVERIFY(found.has_value());
        QCOMPARE(found->progress.stage, std::string("image"));
        QCOMPARE(found->progress.image, std::string("LInfo"));
        QCOMPARE(found->progress.imageNumber, 1);
        QCOMPARE(found->progress.imageCount, 1);
        QCOMPARE(found->progress.packet, std::int64_t{9});  // packet 10 never arrived
        QCOMPARE(found->progress.package, package.toStdString());
        QCOMPARE(found->progress.files.size(), size_t{2});
    }
};

QTEST_MAIN(WindowUnfinishedUpdateTest)
#include "WindowUnfinishedUpdateTest.moc"
