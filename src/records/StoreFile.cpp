#include "records/StoreFile.h"

#include <sqlite3.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "records/RecordSchema.h"
#include "records/RunUuid.h"
#include "records/SqliteStatement.h"

namespace tavlin {

namespace {

namespace fs = std::filesystem;

constexpr size_t kHeaderSize = 100;
constexpr char kMagic[] = "SQLite format 3";  // with its terminating zero: 16 bytes

std::uint32_t BigEndian(const std::array<unsigned char, kHeaderSize>& header, size_t at,
                        size_t bytes) {
    std::uint32_t value = 0;
    for (size_t i = 0; i < bytes; ++i) {
        value = (value << 8) | header[at + i];
    }
    return value;
}

Result Refuse(const std::string& path, const std::string& why) {
    return Result::Fail(ResultCode::BadInput,
                        path + " " + why + "; it was left as it is (give another file name)");
}

// The header is read through SQLite's own file layer, never with a descriptor of our own: on
// POSIX, closing any descriptor of a file drops every lock this process holds on it, so another
// store of this process (an update's progress beside its run's record, the window's threads)
// would lose its locks, and another process could then write over what it is writing.
bool ReadHeader(const std::string& path, unsigned char* header, size_t size) {
    sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
    if (vfs == nullptr) {
        return false;
    }
    std::vector<unsigned char> storage(static_cast<size_t>(vfs->szOsFile));
    auto* file = reinterpret_cast<sqlite3_file*>(storage.data());
    int flags = 0;
    if (vfs->xOpen(vfs, path.c_str(), file, SQLITE_OPEN_READONLY | SQLITE_OPEN_MAIN_DB, &flags) !=
        SQLITE_OK) {
        // A layer may leave its methods set on a failed open; then it is to be closed.
        if (file->pMethods != nullptr) {
            file->pMethods->xClose(file);
        }
        return false;
    }
    const int rc = file->pMethods->xRead(file, header, static_cast<int>(size), 0);
    file->pMethods->xClose(file);
    return rc == SQLITE_OK;
}

bool HasWriteAheadLog(const std::string& path) {
    std::error_code error;
    const auto size = fs::file_size(fs::u8path(path + "-wal"), error);
    return !error && size > 0;
}

}  // namespace

Result CheckStoreFile(const std::string& path, bool* exists) {
    *exists = false;
    const fs::path file = fs::u8path(path);
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (status.type() == fs::file_type::not_found) {
        return Result::Ok();
    }
    if (error) {
        return Result::Fail(ResultCode::NoAccess, path + ": " + error.message());
    }
    *exists = true;
    if (status.type() == fs::file_type::directory) {
        return Refuse(path, "is a folder, not a station database");
    }
    if (status.type() != fs::file_type::regular) {
        return Refuse(path, "is not a regular file");
    }
    const auto size = fs::file_size(file, error);
    if (error) {
        return Result::Fail(ResultCode::NoAccess, path + ": " + error.message());
    }
    std::array<unsigned char, kHeaderSize> header{};
    if (size < kHeaderSize) {
        return Refuse(path, "is too short to be a station database");
    }
    if (!ReadHeader(path, header.data(), header.size())) {
        return Result::Fail(ResultCode::NoAccess, path + " cannot be read");
    }
    if (std::memcmp(header.data(), kMagic, sizeof kMagic) != 0) {
        return Refuse(path, "is not a station database (not an SQLite file)");
    }
    if (static_cast<std::int32_t>(BigEndian(header, 68, 4)) != kRecordsApplicationId) {
        return Refuse(path, "is another program's SQLite database, not a station database");
    }
    // The page count in the header is only meant when the change counter matches the number
    // it was written with. A log beside the file may still hold pages a killed writer's
    // checkpoint had not copied yet; SQLite finishes that itself.
    std::uint64_t pageSize = BigEndian(header, 16, 2);
    if (pageSize == 1) {
        pageSize = 65536;
    }
    const std::uint64_t pages = BigEndian(header, 28, 4);
    const bool countValid = pages != 0 && BigEndian(header, 24, 4) == BigEndian(header, 92, 4);
    if (countValid && size < pages * pageSize && !HasWriteAheadLog(path)) {
        return Refuse(path, "is a damaged station database (shorter than its header says)");
    }
    return Result::Ok();
}

Result CreateStoreFile(const std::string& path, bool* created) {
    *created = false;
    const std::string temporary = path + ".new-" + NewRunUuid();
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(temporary.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                             nullptr);
    if (rc == SQLITE_OK) {
        const std::string setId =
            "PRAGMA application_id = " + std::to_string(kRecordsApplicationId);
        rc = SqliteExecute(db, setId.c_str());
    }
    if (rc == SQLITE_OK) {
        // Kept in the file's header: every later connection opens it in this mode.
        rc = SqliteExecute(db, "PRAGMA journal_mode = WAL");
    }
    if (rc == SQLITE_OK) {
        rc = SqliteExecute(db, "BEGIN IMMEDIATE");
    }
    if (rc == SQLITE_OK) {
        rc = MigrateRecordSchema(db, 0);
    }
    if (rc == SQLITE_OK) {
        rc = SqliteExecute(db, "COMMIT");
    }
    std::string message = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    std::error_code error;
    if (rc != SQLITE_OK) {
        fs::remove(fs::u8path(temporary), error);
        return Result::Fail(rc == SQLITE_FULL ? ResultCode::IoError : ResultCode::NoAccess,
                            path + " could not be created: " + message);
    }
    // A link fails where a file already is, which a rename would silently replace.
    fs::create_hard_link(fs::u8path(temporary), fs::u8path(path), error);
    const bool linked = !error;
    const bool someoneFirst = error == std::errc::file_exists;
    std::error_code ignored;
    fs::remove(fs::u8path(temporary), ignored);
    if (!linked && !someoneFirst) {
        return Result::Fail(ResultCode::NoAccess,
                            path + " could not be created: " + error.message());
    }
    *created = linked;
    return Result::Ok();
}

}  // namespace tavlin
