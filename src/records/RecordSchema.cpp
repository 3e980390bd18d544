#include "records/RecordSchema.h"

#include <string>

#include "records/SqliteStatement.h"

namespace tavlin {

namespace {

// One entry per version step: kMigrations[n] takes a database from version n to n + 1. A shipped
// entry is never changed; a new column or table is a new entry.
// Times are INTEGER milliseconds since 1970-01-01 UTC; measured values and limits are REAL.
const char* const kMigrations[] = {
    R"sql(
CREATE TABLE station (
    id INTEGER PRIMARY KEY,
    host TEXT NOT NULL,
    tool_version TEXT NOT NULL,
    UNIQUE (host, tool_version)
);
CREATE TABLE run (
    id INTEGER PRIMARY KEY,
    uuid TEXT NOT NULL UNIQUE,
    station_id INTEGER NOT NULL REFERENCES station (id),
    command TEXT NOT NULL,
    arguments TEXT NOT NULL,
    started_ms INTEGER NOT NULL,
    ended_ms INTEGER,
    outcome TEXT NOT NULL
        CHECK (outcome IN ('running', 'passed', 'failed', 'interrupted', 'stopped')),
    exit_status INTEGER,
    reason TEXT NOT NULL DEFAULT '',
    operator TEXT NOT NULL DEFAULT '',
    lot TEXT NOT NULL DEFAULT '',
    pid INTEGER NOT NULL,
    process_start TEXT NOT NULL
);
CREATE INDEX run_started ON run (started_ms);
CREATE INDEX run_running ON run (station_id) WHERE outcome = 'running';
CREATE TABLE unit (
    id INTEGER PRIMARY KEY,
    run_id INTEGER NOT NULL UNIQUE REFERENCES run (id) ON DELETE CASCADE,
    port TEXT NOT NULL,
    product_id INTEGER,
    mode INTEGER,
    versions_before TEXT NOT NULL DEFAULT '',
    versions_after TEXT NOT NULL DEFAULT ''
);
CREATE INDEX unit_port ON unit (port, run_id);
CREATE TABLE step (
    id INTEGER PRIMARY KEY,
    run_id INTEGER NOT NULL REFERENCES run (id) ON DELETE CASCADE,
    name TEXT NOT NULL,
    started_ms INTEGER NOT NULL,
    ended_ms INTEGER NOT NULL,
    outcome TEXT NOT NULL
);
CREATE INDEX step_run ON step (run_id);
CREATE TABLE measurement (
    id INTEGER PRIMARY KEY,
    run_id INTEGER NOT NULL REFERENCES run (id) ON DELETE CASCADE,
    name TEXT NOT NULL,
    value REAL,
    unit TEXT NOT NULL,
    low REAL,
    high REAL,
    outcome TEXT NOT NULL
);
CREATE INDEX measurement_run ON measurement (run_id);
CREATE TABLE artefact (
    id INTEGER PRIMARY KEY,
    run_id INTEGER NOT NULL REFERENCES run (id) ON DELETE CASCADE,
    kind TEXT NOT NULL,
    path TEXT NOT NULL,
    sha256 TEXT NOT NULL,
    size INTEGER NOT NULL
);
CREATE INDEX artefact_run ON artefact (run_id);
CREATE TABLE image (
    id INTEGER PRIMARY KEY,
    run_id INTEGER NOT NULL REFERENCES run (id) ON DELETE CASCADE,
    section TEXT NOT NULL,
    sensor INTEGER NOT NULL,
    size INTEGER NOT NULL,
    sha256 TEXT NOT NULL,
    version_written TEXT NOT NULL,
    verify_result TEXT NOT NULL
);
CREATE INDEX image_run ON image (run_id);
CREATE TABLE outbox (
    run_uuid TEXT PRIMARY KEY REFERENCES run (uuid),
    queued_ms INTEGER NOT NULL
);
)sql",
    // Where each update stood, written while it runs: a cut unit's next run finds it here.
    R"sql(
CREATE TABLE update_progress (
    run_id INTEGER PRIMARY KEY REFERENCES run (id) ON DELETE CASCADE,
    package TEXT NOT NULL,
    folder TEXT NOT NULL,
    package_sha256 TEXT NOT NULL,
    stage TEXT NOT NULL CHECK (stage IN ('restart-in', 'image', 'restart-out')),
    image TEXT NOT NULL DEFAULT '',
    image_number INTEGER NOT NULL DEFAULT 0,
    image_count INTEGER NOT NULL DEFAULT 0,
    packet INTEGER NOT NULL DEFAULT 0,
    updated_ms INTEGER NOT NULL
);
CREATE TABLE update_file (
    id INTEGER PRIMARY KEY,
    run_id INTEGER NOT NULL REFERENCES update_progress (run_id) ON DELETE CASCADE,
    path TEXT NOT NULL,
    sha256 TEXT NOT NULL,
    size INTEGER NOT NULL
);
CREATE INDEX update_file_run ON update_file (run_id);
)sql",
};

static_assert(sizeof kMigrations / sizeof kMigrations[0] == kRecordsSchemaVersion);

}  // namespace

int MigrateRecordSchema(sqlite3* db, int fromVersion) {
    for (int version = fromVersion; version < kRecordsSchemaVersion; ++version) {
        if (const int rc = SqliteExecute(db, kMigrations[version]); rc != SQLITE_OK) {
            return rc;
        }
    }
    const std::string setVersion = "PRAGMA user_version = " + std::to_string(kRecordsSchemaVersion);
    return SqliteExecute(db, setVersion.c_str());
}

}  // namespace tavlin
