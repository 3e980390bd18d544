// Several processes write one database at once, and one is killed outright in the middle of its
// writes: no record is lost and none is half there.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "records/RecordStore.h"
#include "records/RecordTestFiles.h"

namespace tavlin {
namespace {

using test::RawDb;
using test::TempFolder;

constexpr int kMeasurementsPerRun = 20;

// Begins and completes `runs` runs (forever when negative); the exit status says whether every
// write succeeded.
[[noreturn]] void WriteRuns(const std::string& path, int writer, int runs) {
    std::unique_ptr<RecordStore> store;
    if (!RecordStore::Open(path, &store).ok()) {
        ::_exit(2);
    }
    for (int i = 0; runs < 0 || i < runs; ++i) {
        RunRecord run = test::SampleRun(i, "port-" + std::to_string(writer));
        run.measurements.clear();
        for (int m = 0; m < kMeasurementsPerRun; ++m) {
            run.measurements.push_back(
                {"m" + std::to_string(m), m * 0.5, "px", 0.0, 100.0, "passed"});
        }
        if (!store->BeginRun(run).ok()) {
            ::_exit(1);
        }
        run.outcome = RunOutcome::Passed;
        if (!store->CompleteRun(run).ok()) {
            ::_exit(1);
        }
    }
    ::_exit(0);
}

// Every run that counts has all of its parts, and one that never ended has none of them: the
// commit of its end is all or nothing.
void ExpectNoRunHalfWritten(const std::string& path) {
    RawDb raw(path);
    EXPECT_EQ(raw.Text("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(raw.Int("SELECT count(*) FROM run WHERE outcome IN ('passed', 'failed') AND ("
                      "(SELECT count(*) FROM measurement WHERE run_id = run.id) != " +
                      std::to_string(kMeasurementsPerRun) +
                      " OR (SELECT count(*) FROM step WHERE run_id = run.id) != 2"
                      " OR (SELECT count(*) FROM image WHERE run_id = run.id) != 2"
                      " OR ended_ms IS NULL"
                      " OR NOT EXISTS (SELECT 1 FROM outbox WHERE run_uuid = run.uuid))"),
              0);
    EXPECT_EQ(raw.Int("SELECT count(*) FROM run WHERE outcome IN ('running', 'interrupted') AND "
                      "EXISTS (SELECT 1 FROM measurement WHERE run_id = run.id)"),
              0);
}

TEST(ConcurrentWriteTest, SeveralProcessesLoseNothing) {
    TempFolder folder;
    const std::string path = folder.File("Tavlin_results.sqlite");
    constexpr int kWriters = 4;
    constexpr int kRuns = 15;
    // They all find no file: each makes one, one of them wins, the others use it.
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            WriteRuns(path, w, kRuns);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    RawDb raw(path);
    EXPECT_EQ(raw.Int("SELECT count(DISTINCT uuid) FROM run WHERE outcome = 'passed'"),
              kWriters * kRuns);
    EXPECT_EQ(raw.Int("SELECT count(*) FROM outbox"), kWriters * kRuns);
    EXPECT_EQ(raw.Int("SELECT count(*) FROM station"), 1);
    for (int w = 0; w < kWriters; ++w) {
        EXPECT_EQ(
            raw.Int("SELECT count(*) FROM unit WHERE port = 'port-" + std::to_string(w) + "'"),
            kRuns);
    }
    ExpectNoRunHalfWritten(path);
    EXPECT_EQ(test::FolderListing(folder.path()).find(".new-"), std::string::npos);
}

TEST(ConcurrentWriteTest, WriterKilledMidWritesLeavesWholeRecords) {
    TempFolder folder;
    const std::string path = folder.File("Tavlin_results.sqlite");
    {
        std::unique_ptr<RecordStore> store;
        ASSERT_TRUE(RecordStore::Open(path, &store).ok());
    }
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        WriteRuns(path, 0, -1);
    }
    // Kill it once it is well into its writes, at whatever point it is.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    std::int64_t done = 0;
    while (done < 10 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        RawDb raw(path);
        done = raw.Int("SELECT count(*) FROM run WHERE outcome = 'passed'");
    }
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself: " << status;
    EXPECT_GE(done, 10);

    ExpectNoRunHalfWritten(path);
    std::unique_ptr<RecordStore> store;
    ASSERT_TRUE(RecordStore::Open(path, &store).ok());
    RawDb raw(path);
    EXPECT_EQ(raw.Int("SELECT count(*) FROM run WHERE outcome = 'running'"), 0);
    EXPECT_LE(raw.Int("SELECT count(*) FROM run WHERE outcome = 'interrupted'"), 1);
    ExpectNoRunHalfWritten(path);
}

}  // namespace
}  // namespace tavlin
