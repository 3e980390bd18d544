#pragma once
#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "records/RunRecord.h"

namespace tavlin::test {

// A fresh folder under the system's temporary one, removed with everything in it.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    const std::filesystem::path& path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

// Every byte of a file ("" when there is none).
std::string FileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// The names in a folder, sorted, one a line.
std::string FolderListing(const std::filesystem::path& folder);

// A record with something in every field and table, told apart by `n`, passed (BeginRun
// makes it running: a test sets the outcome again before completing it).
RunRecord SampleRun(int n, const std::string& port);

// A connection of the test's own, beside the store's.
class RawDb {
  public:
    explicit RawDb(const std::string& path);
    ~RawDb();
    // Runs statements; SQLite's code.
    int Exec(const std::string& sql);
    // The first column of the first row as text ("" when there is none).
    std::string Text(const std::string& sql);
    std::int64_t Int(const std::string& sql);

  private:
    sqlite3* db_ = nullptr;
};

}  // namespace tavlin::test
