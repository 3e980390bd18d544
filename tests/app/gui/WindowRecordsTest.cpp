// The window's runs keep their records in the station database before their results show, a
// record that cannot be kept is told beside the result, and the history window lists the runs.
#include <sqlite3.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
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
#include "records/RecordStore.h"
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
    void Open(const std::string& database) {
        testing::SimulatedWindowOptions how;
        how.engineering = true;
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
