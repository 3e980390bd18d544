// Where a firmware update stands: written while it runs, read by the next run on the port.
#include "records/RecordStore.h"
#include "records/RecordTime.h"
#include "records/SqliteStatement.h"

namespace tavlin {

namespace {

int WriteFiles(sqlite3* db, std::int64_t runId, const std::vector<ArtefactRecord>& files) {
    SqliteStatement clear(db, "DELETE FROM update_file WHERE run_id = ?1");
    clear.Bind(1, runId);
    if (const int rc = clear.Step(); rc != SQLITE_DONE) {
        return rc;
    }
    SqliteStatement insert(db,
                           "INSERT INTO update_file (run_id, path, sha256, size) "
                           "VALUES (?1, ?2, ?3, ?4)");
    for (const ArtefactRecord& file : files) {
        insert.Reset();
        insert.Bind(1, runId);
        insert.Bind(2, file.path);
        insert.Bind(3, file.sha256);
        insert.Bind(4, file.size);
        if (const int rc = insert.Step(); rc != SQLITE_DONE) {
            return rc;
        }
    }
    return SQLITE_OK;
}

// Where the update stands, from parameter `first` on: stage, image, its number, how many, the
// packet, and the time of this writing.
void BindPlace(SqliteStatement& statement, int first, const UpdateProgress& progress) {
    statement.Bind(first, progress.stage);
    statement.Bind(first + 1, progress.image);
    statement.Bind(first + 2, static_cast<std::int64_t>(progress.imageNumber));
    statement.Bind(first + 3, static_cast<std::int64_t>(progress.imageCount));
    statement.Bind(first + 4, progress.packet);
    statement.Bind(first + 5, NowUnixMs());
}

int RunIdOf(sqlite3* db, const std::string& uuid, std::int64_t* id) {
    SqliteStatement select(db, "SELECT id FROM run WHERE uuid = ?1");
    select.Bind(1, uuid);
    const int rc = select.Step();
    if (rc == SQLITE_ROW) {
        *id = select.Int(0);
        return SQLITE_OK;
    }
    // A run that is not there cannot have its update kept: say so rather than write nothing.
    return rc == SQLITE_DONE ? SQLITE_NOTFOUND : rc;
}

}  // namespace

Result RecordStore::BeginUpdate(const std::string& runUuid, const UpdateProgress& progress) {
    return Write("recording the update's start", [&] {
        std::int64_t runId = 0;
        if (const int rc = RunIdOf(db_, runUuid, &runId); rc != SQLITE_OK) {
            return rc;
        }
        SqliteStatement insert(
            db_,
            "INSERT OR REPLACE INTO update_progress (run_id, package, folder, package_sha256, "
            "stage, image, image_number, image_count, packet, updated_ms) "
            "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
        insert.Bind(1, runId);
        insert.Bind(2, progress.package);
        insert.Bind(3, progress.folder);
        insert.Bind(4, progress.packageSha256);
        BindPlace(insert, 5, progress);
        if (const int rc = insert.Step(); rc != SQLITE_DONE) {
            return rc;
        }
        return WriteFiles(db_, runId, progress.files);
    });
}

Result RecordStore::NoteUpdateProgress(const std::string& runUuid, const UpdateProgress& progress) {
    return Write("recording the update's progress", [&] {
        SqliteStatement update(
            db_,
            "UPDATE update_progress SET stage = ?2, image = ?3, image_number = ?4, "
            "image_count = ?5, packet = ?6, updated_ms = ?7 "
            "WHERE run_id = (SELECT id FROM run WHERE uuid = ?1)");
        update.Bind(1, runUuid);
        BindPlace(update, 2, progress);
        if (const int rc = update.Step(); rc != SQLITE_DONE) {
            return rc;
        }
        return sqlite3_changes(db_) == 1 ? SQLITE_OK : SQLITE_NOTFOUND;
    });
}

Result RecordStore::UnfinishedUpdateOn(const std::string& port, const std::string& exceptUuid,
                                       std::optional<UnfinishedUpdate>* found) {
    found->reset();
    // Runs still going (another process at the unit now) are no verdict on it; those whose
    // process has ended were marked interrupted when this store opened.
    SqliteStatement select(
        db_,
        "SELECT run.id, run.uuid, run.outcome, run.started_ms, p.run_id, p.package, p.folder, "
        "p.package_sha256, p.stage, p.image, p.image_number, p.image_count, p.packet "
        "FROM unit JOIN run ON run.id = unit.run_id "
        "LEFT JOIN update_progress p ON p.run_id = run.id "
        "WHERE unit.port = ?1 AND run.command = 'update' AND run.outcome <> 'running' "
        "AND run.uuid <> ?2 ORDER BY unit.run_id DESC LIMIT 1");
    select.Bind(1, port);
    select.Bind(2, exceptUuid);
    const int rc = select.Step();
    if (rc == SQLITE_DONE) {
        return Result::Ok();
    }
    if (rc != SQLITE_ROW) {
        return Failure("reading the unit's last update", rc);
    }
    const std::optional<RunOutcome> outcome = RunOutcomeFromName(select.Text(2));
    // Passed, or ended before it asked anything of the unit (a refused package, no device).
    if (outcome == RunOutcome::Passed || select.IsNull(4)) {
        return Result::Ok();
    }
    UnfinishedUpdate update;
    update.runUuid = select.Text(1);
    update.outcome = outcome.value_or(RunOutcome::Failed);
    update.startedMs = select.Int(3);
    UpdateProgress& progress = update.progress;
    progress.package = select.Text(5);
    progress.folder = select.Text(6);
    progress.packageSha256 = select.Text(7);
    progress.stage = select.Text(8);
    progress.image = select.Text(9);
    progress.imageNumber = static_cast<int>(select.Int(10));
    progress.imageCount = static_cast<int>(select.Int(11));
    progress.packet = select.Int(12);
    SqliteStatement files(
        db_, "SELECT path, sha256, size FROM update_file WHERE run_id = ?1 ORDER BY id");
    files.Bind(1, select.Int(0));
    int fileRc;
    while ((fileRc = files.Step()) == SQLITE_ROW) {
        progress.files.push_back({"package", files.Text(0), files.Text(1), files.Int(2)});
    }
    if (fileRc != SQLITE_DONE) {
        return Failure("reading the unit's last update", fileRc);
    }
    *found = std::move(update);
    return Result::Ok();
}

}  // namespace tavlin
