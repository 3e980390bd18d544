#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/RunOptions.h"
#include "cli/RunReport.h"

namespace tavlin {
class RecordStore;
struct LoadedPackage;
class RecordedUpdateJournal;
class UpdateJournal;
struct RunRecord;
}  // namespace tavlin

namespace tavlin::cli {

// The station database a run keeps its record in: --results FILE, else Tavlin_results.sqlite in
// the log folder (--log-dir, else the current folder); empty with --results none, and in a build
// without SQLite.
std::string RecordPathFor(const RunOptions& options);

// The last update on `port` when it did not end, from the station database (nothing with records
// off, in a build without them, or when the database is not there). False, with the reason, when
// the database cannot be read.
bool FindUnfinishedUpdate(const RunOptions& options, const std::string& port,
                          std::optional<RunReport::InterruptedUpdate>* found,
                          std::vector<RunReport::PackageFile>* files, std::string* reason);

// How `package` differs from the `recorded` files of an unfinished update (FindUnfinishedUpdate);
// empty when it is the same.
std::string DifferenceFromRecorded(const std::vector<RunReport::PackageFile>& recorded,
                                   const LoadedPackage& package);

// One device run's record: written as running before the session starts, completed with what
// the run found out before the run tells its verdict. A record that cannot be kept costs the run
// nothing but the record: it is told on stderr, in the log and in the report.
class UnitRecord {
  public:
    UnitRecord(const RunOptions& options, std::string command, std::vector<std::string> arguments);
    ~UnitRecord();
    UnitRecord(const UnitRecord&) = delete;
    UnitRecord& operator=(const UnitRecord&) = delete;

    // The run starts on the device at `port` (empty: not known yet).
    void Begin(const std::string& port);
    // The run reads `path` (a register script, an FPGA file): its record keeps the file's hash
    // and size as read now, under `kind`.
    void KeepInput(const char* kind, const std::string& path);
    // Where an update keeps its progress under this run's record; null when no record is kept.
    UpdateJournal* Journal();
    // The run ended with `status`: the record is completed and report->record tells where it
    // went, or why it was not kept. False when a record was asked for and not kept.
    bool Complete(int status, RunReport* report);

  private:
    void Lose(const std::string& reason);

    std::string path_;
    std::unique_ptr<RunRecord> record_;
    std::unique_ptr<RecordStore> store_;
    std::unique_ptr<RecordedUpdateJournal> journal_;
    std::string lost_;  // why the record is not kept; empty while it is
};

}  // namespace tavlin::cli
