// The window's runs keep their records in the station database before their results show, a
// record that cannot be kept is told beside the result, and the history window lists the runs.
#include <sqlite3.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <functional>
#include <memory>

#include "app/CTavlinDlg.h"
#include "app/RunHistoryDlg.h"
#include "app/gui/SimulatedMainWindow.h"
#include "base/ControlIds.h"
#include "base/Log.h"
#include "calibration/CcalibrationmpDlg.h"
#include "firmware/CfirmwareUpdateDlg.h"
#include "firmware/FirmwareControlIds.h"
#include "leveling/CsensorsetmpDlg.h"
#include "leveling/LevelingControlIds.h"
#include "records/RecordContent.h"
#include "records/RecordStore.h"
#include "sim/SimTransport.h"
#include "ui/ControlLookup.h"

using namespace tavlin;

namespace {

std::string Slurp(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Another writer of the station database: while it holds the write lock, every record write
// waits (the store's busy time-out is seconds), so whatever shows meanwhile was shown first.
class WriteLock {
  public:
    explicit WriteLock(const std::string& path) {
        sqlite3_open(path.c_str(), &db_);
        sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    }
    ~WriteLock() { Release(); }
    void Release() {
        if (db_ != nullptr) {
            sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
            sqlite3_close(db_);
            db_ = nullptr;
        }
    }

  private:
    sqlite3* db_ = nullptr;
};

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

std::string Sha256Of(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

CfirmwareUpdateDlg* OpenFirmwareWindow() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<CfirmwareUpdateDlg*>(w); d != nullptr && d->isVisible()) {
            return d;
        }
    }
    return nullptr;
}

std::vector<RunRecord> LastRuns(const std::string& path) {
    std::unique_ptr<RecordStore> store;
    std::vector<RunRecord> runs;
    if (RecordStore::Open(path, &store)) {
        static_cast<void>(store->LastRuns({}, &runs));
    }
    return runs;
}

}  // namespace

class WindowRecordsTest : public QObject, private testing::SimulatedMainWindow {
    Q_OBJECT

  private:
    QTemporaryDir dir_;

    std::string Database() const { return dir_.filePath("station.sqlite").toStdString(); }
    QString Status() const {
        return findControl<QLabel>(window_.get(), control::kStatusLine)->text();
    }
    QString Pane() const {
        return findControl<QPlainTextEdit>(window_.get(), control::kOutputPane)->toPlainText();
    }
    QLabel* Warning() const { return findControl<QLabel>(window_.get(), control::kRecordWarning); }
    void Click(int id) {
        QTest::mouseClick(findControl<QAbstractButton>(window_.get(), id), Qt::LeftButton);
    }
    void Open(const std::string& database,
              std::chrono::milliseconds reenumeration = std::chrono::milliseconds(-1)) {
        testing::SimulatedWindowOptions how;
        how.engineering = true;
        how.reenumeration = reenumeration;
        how.records = WindowRecordOptions{database, {}, "Ana", "L-7", {}};
        OpenWindow(how);
        QTRY_COMPARE(state_->g_bDevExist.load(), 1);
        findControl<QLineEdit>(window_.get(), control::kRegAddress)->setText("0x1234");
        findControl<QLineEdit>(window_.get(), control::kRegValue)->setText("0x5a");
    }

    // One operation of the window: its button, and what shows its result.
    struct Operation {
        const char* command;
        int button;
        std::function<bool(WindowRecordsTest&)> resultShown;
    };
    static std::vector<Operation> Operations() {
        return {
            {"mode", control::kModeToggle,
             [](WindowRecordsTest& t) {
                 return t.Status() == QString::fromUtf8("当前模式为标定模式！\n");
             }},
            {"write", control::kRegWrite,
             [](WindowRecordsTest& t) { return t.Pane().contains("FPGAPortWrite Addr: 0x1234"); }},
            {"read", control::kRegRead,
             [](WindowRecordsTest& t) { return t.Pane().contains("FPGASingleRead Addr: 0x1234"); }},
        };
    }

    // In the firmware window: an update whose record waits for the database's write lock.
    void UpdateAndExpectTheOutcomeAfterTheRecord(CfirmwareUpdateDlg* d) {
        const QString succeeded = QString::fromUtf8("固件更新成功，请退出!\n");
        auto status = [d] { return findControl<QLabel>(d, fwcontrol::kStatusLine)->text(); };
        QTRY_COMPARE(status(), QString::fromUtf8("环境准备完毕，请选择配置文件进行更新！\n"));
        auto lock = std::make_unique<WriteLock>(Database());
        QTest::mouseClick(findControl<QAbstractButton>(d, fwcontrol::kOneKeyUpdate),
                          Qt::LeftButton);
        // The update is written long before its record can be.
        QTRY_VERIFY(state_->g_ImageUpdateThread.load() == nullptr &&
                    findControl<QProgressBar>(d, fwcontrol::kProgress)->value() == 100);
        QElapsedTimer held;
        held.start();
        while (held.elapsed() < 300) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QVERIFY2(status() != succeeded, "the outcome showed before its record was kept");
        }
        lock.reset();
        QTRY_COMPARE(status(), succeeded);
        QVERIFY(Warning()->isHidden());
    }

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        SetLogFilePath(dir_.filePath("Tavlin_log.txt").toStdString());
    }
    void cleanup() {
        CloseWindow();
        QFile::remove(QString::fromStdString(Database()));
    }

    void recordIsCompletedBeforeTheResultShows_data() {
        QTest::addColumn<int>("operation");
        for (int i = 0; i < static_cast<int>(Operations().size()); ++i) {
            QTest::newRow(Operations()[static_cast<size_t>(i)].command) << i;
        }
    }
    void recordIsCompletedBeforeTheResultShows() {
        QFETCH(int, operation);
        const Operation op = Operations()[static_cast<size_t>(operation)];
        Open(Database());
        QVERIFY(LastRuns(Database()).empty());  // creates the database

        auto lock = std::make_unique<WriteLock>(Database());
        Click(op.button);
        // The operation is done on the device long before this; its record cannot be.
        QElapsedTimer held;
        held.start();
        while (held.elapsed() < 400) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QVERIFY2(!op.resultShown(*this), "the result showed before its record was kept");
        }
        lock.reset();
        QTRY_VERIFY(op.resultShown(*this));
        const std::vector<RunRecord> runs = LastRuns(Database());
        QCOMPARE(runs.size(), size_t{1});
        QCOMPARE(runs[0].command, std::string(op.command));
        QCOMPARE(RunOutcomeName(runs[0].outcome), "passed");
        QCOMPARE(runs[0].exitStatus, std::optional<int>(0));
        QCOMPARE(runs[0].operatorName, std::string("Ana"));
        QCOMPARE(runs[0].lot, std::string("L-7"));
        QVERIFY(runs[0].unit.productId.has_value());
        QVERIFY(Warning()->isHidden());
    }

    // An update started in the firmware window is a run of its own: the window shows its
    // outcome only once the row is completed, and the row holds what the update wrote.
    void firmwareUpdateShowsItsOutcomeOnlyOnceRecorded() {
        const QString image = dir_.filePath("l.bin");
        const QString package = dir_.filePath("pkg.ini");
        QVERIFY(WriteBytes(image, QByteArray(300, 'L')));
        QVERIFY(WriteBytes(package, QStringLiteral("[Tavlin LInfo]\nImage_en=1\n"
                                                   "Image_version=%1\nImage_name=%2\n")
                                        .arg(0x12345678)
                                        .arg(image)
                                        .toUtf8()));
        Open(Database(), std::chrono::milliseconds(20));
        QVERIFY(LastRuns(Database()).empty());
        const std::string before =
            VersionsText(sim_->firmware().imageVersion(0), sim_->firmware().imageVersion(1));
        state_->g_FwPackagePath = package.toStdString();
        bool ran = false;
        QTimer::singleShot(0, this, [&] {
            CfirmwareUpdateDlg* d = nullptr;
            if (!QTest::qWaitFor([&] { return (d = OpenFirmwareWindow()) != nullptr; }, 5000)) {
                return;
            }
            UpdateAndExpectTheOutcomeAfterTheRecord(d);
            ran = !QTest::currentTestFailed();
            d->done(QDialog::Rejected);  // also when the scenario failed part-way
        });
        Click(control::kUpdateFirmware);
        QVERIFY(ran);

        const std::vector<RunRecord> runs = LastRuns(Database());
        QCOMPARE(runs.size(), size_t{1});
        RunRecord run;
        {
            std::unique_ptr<RecordStore> store;
            QVERIFY(RecordStore::Open(Database(), &store).ok());
            QVERIFY(store->ReadRun(runs[0].uuid, &run).ok());
        }
        QCOMPARE(run.command, std::string("update"));
        QCOMPARE(run.arguments, std::vector<std::string>{package.toStdString()});
        QCOMPARE(RunOutcomeName(run.outcome), "passed");
        QCOMPARE(run.unit.versionsBefore, before);
        QCOMPARE(run.unit.versionsAfter,
                 VersionsText(0x12345678, sim_->firmware().imageVersion(1)));
        QVERIFY(run.unit.versionsBefore != run.unit.versionsAfter);
        QCOMPARE(run.images.size(), size_t{1});
        QCOMPARE(run.images[0].section, std::string("LInfo"));
        QCOMPARE(run.images[0].sensor, std::int64_t{0});
        QCOMPARE(run.images[0].size, std::int64_t{300});
        QCOMPARE(run.images[0].sha256, Sha256Of(image));
        QCOMPARE(run.steps.size(), size_t{1});
        QCOMPARE(run.steps[0].outcome, std::string("passed"));
        struct Kept {
            const char* kind;
            QString path;
        };
        for (const Kept& kept : {Kept{"package", package}, Kept{"image", image}}) {
            const auto found =
                std::find_if(run.artefacts.begin(), run.artefacts.end(),
                             [&](const ArtefactRecord& a) { return a.kind == kept.kind; });
            QVERIFY2(found != run.artefacts.end(), kept.kind);
            QCOMPARE(found->path, kept.path.toStdString());
            QCOMPARE(found->sha256, Sha256Of(kept.path));
        }
    }

    // A leveling session is a run of its own, kept as the window is left with the values it
    // ended with; exposures only after an adjustment.
    void levelingKeepsTheValuesItEndedWith_data() {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("exposure then OK") << true << "passed";
        QTest::newRow("Cancel") << false << "stopped";
    }
    void levelingKeepsTheValuesItEndedWith() {
        QFETCH(bool, ok);
        QFETCH(QString, outcome);
        Open(Database());
        QVERIFY(LastRuns(Database()).empty());
        Click(leveling::kLevelingButton);
        QPointer<CsensorsetmpDlg> d = window_->findChild<CsensorsetmpDlg*>();
        QVERIFY(d != nullptr);
        QTRY_VERIFY(findControl<QLabel>(d, leveling::kSlaveStatus)
                        ->text()
                        .startsWith(QString::fromUtf8("确定所用图像行成功")));
        if (ok) {
            findControl<QAbstractButton>(d, leveling::kExposure)->click();
            findControl<QAbstractButton>(d, leveling::kOk)->click();
        } else {
            d->reject();
        }
        QTRY_VERIFY(d.isNull());
        std::vector<RunRecord> runs;
        QTRY_VERIFY((runs = LastRuns(Database())).size() == 1 &&
                    runs[0].outcome != RunOutcome::Running);
        RunRecord run;
        {
            std::unique_ptr<RecordStore> store;
            QVERIFY(RecordStore::Open(Database(), &store).ok());
            QVERIFY(store->ReadRun(runs[0].uuid, &run).ok());
        }
        QCOMPARE(run.command, std::string("level"));
        QCOMPARE(QString(RunOutcomeName(run.outcome)), outcome);
        std::map<std::string, double> values;
        for (const MeasurementRecord& m : run.measurements) {
            values[m.name] = m.value;
        }
        QCOMPARE(values.size(), ok ? size_t{10} : size_t{6});
        QCOMPARE(values["master.start_line"], double(state_->g_StartLineM.load()));
        QCOMPARE(values["slave.start_line"], double(state_->g_StartLineS.load()));
        QCOMPARE(values["slave.end_column"], double(state_->g_ColumnS[1].load()));
        if (ok) {
            QCOMPARE(values["master.exposure_1"], double(state_->g_ExposureM[0].load()));
        }
    }

    // A calibration is a run of its own with the targets where it put them; the window offers
    // the check only once the run is recorded as completed.
    void calibrationOffersTheCheckOnlyOnceRecorded() {
        Open(Database());
        QVERIFY(LastRuns(Database()).empty());
        sim_->firmware().setStylusManual(false, 0, 0);  // the operator has not touched yet
        Click(control::kCalibration);
        QPointer<CcalibrationmpDlg> d = window_->findChild<CcalibrationmpDlg*>();
        QVERIFY(d != nullptr);
        QTRY_COMPARE(LastRuns(Database()).size(), size_t{1});  // begun as running
        {
            WriteLock lock(Database());
            QElapsedTimer took;
            took.start();
            sim_->firmware().setStylusAutomatic();
            QTRY_VERIFY(state_->g_CalThread.load() == nullptr);
            QCoreApplication::processEvents();
            QVERIFY2(took.elapsed() < 4000,
                     "the calibration outlasts the database's busy time-out");
            QElapsedTimer held;
            held.start();
            while (held.elapsed() < 300) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
                QVERIFY2(!d->CheckOffered(), "the check was offered before the record was kept");
            }
        }
        QTRY_VERIFY(d->CheckOffered());
        const std::vector<RunRecord> runs = LastRuns(Database());
        QCOMPARE(runs.size(), size_t{1});
        RunRecord run;
        {
            std::unique_ptr<RecordStore> store;
            QVERIFY(RecordStore::Open(Database(), &store).ok());
            QVERIFY(store->ReadRun(runs[0].uuid, &run).ok());
        }
        QCOMPARE(run.command, std::string("calibrate"));
        QCOMPARE(RunOutcomeName(run.outcome), "passed");
        QCOMPARE(run.measurements.size(), size_t{30});  // x and y of fifteen targets
        QCOMPARE(run.measurements[0].name, std::string("target 0.x"));
        QCOMPARE(run.measurements[0].unit, std::string("px"));

        // The check it offers is a run of its own, kept as stopped when left before its end.
        QTest::keyClick(d, Qt::Key_Space);
        QTRY_COMPARE(LastRuns(Database()).size(), size_t{2});
        QCOMPARE(LastRuns(Database())[0].command, std::string("check"));
        QTest::keyClick(d, Qt::Key_Escape);
        QTRY_VERIFY(d.isNull());
        QTRY_COMPARE(RunOutcomeName(LastRuns(Database())[0].outcome), "stopped");
    }

    void aRecordThatCannotBeKeptIsToldBesideTheResult() {
        const QString path = dir_.filePath("notes.sqlite");
        const std::string notes = "not a station database\n";
        { std::ofstream(path.toStdString(), std::ios::binary) << notes; }
        Open(path.toStdString());
        Click(control::kModeToggle);
        QTRY_COMPARE(Status(), QString::fromUtf8("当前模式为标定模式！\n"));
        QTRY_VERIFY(Warning()->isVisible());
        QVERIFY2(Warning()->text().contains(path), qPrintable(Warning()->text()));
        QCOMPARE(Slurp(path), notes);
        QVERIFY(Slurp(dir_.filePath("Tavlin_log.txt")).find("Run record not kept in") !=
                std::string::npos);
    }

    void historyListsTheRunsNewestFirstAndFiltersByPort() {
        {
            std::unique_ptr<RecordStore> store;
            QVERIFY(RecordStore::Open(Database(), &store).ok());
            for (const char* port : {"1-1", "1-2", "1-1"}) {
                RunRecord run;
                run.command = port[2] == '2' ? "update" : "level";
                run.unit.port = port;
                QVERIFY(store->BeginRun(run).ok());
                run.outcome = RunOutcome::Passed;
                run.exitStatus = 0;
                QVERIFY(store->CompleteRun(run).ok());
            }
        }
        Open(Database());
        Click(control::kHistory);
        RunHistoryDlg* history = nullptr;
        QTRY_VERIFY((history = window_->findChild<RunHistoryDlg*>()) != nullptr);
        auto* table = findControl<QTableWidget>(history, RunHistoryDlg::kTable);
        QTRY_COMPARE(table->rowCount(), 3);
        QCOMPARE(table->item(0, 1)->text(), QString("1-1"));
        QCOMPARE(table->item(1, 2)->text(), QString("update"));

        struct Filter {
            const char* port;
            int rows;
        };
        for (const Filter& filter : {Filter{"1-2", 1}, Filter{"1-1", 2}, Filter{"9-9", 0}}) {
            findControl<QComboBox>(history, RunHistoryDlg::kPortFilter)
                ->setCurrentText(QString::fromLatin1(filter.port));
            QTRY_COMPARE(table->rowCount(), filter.rows);
            for (int row = 0; row < filter.rows; ++row) {
                QCOMPARE(table->item(row, 1)->text(), QString::fromLatin1(filter.port));
            }
        }
    }
};

QTEST_MAIN(WindowRecordsTest)
#include "WindowRecordsTest.moc"
