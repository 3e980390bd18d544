#pragma once
#include <QDialog>
#include <string>
#include <thread>
#include <vector>

#include "records/RunRecord.h"

class QComboBox;
class QLabel;
class QTableWidget;

namespace tavlin {

// The history window: the station database's last runs, newest first, narrowed to one port when
// one is chosen or typed. The database is read on a thread of its own; the window fills its
// table when the rows arrive.
class RunHistoryDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kRuns = 200;
    // Control ids: the port filter, the table and the line that tells a database not read.
    static constexpr int kPortFilter = 1112;
    static constexpr int kTable = 1113;
    static constexpr int kMessage = 1114;

    RunHistoryDlg(std::string databasePath, QWidget* parent = nullptr);
    ~RunHistoryDlg() override;  // waits for a read under way (one bounded query)

  private:
    void Load(const std::string& port);
    void Show(unsigned generation, const std::vector<RunRecord>& runs, const std::string& error);

    std::string path_;
    QComboBox* port_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* message_ = nullptr;
    std::thread reader_;
    unsigned generation_ = 0;  // the newest read's; older reads' rows are dropped
};

}  // namespace tavlin
