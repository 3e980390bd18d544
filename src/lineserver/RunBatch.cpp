#include "lineserver/RunBatch.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "lineserver/ServerLink.h"

namespace tavlin::lineserver {
namespace {

using nlohmann::json;

template <typename T>
json OrNull(const std::optional<T>& value) {
    return value ? json(*value) : json(nullptr);
}

json Number(double value) {
    return std::isfinite(value) ? json(value) : json(nullptr);
}

json OrNullNumber(const std::optional<double>& value) {
    return value ? Number(*value) : json(nullptr);
}

// The batch travels as one JSON parameter: one round trip for any number of runs, and no text
// of a record is ever part of the statement.
json RunJson(const RunRecord& run) {
    json steps = json::array();
    for (const StepRecord& s : run.steps) {
        steps.push_back({s.name, s.startedMs, s.endedMs, s.outcome});
    }
    json measurements = json::array();
    for (const MeasurementRecord& m : run.measurements) {
        measurements.push_back({m.name, Number(m.value), m.unit, OrNullNumber(m.low),
                                OrNullNumber(m.high), m.outcome});
    }
    json artefacts = json::array();
    for (const ArtefactRecord& a : run.artefacts) {
        artefacts.push_back({a.kind, a.path, a.sha256, a.size});
    }
    json images = json::array();
    for (const ImageRecord& i : run.images) {
        images.push_back({i.section, i.sensor, i.size, i.sha256, i.versionWritten, i.verifyResult});
    }
    return {{"uuid", run.uuid},
            {"host", run.station.host},
            {"tool_version", run.station.toolVersion},
            {"command", run.command},
            {"arguments", run.arguments},
            {"started_ms", run.startedMs},
            {"ended_ms", OrNull(run.endedMs)},
            {"outcome", RunOutcomeName(run.outcome)},
            {"exit_status", OrNull(run.exitStatus)},
            {"reason", run.reason},
            {"operator", run.operatorName},
            {"lot", run.lot},
            {"pid", run.processId},
            {"process_start", run.processStart},
            {"port", run.unit.port},
            {"product_id", OrNull(run.unit.productId)},
            {"mode", OrNull(run.unit.mode)},
            {"versions_before", run.unit.versionsBefore},
            {"versions_after", run.unit.versionsAfter},
            {"steps", steps},
            {"measurements", measurements},
            {"artefacts", artefacts},
            {"images", images}};
}

// The details go in only with runs that were new: ON CONFLICT leaves them out of `fresh`.
constexpr const char* kInsert = R"sql(
WITH batch AS (SELECT r FROM jsonb_array_elements($1::jsonb) AS r),
fresh AS (
    INSERT INTO tavlin.run (uuid, station_host, tool_version, command, arguments, started_ms,
        ended_ms, outcome, exit_status, reason, operator, lot, pid, process_start)
    SELECT (r->>'uuid')::uuid, r->>'host', r->>'tool_version', r->>'command', r->'arguments',
        (r->>'started_ms')::bigint, (r->>'ended_ms')::bigint, r->>'outcome',
        (r->>'exit_status')::integer, r->>'reason', r->>'operator', r->>'lot',
        (r->>'pid')::bigint, r->>'process_start'
    FROM batch
    ON CONFLICT (uuid) DO NOTHING
    RETURNING id, uuid),
fresh_runs AS (SELECT fresh.id, batch.r FROM fresh JOIN batch ON (batch.r->>'uuid')::uuid = fresh.uuid),
units AS (
    INSERT INTO tavlin.unit (run_id, port, product_id, mode, versions_before, versions_after)
    SELECT id, r->>'port', (r->>'product_id')::bigint, (r->>'mode')::bigint,
        r->>'versions_before', r->>'versions_after'
    FROM fresh_runs),
steps AS (
    INSERT INTO tavlin.step (run_id, position, name, started_ms, ended_ms, outcome)
    SELECT id, n, d->>0, (d->>1)::bigint, (d->>2)::bigint, d->>3
    FROM fresh_runs, jsonb_array_elements(r->'steps') WITH ORDINALITY AS s(d, n)),
measurements AS (
    INSERT INTO tavlin.measurement (run_id, position, name, value, unit, low, high, outcome)
    SELECT id, n, d->>0, (d->>1)::double precision, d->>2, (d->>3)::double precision,
        (d->>4)::double precision, d->>5
    FROM fresh_runs, jsonb_array_elements(r->'measurements') WITH ORDINALITY AS m(d, n)),
artefacts AS (
    INSERT INTO tavlin.artefact (run_id, position, kind, path, sha256, size)
    SELECT id, n, d->>0, d->>1, d->>2, (d->>3)::bigint
    FROM fresh_runs, jsonb_array_elements(r->'artefacts') WITH ORDINALITY AS a(d, n)),
images AS (
    INSERT INTO tavlin.image (run_id, position, section, sensor, size, sha256, version_written,
        verify_result)
    SELECT id, n, d->>0, (d->>1)::bigint, (d->>2)::bigint, d->>3, d->>4, d->>5
    FROM fresh_runs, jsonb_array_elements(r->'images') WITH ORDINALITY AS i(d, n))
SELECT count(*) FROM fresh
)sql";

}  // namespace

Result InsertRuns(ServerLink& link, const std::vector<RunRecord>& runs, int* stored) {
    *stored = 0;
    json batch = json::array();
    for (const RunRecord& run : runs) {
        batch.push_back(RunJson(run));
    }
    std::vector<std::string> count;
    // Replacing invalid UTF-8 rather than throwing: a run's reason may quote a device's bytes.
    Result inserted =
        link.Execute(kInsert, {batch.dump(-1, ' ', false, json::error_handler_t::replace)}, &count);
    if (inserted && !count.empty()) {
        *stored = std::stoi(count[0]);
    }
    return inserted;
}

}  // namespace tavlin::lineserver
