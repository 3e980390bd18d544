// The records of the window's runs on the device: each is begun before the run starts and
// completed on the records' own thread before the run's result is shown; a record that was not
// kept is told beside the result. The history window lists the station's last runs.
#include <QLabel>
#include <QPushButton>

#include "app/CTavlinDlg.h"
#include "app/HistoryTexts.h"
#include "base/ControlIds.h"
#include "base/StringTable.h"
#include "cli/RecordTexts.h"
#include "ui/ControlLookup.h"
#ifdef TAVLIN_RECORDS
#include "app/RunHistoryDlg.h"
#include "records/RecordContent.h"
#endif

namespace tavlin {

void CTavlinDlg::BuildRecordControls() {
    auto* history = new QPushButton(QString::fromStdString(Tr(historytext::kHistory)), this);
    SetControlId(history, control::kHistory);
    history->resize(110, 28);
#ifndef TAVLIN_RECORDS
    // This build has no database to list.
    history->setEnabled(false);
    history->setToolTip(QString::fromStdString(Tr(cli::recordtext::kNoRecordsInThisBuild)));
#endif
    connect(history, &QPushButton::clicked, this, &CTavlinDlg::OnHistory);

    recordWarning_ = new QLabel(this);
    SetControlId(recordWarning_, control::kRecordWarning);
    recordWarning_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    recordWarning_->setWordWrap(true);
    recordWarning_->setStyleSheet(QStringLiteral("color: #b00000"));
    recordWarning_->resize(400, 36);
    recordWarning_->hide();
}

std::shared_ptr<WindowRecords::Run> CTavlinDlg::BeginRecord(std::string command,
                                                            std::vector<std::string> arguments) {
    return records_->Begin(std::move(command), std::move(arguments), device_.openedPort());
}

std::function<void(RunRecord&)> CTavlinDlg::UnitFill() const {
    // Values taken now, on the window's thread: the records' thread reads none of the window's
    // state.
    const std::uint16_t productId = state_.deviceProductId.load();
    const bool versionsRead = state_.g_ReadImageVersionSuc.load() != 0;
    const std::uint32_t master = state_.g_ImageVersionM.load();
    const std::uint32_t slave = state_.g_ImageVersionS.load();
    const std::string port = device_.openedPort();
    return [=](RunRecord& record) {
        if (record.unit.port.empty()) {
            record.unit.port = port;
        }
        if (productId != 0) {
            record.unit.productId = productId;
        }
#ifdef TAVLIN_RECORDS
        if (versionsRead) {
            record.unit.versionsAfter = VersionsText(master, slave);
        }
#else
        (void)versionsRead;
        (void)master;
        (void)slave;
#endif
    };
}

void CTavlinDlg::CompleteRecord(const std::shared_ptr<WindowRecords::Run>& run,
                                const Result& outcome, std::function<void(RunRecord&)> fill,
                                std::function<void()> show) {
    CompleteRecordAfter(
        run, {},
        [outcome, fill = std::move(fill)](RunRecord& record) {
            if (fill) {
                fill(record);
            }
            return outcome;
        },
        std::move(show));
}

void CTavlinDlg::CompleteRecordAfter(const std::shared_ptr<WindowRecords::Run>& run,
                                     std::function<void()> ended,
                                     std::function<Result(RunRecord&)> finish,
                                     std::function<void()> show) {
    const std::function<void(RunRecord&)> unit = UnitFill();
    records_->Complete(
        run, std::move(ended),
        // What the run found out of the unit itself (an update's versions) wins over what the
        // window knew as it began.
        [unit, finish = std::move(finish)](RunRecord& record) {
            unit(record);
            return finish(record);
        },
        this,
        [this, show = std::move(show)](const std::string& warning) {
            show();
            ShowRecordWarning(warning);
        });
}

void CTavlinDlg::ShowRecordWarning(const std::string& warning) {
    recordWarning_->setText(QString::fromStdString(warning));
    recordWarning_->setVisible(!warning.empty());
}

void CTavlinDlg::OnHistory() {
#ifdef TAVLIN_RECORDS
    // Without --results none the window's own database; with it, the log folder's, where the
    // station's other runs are.
    const std::string logDir = options_.records ? options_.records->logDir : std::string();
    const std::string path =
        !records_->path().empty() ? records_->path() : StationRecordPath({}, logDir);
    auto* history = new RunHistoryDlg(path, this);
    history->setAttribute(Qt::WA_DeleteOnClose);
    history->show();
#endif
}

}  // namespace tavlin
