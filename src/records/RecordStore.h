#pragma once
#include <sqlite3.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "records/RunRecord.h"

namespace tavlin {

// The station's database of unit records (SQLite, WAL, synchronous=FULL). Each process, and
// each thread, opens its own store; any number of them may write one file at once.
//
// A front end's run:
//   std::unique_ptr<RecordStore> store;
//   Result opened = RecordStore::Open(folder + "/" + RecordStore::kDefaultFileName, &store);
//   RunRecord record;  record.command = "update"; record.arguments = …; record.unit.port = …;
//   store->BeginRun(record);             // the row is there, 'running', record.uuid is set
//   … record.unit.port = …; store->UpdateRun(record);   // optional, once the unit is known
//   … record.steps / measurements / artefacts / images grow as the run goes …
//   record.outcome = RunOutcome::Passed; record.exitStatus = 0;
//   store->CompleteRun(record);          // one transaction; its commit is when the record counts
//   … then print the verdict.
// A failed Open or write says why in its Result; nothing is written to a file that is not a
// station database of this or an older schema.
class RecordStore {
  public:
    static constexpr const char* kDefaultFileName = "Tavlin_results.sqlite";

    struct Options {
        // How long a write waits for other processes' writes before it gives up (Busy).
        int busyTimeoutMs = 5000;
    };

    // Opens the station database at `path` (UTF-8), creating it when nothing is there, moving
    // an older schema forward, and marking as interrupted the runs of this computer whose
    // process has ended. *store is set on success only.
    static Result Open(const std::string& path, std::unique_ptr<RecordStore>* store);
    static Result Open(const std::string& path, const Options& options,
                       std::unique_ptr<RecordStore>* store);
    ~RecordStore();
    RecordStore(const RecordStore&) = delete;
    RecordStore& operator=(const RecordStore&) = delete;

    // Writes the run's row as 'running' with the station and unit as known so far. Sets
    // record.uuid, and the start time, host and process when the record leaves them empty.
    Result BeginRun(RunRecord& record);
    // Writes the unit, operator and lot learnt since BeginRun, so an interrupted run keeps them.
    Result UpdateRun(const RunRecord& record);
    // Writes the run's end (outcome, exit status, reason, unit and versions after), its steps,
    // measurements, artefacts and images, and queues it for upload: all in one transaction.
    // Sets record.endedMs when empty. The outcome must not be Running.
    Result CompleteRun(RunRecord& record);

    // Marks the 'running' runs of this computer whose process has ended (or whose id now names
    // another process) as interrupted. Open and BeginRun call it; *marked counts them.
    Result MarkInterruptedRuns(int* marked = nullptr);

    // A firmware update of run `runUuid` is about to ask the unit to restart: where it stands
    // and the package's files with their hashes, kept before anything on the unit changes.
    Result BeginUpdate(const std::string& runUuid, const UpdateProgress& progress);
    // The update of run `runUuid` moved on: its stage, image and packet (the files stay).
    Result NoteUpdateProgress(const std::string& runUuid, const UpdateProgress& progress);
    // The newest update on `port` (other than run `exceptUuid`, and not one still running) when it
    // did not pass and had begun: *found stays empty otherwise.
    Result UnfinishedUpdateOn(const std::string& port, const std::string& exceptUuid,
                              std::optional<UnfinishedUpdate>* found);

    struct Query {
        int limit = 20;
        std::string port;                     // empty: any port
        std::optional<std::int64_t> sinceMs;  // runs started at or after this
        bool withDetails = false;             // steps, measurements, artefacts and images too
    };
    // The newest runs first (in the order they were begun).
    Result LastRuns(const Query& query, std::vector<RunRecord>* runs);
    // One run with its unit, steps, measurements, artefacts and images; NotFound as BadInput.
    Result ReadRun(const std::string& uuid, RunRecord* run);

    struct OutboxEntry {
        std::string runUuid;
        std::int64_t queuedMs = 0;
    };
    // Completed runs not yet taken by the line's server, oldest first.
    Result PendingUploads(int limit, std::vector<OutboxEntry>* entries);
    Result RemoveFromOutbox(const std::string& runUuid);
    // A batch the server has taken, in one transaction: a thousand single removals would each
    // wait for their own sync.
    Result RemoveFromOutbox(const std::vector<std::string>& runUuids);
    // How many completed runs wait for the server.
    Result OutboxSize(std::int64_t* size);

    const std::string& path() const { return path_; }

  private:
    RecordStore(std::string path, sqlite3* db, const Options& options);
    Result Prepare();
    // Runs `body` in a write transaction (BEGIN IMMEDIATE), again while another writer holds the
    // file, up to the busy time-out. `what` names the write in a failure's reason.
    Result Write(const char* what, const std::function<int()>& body);
    Result Failure(const char* what, int rc) const;
    int StationId(const StationInfo& station, std::int64_t* id);
    int WriteUnit(const RunRecord& record);
    int WriteDetails(std::int64_t runId, const RunRecord& record);
    Result ReadDetails(std::int64_t runId, RunRecord* run);

    std::string path_;
    sqlite3* db_;
    Options options_;
    std::string host_;
};

}  // namespace tavlin
