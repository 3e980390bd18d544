// How a run's record ends: completed by its own process, or marked interrupted by another.
#include <tuple>
#include <vector>

#include "platform/ProcessIdentity.h"
#include "records/RecordStore.h"
#include "records/RecordTime.h"
#include "records/SqliteStatement.h"

namespace tavlin {

namespace {

// One row per item: the run's id, then the item's fields in the statement's order.
template <typename Item, typename Fields>
int InsertEach(sqlite3* db, const char* sql, std::int64_t runId, const std::vector<Item>& items,
               Fields fields) {
    SqliteStatement statement(db, sql);
    for (const Item& item : items) {
        statement.Reset();
        statement.Bind(1, runId);
        int column = 2;
        std::apply([&](const auto&... value) { (statement.Bind(column++, value), ...); },
                   fields(item));
        if (const int rc = statement.Step(); rc != SQLITE_DONE) {
            return rc;
        }
    }
    return SQLITE_OK;
}

}  // namespace

int RecordStore::WriteDetails(std::int64_t runId, const RunRecord& record) {
    int rc = InsertEach(db_,
                        "INSERT INTO step (run_id, name, started_ms, ended_ms, outcome) "
                        "VALUES (?1, ?2, ?3, ?4, ?5)",
                        runId, record.steps, [](const StepRecord& s) {
                            return std::tie(s.name, s.startedMs, s.endedMs, s.outcome);
                        });
    if (rc == SQLITE_OK) {
        rc = InsertEach(db_,
                        "INSERT INTO measurement (run_id, name, value, unit, low, high, outcome) "
                        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)",
                        runId, record.measurements, [](const MeasurementRecord& m) {
                            return std::tie(m.name, m.value, m.unit, m.low, m.high, m.outcome);
                        });
    }
    if (rc == SQLITE_OK) {
        rc = InsertEach(db_,
                        "INSERT INTO artefact (run_id, kind, path, sha256, size) "
                        "VALUES (?1, ?2, ?3, ?4, ?5)",
                        runId, record.artefacts, [](const ArtefactRecord& a) {
                            return std::tie(a.kind, a.path, a.sha256, a.size);
                        });
    }
    if (rc == SQLITE_OK) {
        rc = InsertEach(db_,
                        "INSERT INTO image (run_id, section, sensor, size, sha256, "
                        "version_written, verify_result) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)",
                        runId, record.images, [](const ImageRecord& i) {
                            return std::tie(i.section, i.sensor, i.size, i.sha256, i.versionWritten,
                                            i.verifyResult);
                        });
    }
    return rc;
}

Result RecordStore::CompleteRun(RunRecord& record) {
    if (record.outcome == RunOutcome::Running) {
        return Result::Fail(ResultCode::BadInput, "a run is completed with its outcome");
    }
    if (!record.endedMs) {
        record.endedMs = NowUnixMs();
    }
    bool notRunning = false;
    Result written = Write("recording the run's end", [&] {
        SqliteStatement update(
            db_,
            "UPDATE run SET ended_ms = ?2, outcome = ?3, exit_status = ?4, reason = ?5, "
            "operator = ?6, lot = ?7 WHERE uuid = ?1 AND outcome = 'running' RETURNING id");
        update.Bind(1, record.uuid);
        update.Bind(2, *record.endedMs);
        update.Bind(3, std::string(RunOutcomeName(record.outcome)));
        update.Bind(4, record.exitStatus ? std::optional<std::int64_t>(*record.exitStatus)
                                         : std::optional<std::int64_t>());
        update.Bind(5, record.reason);
        update.Bind(6, record.operatorName);
        update.Bind(7, record.lot);
        int rc = update.Step();
        if (rc == SQLITE_DONE) {
            notRunning = true;
            return SQLITE_NOTFOUND;
        }
        if (rc != SQLITE_ROW) {
            return rc;
        }
        const std::int64_t runId = update.Int(0);
        if (update.Step() != SQLITE_DONE) {
            return SQLITE_ERROR;
        }
        if (rc = WriteUnit(record); rc != SQLITE_OK) {
            return rc;
        }
        if (rc = WriteDetails(runId, record); rc != SQLITE_OK) {
            return rc;
        }
        SqliteStatement queue(db_, "INSERT INTO outbox (run_uuid, queued_ms) VALUES (?1, ?2)");
        queue.Bind(1, record.uuid);
        queue.Bind(2, *record.endedMs);
        rc = queue.Step();
        return rc == SQLITE_DONE ? SQLITE_OK : rc;
    });
    if (notRunning) {
        return Result::Fail(ResultCode::BadInput, "run " + record.uuid + " in " + path_ +
                                                      " was not begun or has ended already");
    }
    return written;
}

Result RecordStore::MarkInterruptedRuns(int* marked) {
    if (marked) {
        *marked = 0;
    }
    std::vector<std::int64_t> ended;
    {
        SqliteStatement running(db_,
                                "SELECT run.id, run.pid, run.process_start FROM run "
                                "JOIN station ON station.id = run.station_id "
                                "WHERE run.outcome = 'running' AND station.host = ?1");
        running.Bind(1, host_);
        int rc;
        while ((rc = running.Step()) == SQLITE_ROW) {
            const std::string identity = ProcessStartIdentity(running.Int(1));
            if (identity.empty() || identity != running.Text(2)) {
                ended.push_back(running.Int(0));
            }
        }
        if (rc != SQLITE_DONE) {
            return Failure("looking for interrupted runs", rc);
        }
    }
    if (ended.empty()) {
        return Result::Ok();
    }
    int count = 0;
    Result written = Write("marking interrupted runs", [&] {
        count = 0;
        SqliteStatement mark(db_,
                             "UPDATE run SET outcome = 'interrupted', "
                             "reason = 'its process ended before the run did' "
                             "WHERE id = ?1 AND outcome = 'running'");
        for (std::int64_t id : ended) {
            mark.Reset();
            mark.Bind(1, id);
            if (const int rc = mark.Step(); rc != SQLITE_DONE) {
                return rc;
            }
            count += sqlite3_changes(db_);
        }
        return SQLITE_OK;
    });
    if (written && marked) {
        *marked = count;
    }
    return written;
}

Result RecordStore::PendingUploads(int limit, std::vector<OutboxEntry>* entries) {
    entries->clear();
    SqliteStatement select(
        db_, "SELECT run_uuid, queued_ms FROM outbox ORDER BY queued_ms, rowid LIMIT ?1");
    select.Bind(1, static_cast<std::int64_t>(limit));
    int rc;
    while ((rc = select.Step()) == SQLITE_ROW) {
        entries->push_back({select.Text(0), select.Int(1)});
    }
    return rc == SQLITE_DONE ? Result::Ok() : Failure("reading the outbox", rc);
}

Result RecordStore::RemoveFromOutbox(const std::string& runUuid) {
    return Write("emptying the outbox", [&] {
        SqliteStatement remove(db_, "DELETE FROM outbox WHERE run_uuid = ?1");
        remove.Bind(1, runUuid);
        const int rc = remove.Step();
        return rc == SQLITE_DONE ? SQLITE_OK : rc;
    });
}

Result RecordStore::RemoveFromOutbox(const std::vector<std::string>& runUuids) {
    if (runUuids.empty()) {
        return Result::Ok();
    }
    return Write("emptying the outbox", [&] {
        SqliteStatement remove(db_, "DELETE FROM outbox WHERE run_uuid = ?1");
        for (const std::string& uuid : runUuids) {
            remove.Reset();
            remove.Bind(1, uuid);
            if (const int rc = remove.Step(); rc != SQLITE_DONE) {
                return rc;
            }
        }
        return SQLITE_OK;
    });
}

Result RecordStore::OutboxSize(std::int64_t* size) {
    *size = 0;
    SqliteStatement count(db_, "SELECT count(*) FROM outbox");
    const int rc = count.Step();
    if (rc != SQLITE_ROW) {
        return Failure("reading the outbox", rc);
    }
    *size = count.Int(0);
    return Result::Ok();
}

}  // namespace tavlin
