// Files that are not station databases of ours, and ones this build may not write, are refused
// and left exactly as they were.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "records/RecordSchema.h"
#include "records/RecordStore.h"
#include "records/RecordTestFiles.h"

namespace tavlin {
namespace {

namespace fs = std::filesystem;
using test::FileBytes;
using test::RawDb;
using test::TempFolder;

// A station database with some runs in it, closed.
void MakeStore(const std::string& path, int runs) {
    std::unique_ptr<RecordStore> store;
    ASSERT_TRUE(RecordStore::Open(path, &store).ok());
    for (int i = 0; i < runs; ++i) {
        RunRecord run = test::SampleRun(i, "1-1");
        ASSERT_TRUE(store->BeginRun(run).ok());
        run.outcome = RunOutcome::Passed;
        ASSERT_TRUE(store->CompleteRun(run).ok());
    }
}

struct ForeignCase {
    const char* name;
    std::function<void(const std::string& path)> make;
    const char* reasonPart;
};

TEST(StoreRefusalTest, FilesNotOursAreRefusedAndLeftAlone) {
    const ForeignCase cases[] = {
        {"garbage",
         [](const std::string& path) {
             std::string bytes;
             for (int i = 0; i < 8192; ++i) {
                 bytes += static_cast<char>((i * 7919) & 0xFF);
             }
             test::WriteFileBytes(path, bytes);
         },
         "not an SQLite file"},
        {"text", [](const std::string& path) { test::WriteFileBytes(path, "line 1\nline 2\n"); },
         "too short"},
        {"empty", [](const std::string& path) { test::WriteFileBytes(path, ""); }, "too short"},
        {"header only",
         [](const std::string& path) {
             MakeStore(path, 0);
             fs::resize_file(path, 60);
         },
         "too short"},
        {"truncated",
         [](const std::string& path) {
             MakeStore(path, 200);
             ASSERT_GT(fs::file_size(path), 3 * 4096u);
             fs::resize_file(path, 2 * 4096);
         },
         "damaged"},
        {"another program's",
         [](const std::string& path) {
             RawDb raw(path);
             raw.Exec(
                 "CREATE TABLE run (id INTEGER PRIMARY KEY, uuid TEXT); "
                 "INSERT INTO run (uuid) VALUES ('x')");
         },
         "another program's"},
        {"folder",
         [](const std::string& path) {
             fs::create_directory(path);
             test::WriteFileBytes(path + "/inside", "kept");
         },
         "folder"},
    };
    for (const ForeignCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const std::string path = folder.File("Tavlin_results.sqlite");
        c.make(path);
        const std::string listing = test::FolderListing(folder.path());
        const std::string bytes =
            fs::is_directory(path) ? test::FolderListing(path) : FileBytes(path);
        std::unique_ptr<RecordStore> store;
        const Result opened = RecordStore::Open(path, &store);
        EXPECT_EQ(opened.code(), ResultCode::BadInput) << opened.describe();
        EXPECT_NE(opened.reason().find(c.reasonPart), std::string::npos) << opened.reason();
        EXPECT_NE(opened.reason().find(path), std::string::npos);
        EXPECT_FALSE(store);
        EXPECT_EQ(fs::is_directory(path) ? test::FolderListing(path) : FileBytes(path), bytes);
        // No log, journal or half-made file beside it either.
        EXPECT_EQ(test::FolderListing(folder.path()), listing);
    }
}

TEST(StoreRefusalTest, NewerSchemaIsNotWritten) {
    TempFolder folder;
    const std::string path = folder.File("Tavlin_results.sqlite");
    MakeStore(path, 2);
    {
        RawDb raw(path);
        ASSERT_EQ(raw.Exec("PRAGMA user_version = " + std::to_string(kRecordsSchemaVersion + 1)),
                  SQLITE_OK);
    }
    const std::string bytes = FileBytes(path);
    std::unique_ptr<RecordStore> store;
    const Result opened = RecordStore::Open(path, &store);
    EXPECT_EQ(opened.code(), ResultCode::BadInput);
    EXPECT_NE(opened.reason().find("newer"), std::string::npos) << opened.reason();
    EXPECT_FALSE(store);
    EXPECT_EQ(FileBytes(path), bytes);
}

// Root writes whatever the permissions say: the open runs in a child that is nobody.
TEST(StoreRefusalTest, ReadOnlyFileIsRefused) {
    TempFolder folder;
    const std::string path = folder.File("Tavlin_results.sqlite");
    MakeStore(path, 1);
    fs::permissions(folder.path(), fs::perms::owner_all | fs::perms::group_read |
                                       fs::perms::group_exec | fs::perms::others_read |
                                       fs::perms::others_exec);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string bytes = FileBytes(path);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(2);
        }
        std::unique_ptr<RecordStore> store;
        const Result opened = RecordStore::Open(path, &store);
        const bool refused = opened.code() == ResultCode::NoAccess &&
                             opened.reason().find("read-only") != std::string::npos && !store;
        ::_exit(refused ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(FileBytes(path), bytes);
}

// A disk that fills up during the writes (here a file size limit, which SQLite meets the same
// way): the write fails with a reason, the process goes on, and what was committed stays whole.
TEST(StoreRefusalTest, FullDiskFailsTheWriteWithoutHarm) {
    TempFolder folder;
    const std::string path = folder.File("Tavlin_results.sqlite");
    MakeStore(path, 1);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{256 * 1024, 256 * 1024};
        std::unique_ptr<RecordStore> store;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0 || !RecordStore::Open(path, &store).ok()) {
            ::_exit(2);
        }
        for (int i = 0; i < 10000; ++i) {
            RunRecord run = test::SampleRun(i, "1-1");
            run.reason = std::string(8192, 'r');
            Result written = store->BeginRun(run);
            if (written) {
                run.outcome = RunOutcome::Passed;
                written = store->CompleteRun(run);
            }
            if (!written) {
                const bool told = written.code() == ResultCode::IoError &&
                                  written.reason().find(path) != std::string::npos;
                ::_exit(told ? 0 : 3);
            }
        }
        ::_exit(4);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    RawDb raw(path);
    EXPECT_EQ(raw.Text("PRAGMA integrity_check"), "ok");
    EXPECT_GT(raw.Int("SELECT count(*) FROM run WHERE outcome = 'passed'"), 1);
}

}  // namespace
}  // namespace tavlin
