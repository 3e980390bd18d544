#include "app/RunHistoryDlg.h"

#include <QComboBox>
#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <filesystem>
#include <memory>
#include <system_error>

#include "app/HistoryTexts.h"
#include "base/FillText.h"
#include "base/StringTable.h"
#include "platform/FilePath.h"
#include "records/RecordStore.h"
#include "ui/ControlLookup.h"

namespace tavlin {
namespace {

QString Text(const char* builtIn) {
    return QString::fromStdString(Tr(builtIn));
}

QString Utf8(const std::string& text) {
    return QString::fromStdString(text);
}

QString LocalTime(std::int64_t ms) {
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// The row's cells, in the columns' order.
QStringList Cells(const RunRecord& run) {
    return {LocalTime(run.startedMs),
            Utf8(run.unit.port),
            Utf8(run.command),
            QString::fromLatin1(RunOutcomeName(run.outcome)),
            run.exitStatus ? QString::number(*run.exitStatus) : QString(),
            Utf8(run.operatorName),
            Utf8(run.lot),
            Utf8(run.unit.versionsAfter)};
}

// A database that is not there has no runs: reading it must not create it.
Result ReadRuns(const std::string& path, const std::string& port, std::vector<RunRecord>* runs) {
    std::error_code error;
    if (!std::filesystem::exists(PathFromUtf8(path), error)) {
        return Result::Ok();
    }
    std::unique_ptr<RecordStore> store;
    if (Result opened = RecordStore::Open(path, &store); !opened) {
        return opened;
    }
    RecordStore::Query query;
    query.limit = RunHistoryDlg::kRuns;
    query.port = port;
    return store->LastRuns(query, runs);
}

}  // namespace

RunHistoryDlg::RunHistoryDlg(std::string databasePath, QWidget* parent)
    : QDialog(parent), path_(std::move(databasePath)) {
    setWindowTitle(Text(historytext::kHistory));
    auto* column = new QVBoxLayout(this);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(new QLabel(Text(historytext::kPort), this));
    port_ = new QComboBox(this);
    SetControlId(port_, kPortFilter);
    port_->setEditable(true);
    port_->setMinimumContentsLength(16);
    port_->addItem(Text(historytext::kAllPorts));
    filterRow->addWidget(port_, 1);
    column->addLayout(filterRow);

    table_ = new QTableWidget(0, 8, this);
    SetControlId(table_, kTable);
    table_->setHorizontalHeaderLabels({Text(historytext::kTime), Text(historytext::kPortColumn),
                                       Text(historytext::kCommand), Text(historytext::kOutcome),
                                       Text(historytext::kExit), Text(historytext::kOperator),
                                       Text(historytext::kLot), Text(historytext::kVersions)});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    column->addWidget(table_, 1);

    message_ = new QLabel(this);
    SetControlId(message_, kMessage);
    message_->setWordWrap(true);
    message_->hide();
    column->addWidget(message_);

    auto* close = new QPushButton(Text(historytext::kClose), this);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(close);
    column->addLayout(bottom);
    resize(900, 480);

    connect(port_, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        Load(text == Text(historytext::kAllPorts) ? std::string() : text.trimmed().toStdString());
    });
    Load({});
}

RunHistoryDlg::~RunHistoryDlg() {
    if (reader_.joinable()) {
        reader_.join();
    }
}

void RunHistoryDlg::Load(const std::string& port) {
    // One read at a time; a read is one indexed query of at most kRuns rows.
    if (reader_.joinable()) {
        reader_.join();
    }
    const unsigned generation = ++generation_;
    reader_ = std::thread([this, generation, port, path = path_] {
        std::vector<RunRecord> runs;
        const Result read = ReadRuns(path, port, &runs);
        const std::string error =
            read ? std::string() : FillText(Tr(historytext::kCannotRead), {path, read.reason()});
        // Queued to the window, which outlives this thread (its destructor joins it).
        QMetaObject::invokeMethod(
            this,
            [this, generation, runs = std::move(runs), error] { Show(generation, runs, error); },
            Qt::QueuedConnection);
    });
}

void RunHistoryDlg::Show(unsigned generation, const std::vector<RunRecord>& runs,
                         const std::string& error) {
    if (generation != generation_) {
        return;
    }
    message_->setText(Utf8(error));
    message_->setVisible(!error.empty());
    table_->setRowCount(static_cast<int>(runs.size()));
    for (int row = 0; row < static_cast<int>(runs.size()); ++row) {
        const QStringList cells = Cells(runs[static_cast<size_t>(row)]);
        for (int col = 0; col < cells.size(); ++col) {
            table_->setItem(row, col, new QTableWidgetItem(cells[col]));
        }
        // The ports seen so far are the filter's choices.
        const QString port = cells[1];
        if (!port.isEmpty() && port_->findText(port) < 0) {
            const QSignalBlocker quiet(port_);
            port_->addItem(port);
        }
    }
    table_->resizeColumnsToContents();
}

}  // namespace tavlin
