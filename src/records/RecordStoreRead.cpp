// Reading records back: the newest runs, and one run whole.
#include <nlohmann/json.hpp>

#include "records/RecordStore.h"
#include "records/SqliteStatement.h"

namespace tavlin {

namespace {

// The run's own columns and its unit; column 0 is the run's row id.
constexpr const char* kRunColumns =
    "SELECT run.id, run.uuid, station.host, station.tool_version, run.command, run.arguments, "
    "run.started_ms, run.ended_ms, run.outcome, run.exit_status, run.reason, run.operator, "
    "run.lot, run.pid, run.process_start, unit.port, unit.product_id, unit.mode, "
    "unit.versions_before, unit.versions_after ";

RunRecord RunFromRow(const SqliteStatement& row) {
    RunRecord run;
    run.uuid = row.Text(1);
    run.station.host = row.Text(2);
    run.station.toolVersion = row.Text(3);
    run.command = row.Text(4);
    const auto arguments = nlohmann::json::parse(row.Text(5), nullptr, false);
    if (arguments.is_array()) {
        for (const auto& argument : arguments) {
            if (argument.is_string()) {
                run.arguments.push_back(argument.get<std::string>());
            }
        }
    }
    run.startedMs = row.Int(6);
    run.endedMs = row.OptionalInt(7);
    run.outcome = RunOutcomeFromName(row.Text(8)).value_or(RunOutcome::Running);
    if (const auto status = row.OptionalInt(9)) {
        run.exitStatus = static_cast<int>(*status);
    }
    run.reason = row.Text(10);
    run.operatorName = row.Text(11);
    run.lot = row.Text(12);
    run.processId = row.Int(13);
    run.processStart = row.Text(14);
    run.unit.port = row.Text(15);
    run.unit.productId = row.OptionalInt(16);
    run.unit.mode = row.OptionalInt(17);
    run.unit.versionsBefore = row.Text(18);
    run.unit.versionsAfter = row.Text(19);
    return run;
}

}  // namespace

Result RecordStore::LastRuns(const Query& query, std::vector<RunRecord>* runs) {
    runs->clear();
    // By port the unit's (port, run) index gives the newest first without a sort.
    std::string sql = std::string(kRunColumns) +
                      "FROM unit JOIN run ON run.id = unit.run_id "
                      "JOIN station ON station.id = run.station_id ";
    if (query.port.empty()) {
        sql += "WHERE run.started_ms >= ?2 ORDER BY run.id DESC LIMIT ?3";
    } else {
        sql += "WHERE unit.port = ?1 AND run.started_ms >= ?2 ORDER BY unit.run_id DESC LIMIT ?3";
    }
    std::vector<std::int64_t> ids;
    {
        SqliteStatement select(db_, sql.c_str());
        select.Bind(1, query.port);
        select.Bind(2, query.sinceMs.value_or(INT64_MIN));
        select.Bind(3, static_cast<std::int64_t>(query.limit));
        int rc;
        while ((rc = select.Step()) == SQLITE_ROW) {
            ids.push_back(select.Int(0));
            runs->push_back(RunFromRow(select));
        }
        if (rc != SQLITE_DONE) {
            runs->clear();
            return Failure("reading the last runs", rc);
        }
    }
    if (query.withDetails) {
        for (size_t i = 0; i < runs->size(); ++i) {
            if (Result read = ReadDetails(ids[i], &(*runs)[i]); !read) {
                runs->clear();
                return read;
            }
        }
    }
    return Result::Ok();
}

Result RecordStore::ReadRun(const std::string& uuid, RunRecord* run) {
    const std::string sql = std::string(kRunColumns) +
                            "FROM run JOIN station ON station.id = run.station_id "
                            "LEFT JOIN unit ON unit.run_id = run.id WHERE run.uuid = ?1";
    std::int64_t id = 0;
    {
        SqliteStatement select(db_, sql.c_str());
        select.Bind(1, uuid);
        const int rc = select.Step();
        if (rc == SQLITE_DONE) {
            return Result::Fail(ResultCode::BadInput, "no run " + uuid + " in " + path_);
        }
        if (rc != SQLITE_ROW) {
            return Failure("reading a run", rc);
        }
        id = select.Int(0);
        *run = RunFromRow(select);
    }
    return ReadDetails(id, run);
}

Result RecordStore::ReadDetails(std::int64_t runId, RunRecord* run) {
    int rc;
    SqliteStatement steps(
        db_, "SELECT name, started_ms, ended_ms, outcome FROM step WHERE run_id = ?1 ORDER BY id");
    steps.Bind(1, runId);
    while ((rc = steps.Step()) == SQLITE_ROW) {
        run->steps.push_back({steps.Text(0), steps.Int(1), steps.Int(2), steps.Text(3)});
    }
    if (rc != SQLITE_DONE) {
        return Failure("reading a run's steps", rc);
    }
    SqliteStatement measurements(db_,
                                 "SELECT name, value, unit, low, high, outcome FROM measurement "
                                 "WHERE run_id = ?1 ORDER BY id");
    measurements.Bind(1, runId);
    while ((rc = measurements.Step()) == SQLITE_ROW) {
        run->measurements.push_back({measurements.Text(0), measurements.Real(1),
                                     measurements.Text(2), measurements.OptionalReal(3),
                                     measurements.OptionalReal(4), measurements.Text(5)});
    }
    if (rc != SQLITE_DONE) {
        return Failure("reading a run's measurements", rc);
    }
    SqliteStatement artefacts(
        db_, "SELECT kind, path, sha256, size FROM artefact WHERE run_id = ?1 ORDER BY id");
    artefacts.Bind(1, runId);
    while ((rc = artefacts.Step()) == SQLITE_ROW) {
        run->artefacts.push_back(
            {artefacts.Text(0), artefacts.Text(1), artefacts.Text(2), artefacts.Int(3)});
    }
    if (rc != SQLITE_DONE) {
        return Failure("reading a run's artefacts", rc);
    }
    SqliteStatement images(db_,
                           "SELECT section, sensor, size, sha256, version_written, verify_result "
                           "FROM image WHERE run_id = ?1 ORDER BY id");
    images.Bind(1, runId);
    while ((rc = images.Step()) == SQLITE_ROW) {
        run->images.push_back({images.Text(0), images.Int(1), images.Int(2), images.Text(3),
                               images.Text(4), images.Text(5)});
    }
    if (rc != SQLITE_DONE) {
        return Failure("reading a run's images", rc);
    }
    return Result::Ok();
}

}  // namespace tavlin
