#include "records/RecordStore.h"

#include <gtest/gtest.h>

#include <chrono>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>

#include "platform/ProcessIdentity.h"
#include "records/RecordExport.h"
#include "records/RecordSchema.h"
#include "records/RecordTestFiles.h"
#include "records/RunUuid.h"
#include "records/StoreFile.h"

namespace tavlin {
namespace {

using test::RawDb;
using test::SampleRun;
using test::TempFolder;

std::unique_ptr<RecordStore> OpenStore(const std::string& path) {
    std::unique_ptr<RecordStore> store;
    const Result opened = RecordStore::Open(path, &store);
    EXPECT_TRUE(opened.ok()) << opened.describe();
    return store;
}

TEST(RecordStoreTest, DefaultFileName) {
    EXPECT_STREQ(RecordStore::kDefaultFileName, "Tavlin_results.sqlite");
}

TEST(RecordStoreTest, NewDatabaseIsMarkedAsOursInWriteAheadMode) {
    TempFolder folder;
    const std::string path = folder.File(RecordStore::kDefaultFileName);
    OpenStore(path);
    RawDb raw(path);
    EXPECT_EQ(raw.Int("PRAGMA application_id"), kRecordsApplicationId);
    EXPECT_EQ(raw.Int("PRAGMA user_version"), kRecordsSchemaVersion);
    EXPECT_EQ(raw.Text("PRAGMA journal_mode"), "wal");
    // Nothing of the file's making is left beside it.
    EXPECT_EQ(test::FolderListing(folder.path()).find(".new-"), std::string::npos);
}

// A file that has just appeared is whole: a second process opening it at that moment finds
// every table, and no half-made file to finish on its own.
TEST(RecordStoreTest, ANewFileAppearsWithItsTablesInIt) {
    TempFolder folder;
    const std::string path = folder.File("records.sqlite");
    bool created = false;
    ASSERT_TRUE(CreateStoreFile(path, &created).ok());
    EXPECT_TRUE(created);
    RawDb raw(path);
    EXPECT_EQ(raw.Int("PRAGMA user_version"), kRecordsSchemaVersion);
    EXPECT_EQ(raw.Int("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'run'"),
              1);
}

TEST(RecordStoreTest, FullRecordReadsBackAsWritten) {
    TempFolder folder;
    const std::string path = folder.File("records.sqlite");
    auto store = OpenStore(path);
    RunRecord run = SampleRun(1, "1-2.3");
    ASSERT_TRUE(store->BeginRun(run).ok());
    EXPECT_EQ(run.processId, CurrentProcessId());
    EXPECT_EQ(run.station.host, HostName());
    EXPECT_GT(run.startedMs, 0);

    RunRecord begun;
    ASSERT_TRUE(store->ReadRun(run.uuid, &begun).ok());
    EXPECT_EQ(begun.outcome, RunOutcome::Running);
    EXPECT_EQ(begun.unit.port, "1-2.3");
    EXPECT_TRUE(begun.measurements.empty());

    run.outcome = RunOutcome::Passed;

    const Result completed = store->CompleteRun(run);
    ASSERT_TRUE(completed.ok()) << completed.describe();
    ASSERT_TRUE(run.endedMs.has_value());
    RunRecord read;
    ASSERT_TRUE(OpenStore(path)->ReadRun(run.uuid, &read).ok());
    EXPECT_EQ(RunToJson(read), RunToJson(run));
    EXPECT_EQ(read.processStart, run.processStart);

    RawDb raw(path);
    EXPECT_EQ(raw.Text("SELECT group_concat(DISTINCT typeof(value) || typeof(low) || "
                       "typeof(high)) FROM measurement WHERE name = 'start line Master'"),
              "realrealreal");
    EXPECT_EQ(raw.Text("SELECT typeof(started_ms) FROM run"), "integer");
}

TEST(RecordStoreTest, UnitLearntDuringTheRunIsKeptBeforeTheEnd) {
    TempFolder folder;
    auto store = OpenStore(folder.File("records.sqlite"));
    RunRecord run;
    run.command = "calibrate";
    ASSERT_TRUE(store->BeginRun(run).ok());
    run.unit.port = "3-1";
    run.unit.productId = 0x42;
    run.lot = "L1";
    ASSERT_TRUE(store->UpdateRun(run).ok());
    RunRecord read;
    ASSERT_TRUE(store->ReadRun(run.uuid, &read).ok());
    EXPECT_EQ(read.unit.port, "3-1");
    EXPECT_EQ(read.unit.productId, 0x42);
    EXPECT_EQ(read.lot, "L1");
    EXPECT_EQ(read.outcome, RunOutcome::Running);
}

TEST(RecordStoreTest, CompletionNeedsARunningRunAndAnOutcome) {
    TempFolder folder;
    auto store = OpenStore(folder.File("records.sqlite"));
    RunRecord never = SampleRun(1, "1-1");
    never.uuid = NewRunUuid();
    EXPECT_EQ(store->CompleteRun(never).code(), ResultCode::BadInput);

    RunRecord run = SampleRun(2, "1-1");
    ASSERT_TRUE(store->BeginRun(run).ok());
    run.outcome = RunOutcome::Running;
    EXPECT_EQ(store->CompleteRun(run).code(), ResultCode::BadInput);
    run.outcome = RunOutcome::Failed;
    run.exitStatus = 3;
    ASSERT_TRUE(store->CompleteRun(run).ok());
    // A second completion would add its details twice.
    EXPECT_EQ(store->CompleteRun(run).code(), ResultCode::BadInput);
    RunRecord read;
    ASSERT_TRUE(store->ReadRun(run.uuid, &read).ok());
    EXPECT_EQ(read.measurements.size(), run.measurements.size());
    EXPECT_EQ(read.exitStatus, 3);
}

TEST(RecordStoreTest, CompletedRunsWaitInTheOutbox) {
    TempFolder folder;
    auto store = OpenStore(folder.File("records.sqlite"));
    RunRecord first = SampleRun(1, "1-1");
    RunRecord second = SampleRun(2, "1-1");
    RunRecord unfinished = SampleRun(3, "1-1");
    for (RunRecord* run : {&first, &second, &unfinished}) {
        ASSERT_TRUE(store->BeginRun(*run).ok());
    }
    first.outcome = second.outcome = RunOutcome::Passed;
    first.endedMs = 100;
    second.endedMs = 200;
    ASSERT_TRUE(store->CompleteRun(second).ok());
    ASSERT_TRUE(store->CompleteRun(first).ok());
    std::vector<RecordStore::OutboxEntry> pending;
    ASSERT_TRUE(store->PendingUploads(10, &pending).ok());
    ASSERT_EQ(pending.size(), 2u);
    EXPECT_EQ(pending[0].runUuid, first.uuid);
    EXPECT_EQ(pending[0].queuedMs, 100);
    EXPECT_EQ(pending[1].runUuid, second.uuid);
    ASSERT_TRUE(store->RemoveFromOutbox(first.uuid).ok());
    ASSERT_TRUE(store->PendingUploads(10, &pending).ok());
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_EQ(pending[0].runUuid, second.uuid);
}

TEST(RecordStoreTest, LastRunsByPortAndTimeNewestFirst) {
    TempFolder folder;
    auto store = OpenStore(folder.File("records.sqlite"));
    const struct {
        const char* port;
        std::int64_t startedMs;
    } begun[] = {{"1-1", 1000}, {"1-2", 2000}, {"1-1", 3000}, {"1-1", 4000}, {"1-2", 5000}};
    std::vector<std::string> uuids;
    for (const auto& b : begun) {
        RunRecord run = SampleRun(0, b.port);
        run.startedMs = b.startedMs;
        ASSERT_TRUE(store->BeginRun(run).ok());
        uuids.push_back(run.uuid);
    }
    const struct {
        const char* port;
        std::optional<std::int64_t> since;
        int limit;
        std::vector<int> expected;  // indexes into begun
    } cases[] = {
        {"", std::nullopt, 10, {4, 3, 2, 1, 0}},
        {"", std::nullopt, 2, {4, 3}},
        {"1-1", std::nullopt, 10, {3, 2, 0}},
        {"1-1", std::nullopt, 1, {3}},
        {"1-1", 3000, 10, {3, 2}},
        {"1-2", 2500, 10, {4}},
        {"", 4500, 10, {4}},
        {"9-9", std::nullopt, 10, {}},
    };
    for (const auto& c : cases) {
        RecordStore::Query query;
        query.port = c.port;
        query.sinceMs = c.since;
        query.limit = c.limit;
        std::vector<RunRecord> runs;
        ASSERT_TRUE(store->LastRuns(query, &runs).ok());
        std::vector<std::string> expected;
        for (int i : c.expected) {
            expected.push_back(uuids[static_cast<size_t>(i)]);
        }
        std::vector<std::string> got;
        for (const RunRecord& run : runs) {
            got.push_back(run.uuid);
            EXPECT_TRUE(run.measurements.empty());
        }
        EXPECT_EQ(got, expected) << "port " << c.port << " limit " << c.limit;
    }
    RecordStore::Query detailed;
    detailed.limit = 1;
    detailed.withDetails = true;
    std::vector<RunRecord> runs;
    ASSERT_TRUE(store->LastRuns(detailed, &runs).ok());
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].unit.port, "1-2");
}

TEST(RecordStoreTest, OlderSchemaIsMovedForwardOnOpen) {
    TempFolder folder;
    const std::string path = folder.File("records.sqlite");
    {
        RawDb raw(path);
        ASSERT_EQ(raw.Exec("PRAGMA application_id = " + std::to_string(kRecordsApplicationId) +
                           "; CREATE TABLE placeholder (x)"),
                  SQLITE_OK);
    }
    auto store = OpenStore(path);
    ASSERT_TRUE(store);
    RunRecord run = SampleRun(1, "1-1");
    ASSERT_TRUE(store->BeginRun(run).ok());
    run.outcome = RunOutcome::Passed;
    ASSERT_TRUE(store->CompleteRun(run).ok());
    RawDb raw(path);
    EXPECT_EQ(raw.Int("PRAGMA user_version"), kRecordsSchemaVersion);
    EXPECT_EQ(raw.Text("PRAGMA journal_mode"), "wal");
}

TEST(RecordStoreTest, WriteGivesUpWhenTheLockIsHeldTooLong) {
    TempFolder folder;
    const std::string path = folder.File("records.sqlite");
    OpenStore(path);
    RecordStore::Options options;
    options.busyTimeoutMs = 200;
    std::unique_ptr<RecordStore> store;
    ASSERT_TRUE(RecordStore::Open(path, options, &store).ok());
    RawDb holder(path);
    ASSERT_EQ(holder.Exec("BEGIN IMMEDIATE"), SQLITE_OK);
    RunRecord run = SampleRun(1, "1-1");
    const auto start = std::chrono::steady_clock::now();
    const Result begun = store->BeginRun(run);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(begun.code(), ResultCode::Busy) << begun.describe();
    EXPECT_NE(begun.reason().find("locked"), std::string::npos);
    EXPECT_GE(waited, std::chrono::milliseconds(200));
    EXPECT_LT(waited, std::chrono::seconds(3));
    ASSERT_EQ(holder.Exec("ROLLBACK"), SQLITE_OK);
    run.uuid.clear();
    EXPECT_TRUE(store->BeginRun(run).ok());
}

TEST(RunUuidTest, RandomVersionFourInCanonicalForm) {
    const std::regex form("[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}");
    std::set<std::string> seen;
    for (int i = 0; i < 1000; ++i) {
        const std::string uuid = NewRunUuid();
        ASSERT_TRUE(std::regex_match(uuid, form)) << uuid;
        seen.insert(uuid);
    }
    EXPECT_EQ(seen.size(), 1000u);
}

}  // namespace
}  // namespace tavlin
