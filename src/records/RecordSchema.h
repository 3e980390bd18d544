#pragma once
#include <sqlite3.h>

#include <cstdint>

namespace tavlin {

// Written as PRAGMA application_id into every station database, so that another program's SQLite
// file is told from ours before anything is written to it. "TAVL".
inline constexpr std::int32_t kRecordsApplicationId = 0x5441564C;

// PRAGMA user_version of the tables this build writes. A database of a higher version was made
// by a newer build: this one reads nothing from it and writes nothing to it.
inline constexpr int kRecordsSchemaVersion = 2;

// Brings the tables from `fromVersion` (0: an empty database) to kRecordsSchemaVersion, setting
// user_version. Called inside the caller's write transaction. SQLite's code.
int MigrateRecordSchema(sqlite3* db, int fromVersion);

}  // namespace tavlin
