#include "records/RecordTestFiles.h"

#include <fstream>
#include <random>
#include <set>
#include <sstream>

namespace tavlin::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    // A name nobody holds, made here: create_directory says whether this call made it.
    std::random_device random;
    for (;;) {
        path_ = fs::temp_directory_path() / ("tavlin-records-" + std::to_string(random()));
        if (fs::create_directory(path_)) {
            return;
        }
    }
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string FolderListing(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    std::string listing;
    for (const auto& name : names) {
        listing += name + "\n";
    }
    return listing;
}

RunRecord SampleRun(int n, const std::string& port) {
    RunRecord run;
    run.station.toolVersion = "0.98";
    run.command = "update";
    run.arguments = {"--device", port, "package, with \"quotes\"", std::to_string(n)};
    run.operatorName = "operator " + std::to_string(n);
    run.lot = "LOT-7";
    run.unit.port = port;
    run.unit.productId = 0x55;
    run.unit.mode = 0x22;
    run.unit.versionsBefore = "Master 1.0, Slave 1.0";
    run.unit.versionsAfter = "Master 1.1, Slave 1.1";
    run.steps = {{"package check", 1000, 1200, "passed"}, {"images", 1200, 9000, "passed"}};
    run.measurements = {{"start line Master", 12.0 + n, "line", 4.0, 28.5, "passed"},
                        {"exposure", 0.1, "ms", std::nullopt, 2.0, "passed"},
                        {"offset, x", -3.25, "px", -5.0, std::nullopt, "passed"}};
    run.artefacts = {{"log", "/var/log/tavlin/run.log", std::string(64, 'a'), 4096}};
    run.images = {{"code", 0, 65536, std::string(64, 'b'), "1.1", "passed"},
                  {"code", 1, 65536, std::string(64, 'c'), "1.1", "passed"}};
    run.outcome = RunOutcome::Passed;
    run.exitStatus = 0;
    return run;
}

RawDb::RawDb(const std::string& path) {
    sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    sqlite3_busy_timeout(db_, 5000);
}

RawDb::~RawDb() {
    sqlite3_close(db_);
}

int RawDb::Exec(const std::string& sql) {
    return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
}

std::string RawDb::Text(const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    std::string text;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_text(statement, 0)) {
        text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    }
    sqlite3_finalize(statement);
    return text;
}

std::int64_t RawDb::Int(const std::string& sql) {
    const std::string text = Text(sql);
    return text.empty() ? 0 : std::stoll(text);
}

}  // namespace tavlin::test
