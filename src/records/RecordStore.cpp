#include "records/RecordStore.h"

#include <chrono>
#include <nlohmann/json.hpp>
#include <thread>

#include "platform/ProcessIdentity.h"
#include "records/RecordSchema.h"
#include "records/RecordTime.h"
#include "records/RunUuid.h"
#include "records/SqliteStatement.h"
#include "records/StoreFile.h"

namespace tavlin {

namespace {

bool IsBusy(int rc) {
    const int primary = rc & 0xFF;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

Result Damaged(const std::string& path, sqlite3* db) {
    return Result::Fail(ResultCode::BadInput, path + " is a damaged station database (" +
                                                  sqlite3_errmsg(db) + "); it was left as it is");
}

}  // namespace

RecordStore::RecordStore(std::string path, sqlite3* db, const Options& options)
    : path_(std::move(path)), db_(db), options_(options), host_(HostName()) {}

RecordStore::~RecordStore() {
    sqlite3_close(db_);
}

Result RecordStore::Open(const std::string& path, std::unique_ptr<RecordStore>* store) {
    return Open(path, Options(), store);
}

Result RecordStore::Open(const std::string& path, const Options& options,
                         std::unique_ptr<RecordStore>* store) {
    bool exists = false;
    if (Result checked = CheckStoreFile(path, &exists); !checked) {
        return checked;
    }
    if (!exists) {
        bool created = false;
        if (Result made = CreateStoreFile(path, &created); !made) {
            return made;
        }
        if (Result checked = CheckStoreFile(path, &exists); !checked) {
            return checked;
        }
    }
    sqlite3* db = nullptr;
    // Without SQLITE_OPEN_CREATE: a file that went away since the check is not made anew here.
    const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close(db);
        return Result::Fail(ResultCode::NoAccess, path + " cannot be opened: " + message);
    }
    std::unique_ptr<RecordStore> opened(new RecordStore(path, db, options));
    if (Result prepared = opened->Prepare(); !prepared) {
        return prepared;
    }
    // Another process holding the file for long must not keep this one from recording: the
    // next BeginRun tries again.
    (void)opened->MarkInterruptedRuns();
    *store = std::move(opened);
    return Result::Ok();
}

Result RecordStore::Prepare() {
    if (sqlite3_db_readonly(db_, "main") == 1) {
        return Result::Fail(ResultCode::NoAccess,
                            path_ + " is read-only: no record can be written to it");
    }
    sqlite3_busy_timeout(db_, options_.busyTimeoutMs);
    int rc = SQLITE_OK;
    const std::int64_t applicationId = SqliteQueryInt(db_, "PRAGMA application_id", &rc);
    if (rc != SQLITE_OK) {
        return IsBusy(rc) ? Failure("opening", rc) : Damaged(path_, db_);
    }
    if (applicationId != kRecordsApplicationId) {
        return Result::Fail(ResultCode::BadInput,
                            path_ + " is another program's SQLite database; it was left as it is");
    }
    const std::int64_t version = SqliteQueryInt(db_, "PRAGMA user_version", &rc);
    if (rc != SQLITE_OK) {
        return IsBusy(rc) ? Failure("opening", rc) : Damaged(path_, db_);
    }
    if (version > kRecordsSchemaVersion) {
        return Result::Fail(ResultCode::BadInput,
                            path_ + " was written by a newer Tavlin (records schema " +
                                std::to_string(version) + ", this one knows up to " +
                                std::to_string(kRecordsSchemaVersion) +
                                "); nothing was written to it");
    }
    {
        SqliteStatement mode(db_, "PRAGMA journal_mode");
        rc = mode.Step();
        const bool wal = rc == SQLITE_ROW && mode.Text(0) == "wal";
        mode.Reset();
        if (rc == SQLITE_ROW && !wal) {
            SqliteStatement toWal(db_, "PRAGMA journal_mode = WAL");
            rc = toWal.Step();
        }
        if (rc != SQLITE_ROW) {
            return Failure("switching to the write-ahead log", rc);
        }
    }
    rc = SqliteExecute(db_, "PRAGMA synchronous = FULL; PRAGMA foreign_keys = ON");
    if (rc != SQLITE_OK) {
        return Failure("opening", rc);
    }
    if (version < kRecordsSchemaVersion) {
        // Read again under the write lock: another process may have moved it on meanwhile.
        Result migrated = Write("updating the tables", [this] {
            int rc = SQLITE_OK;
            const std::int64_t now = SqliteQueryInt(db_, "PRAGMA user_version", &rc);
            if (rc != SQLITE_OK || now >= kRecordsSchemaVersion) {
                return rc;
            }
            return MigrateRecordSchema(db_, static_cast<int>(now));
        });
        if (!migrated) {
            return migrated;
        }
    }
    const std::int64_t tables = SqliteQueryInt(
        db_,
        "SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND name IN "
        "('station', 'run', 'unit', 'step', 'measurement', 'artefact', 'image', 'outbox', "
        "'update_progress', 'update_file')",
        &rc);
    if (rc != SQLITE_OK) {
        return IsBusy(rc) ? Failure("opening", rc) : Damaged(path_, db_);
    }
    if (tables != 10) {
        return Result::Fail(ResultCode::BadInput,
                            path_ + " is a damaged station database (tables are missing)");
    }
    return Result::Ok();
}

Result RecordStore::Failure(const char* what, int rc) const {
    const std::string message = std::string(what) + " in " + path_ + ": ";
    switch (rc & 0xFF) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return Result::Fail(ResultCode::Busy,
                                message +
                                    "another program kept the database locked for more "
                                    "than " +
                                    std::to_string(options_.busyTimeoutMs) + " ms");
        case SQLITE_FULL:
            return Result::Fail(ResultCode::IoError, message + "the disk is full");
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_CANTOPEN:
            return Result::Fail(ResultCode::NoAccess, message + "the database cannot be written");
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return Result::Fail(ResultCode::BadInput, message + "the database is damaged");
        default:
            return Result::Fail(ResultCode::IoError, message + sqlite3_errstr(rc));
    }
}

Result RecordStore::Write(const char* what, const std::function<int()>& body) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(options_.busyTimeoutMs);
    for (;;) {
        int rc = SqliteExecute(db_, "BEGIN IMMEDIATE");
        if (rc == SQLITE_OK) {
            rc = body();
            if (rc == SQLITE_OK) {
                rc = SqliteExecute(db_, "COMMIT");
            }
        }
        if (rc == SQLITE_OK) {
            return Result::Ok();
        }
        if (!sqlite3_get_autocommit(db_)) {
            SqliteExecute(db_, "ROLLBACK");
        }
        // The busy handler has waited already; a lock that a reader's snapshot still needs is
        // not waited for by it, so such a write is begun afresh.
        if (IsBusy(rc) && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            continue;
        }
        return Failure(what, rc);
    }
}

int RecordStore::StationId(const StationInfo& station, std::int64_t* id) {
    SqliteStatement insert(db_,
                           "INSERT OR IGNORE INTO station (host, tool_version) VALUES (?1, ?2)");
    insert.Bind(1, station.host);
    insert.Bind(2, station.toolVersion);
    if (const int rc = insert.Step(); rc != SQLITE_DONE) {
        return rc;
    }
    SqliteStatement select(db_, "SELECT id FROM station WHERE host = ?1 AND tool_version = ?2");
    select.Bind(1, station.host);
    select.Bind(2, station.toolVersion);
    if (const int rc = select.Step(); rc != SQLITE_ROW) {
        return rc;
    }
    *id = select.Int(0);
    return SQLITE_OK;
}

Result RecordStore::BeginRun(RunRecord& record) {
    if (record.uuid.empty()) {
        record.uuid = NewRunUuid();
    }
    if (record.startedMs == 0) {
        record.startedMs = NowUnixMs();
    }
    if (record.processId == 0) {
        record.processId = CurrentProcessId();
    }
    if (record.processStart.empty()) {
        record.processStart = ProcessStartIdentity(record.processId);
    }
    if (record.station.host.empty()) {
        record.station.host = host_;
    }
    record.outcome = RunOutcome::Running;
    record.endedMs.reset();
    (void)MarkInterruptedRuns();
    return Write("recording the run's start", [&] {
        std::int64_t stationId = 0;
        if (const int rc = StationId(record.station, &stationId); rc != SQLITE_OK) {
            return rc;
        }
        SqliteStatement insert(
            db_,
            "INSERT INTO run (uuid, station_id, command, arguments, started_ms, outcome, reason, "
            "operator, lot, pid, process_start) "
            "VALUES (?1, ?2, ?3, ?4, ?5, 'running', ?6, ?7, ?8, ?9, ?10)");
        insert.Bind(1, record.uuid);
        insert.Bind(2, stationId);
        insert.Bind(3, record.command);
        insert.Bind(4, nlohmann::json(record.arguments).dump());
        insert.Bind(5, record.startedMs);
        insert.Bind(6, record.reason);
        insert.Bind(7, record.operatorName);
        insert.Bind(8, record.lot);
        insert.Bind(9, record.processId);
        insert.Bind(10, record.processStart);
        if (const int rc = insert.Step(); rc != SQLITE_DONE) {
            return rc;
        }
        SqliteStatement unit(db_, "INSERT INTO unit (run_id, port) VALUES (?1, '')");
        unit.Bind(1, static_cast<std::int64_t>(sqlite3_last_insert_rowid(db_)));
        if (const int rc = unit.Step(); rc != SQLITE_DONE) {
            return rc;
        }
        return WriteUnit(record);
    });
}

int RecordStore::WriteUnit(const RunRecord& record) {
    SqliteStatement update(
        db_,
        "UPDATE unit SET port = ?2, product_id = ?3, mode = ?4, versions_before = ?5, "
        "versions_after = ?6 WHERE run_id = (SELECT id FROM run WHERE uuid = ?1)");
    update.Bind(1, record.uuid);
    update.Bind(2, record.unit.port);
    update.Bind(3, record.unit.productId);
    update.Bind(4, record.unit.mode);
    update.Bind(5, record.unit.versionsBefore);
    update.Bind(6, record.unit.versionsAfter);
    const int rc = update.Step();
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

Result RecordStore::UpdateRun(const RunRecord& record) {
    return Write("recording the unit", [&] {
        SqliteStatement update(db_, "UPDATE run SET operator = ?2, lot = ?3 WHERE uuid = ?1");
        update.Bind(1, record.uuid);
        update.Bind(2, record.operatorName);
        update.Bind(3, record.lot);
        if (const int rc = update.Step(); rc != SQLITE_DONE) {
            return rc;
        }
        return WriteUnit(record);
    });
}

}  // namespace tavlin
