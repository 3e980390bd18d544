#include "lineserver/ServerSchema.h"

#include <string>
#include <vector>

#include "lineserver/ServerLink.h"

namespace tavlin::lineserver {
namespace {

// Any number the line's other programs do not lock: the stations' one key for the tables.
constexpr const char* kLock = "SELECT pg_advisory_xact_lock(7366119054)";

// Parsed only once the table is known to be there.
constexpr const char* kHasVersion = "SELECT to_regclass('tavlin.schema_version') IS NOT NULL";
constexpr const char* kVersion =
    "SELECT coalesce(max(version)::text, '') FROM tavlin.schema_version";

// The station's record as the server keeps it: the same fields, the station (host and tool
// version) on the run, the details in their order on the station. Times are milliseconds since
// 1970-01-01 UTC, as in the station's database.
constexpr const char* kTables = R"sql(
CREATE SCHEMA IF NOT EXISTS tavlin;
CREATE TABLE IF NOT EXISTS tavlin.schema_version (version integer NOT NULL);
CREATE TABLE IF NOT EXISTS tavlin.run (
    id bigserial PRIMARY KEY,
    uuid uuid NOT NULL UNIQUE,
    station_host text NOT NULL,
    tool_version text NOT NULL,
    command text NOT NULL,
    arguments jsonb NOT NULL,
    started_ms bigint NOT NULL,
    ended_ms bigint,
    outcome text NOT NULL,
    exit_status integer,
    reason text NOT NULL,
    operator text NOT NULL,
    lot text NOT NULL,
    pid bigint NOT NULL,
    process_start text NOT NULL,
    received_at timestamptz NOT NULL DEFAULT now()
);
CREATE INDEX IF NOT EXISTS run_started ON tavlin.run (started_ms);
CREATE INDEX IF NOT EXISTS run_station ON tavlin.run (station_host, started_ms);
CREATE TABLE IF NOT EXISTS tavlin.unit (
    run_id bigint PRIMARY KEY REFERENCES tavlin.run (id) ON DELETE CASCADE,
    port text NOT NULL,
    product_id bigint,
    mode bigint,
    versions_before text NOT NULL,
    versions_after text NOT NULL
);
CREATE INDEX IF NOT EXISTS unit_port ON tavlin.unit (port);
CREATE TABLE IF NOT EXISTS tavlin.step (
    run_id bigint NOT NULL REFERENCES tavlin.run (id) ON DELETE CASCADE,
    position integer NOT NULL,
    name text NOT NULL,
    started_ms bigint NOT NULL,
    ended_ms bigint NOT NULL,
    outcome text NOT NULL,
    PRIMARY KEY (run_id, position)
);
CREATE TABLE IF NOT EXISTS tavlin.measurement (
    run_id bigint NOT NULL REFERENCES tavlin.run (id) ON DELETE CASCADE,
    position integer NOT NULL,
    name text NOT NULL,
    value double precision,
    unit text NOT NULL,
    low double precision,
    high double precision,
    outcome text NOT NULL,
    PRIMARY KEY (run_id, position)
);
CREATE TABLE IF NOT EXISTS tavlin.artefact (
    run_id bigint NOT NULL REFERENCES tavlin.run (id) ON DELETE CASCADE,
    position integer NOT NULL,
    kind text NOT NULL,
    path text NOT NULL,
    sha256 text NOT NULL,
    size bigint NOT NULL,
    PRIMARY KEY (run_id, position)
);
CREATE TABLE IF NOT EXISTS tavlin.image (
    run_id bigint NOT NULL REFERENCES tavlin.run (id) ON DELETE CASCADE,
    position integer NOT NULL,
    section text NOT NULL,
    sensor bigint NOT NULL,
    size bigint NOT NULL,
    sha256 text NOT NULL,
    version_written text NOT NULL,
    verify_result text NOT NULL,
    PRIMARY KEY (run_id, position)
);
)sql";

}  // namespace

Result PrepareServerSchema(ServerLink& link) {
    std::vector<std::string> version;
    Result done = link.Execute(std::string("BEGIN; ") + kLock);
    std::vector<std::string> hasVersion;
    if (done) {
        done = link.Execute(kHasVersion, {}, &hasVersion);
    }
    if (done && hasVersion == std::vector<std::string>{"t"}) {
        done = link.Execute(kVersion, {}, &version);
    }
    if (done && !version.empty() && !version[0].empty() &&
        version[0] != std::to_string(kServerSchemaVersion)) {
        (void)link.Execute("ROLLBACK");
        return Result::Fail(ResultCode::BadInput, "the server's tables are of version " +
                                                      version[0] +
                                                      ", this program writes version " +
                                                      std::to_string(kServerSchemaVersion));
    }
    if (done && (version.empty() || version[0].empty())) {
        done = link.Execute(std::string(kTables) +
                            "INSERT INTO tavlin.schema_version (version) SELECT " +
                            std::to_string(kServerSchemaVersion) +
                            " WHERE NOT EXISTS (SELECT FROM tavlin.schema_version)");
    }
    if (done) {
        done = link.Execute("COMMIT");
    }
    return done;
}

}  // namespace tavlin::lineserver
