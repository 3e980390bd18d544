// An update's progress in the station database: kept while it runs, found by the next run on the
// port when the update did not end, and the package told apart from one changed since.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>

#include "records/DeferredUpdateJournal.h"
#include "records/RecordStore.h"
#include "records/RecordTestFiles.h"
#include "records/RecordedUpdateJournal.h"
#include "records/UpdateProgressKeeper.h"

namespace tavlin {
namespace {

using test::SampleRun;
using test::TempFolder;

LoadedImage Image(PackageSection section, const std::string& name, const std::string& bytes) {
    return {section, name, 1, bytes};
}

// HInfo (to both sensors), LInfo and RInfo: four writes.
LoadedPackage ThreeImagePackage() {
    LoadedPackage package;
    package.path = "pkg.ini";
    package.iniBytes = "[Tavlin HInfo]\n...";
    package.enables.value = {kImageEnabled, kImageEnabled, kImageEnabled};
    package.images = {Image(PackageSection::HInfo, "h.bin", "hhh"),
                      Image(PackageSection::LInfo, "l.bin", "lll"),
                      Image(PackageSection::RInfo, "r.bin", "rrr")};
    return package;
}

class UpdateProgressTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path_ = folder_.File("records.sqlite");
        ASSERT_TRUE(RecordStore::Open(path_, &store_).ok());
    }

    struct Run {
        std::string command = "update";
        std::string port = "1-1";
        // Empty: left running by this (live) process.
        std::optional<RunOutcome> outcome;
        bool begunUpdate = true;
    };
    // Writes the runs in order; their uuids.
    std::vector<std::string> Write(const std::vector<Run>& runs) {
        std::vector<std::string> uuids;
        int n = 0;
        for (const Run& run : runs) {
            RunRecord record = SampleRun(++n, run.port);
            record.command = run.command;
            EXPECT_TRUE(store_->BeginRun(record).ok());
            if (run.begunUpdate) {
                UpdateProgress progress = ProgressOfPackage(ThreeImagePackage());
                progress.package = "/station/pkg" + std::to_string(n) + ".ini";
                EXPECT_TRUE(store_->BeginUpdate(record.uuid, progress).ok());
            }
            if (run.outcome) {
                record.outcome = *run.outcome;
                EXPECT_TRUE(store_->CompleteRun(record).ok());
            }
            uuids.push_back(record.uuid);
        }
        return uuids;
    }

    TempFolder folder_;
    std::string path_;
    std::unique_ptr<RecordStore> store_;
};

TEST_F(UpdateProgressTest, TheLastUpdateOnThePortCountsWhenItDidNotPass) {
    constexpr auto kPassed = RunOutcome::Passed;
    constexpr auto kFailed = RunOutcome::Failed;
    struct Case {
        const char* name;
        std::vector<Run> runs;
        int found;  // index into runs; -1: nothing unfinished
    };
    const Case cases[] = {
        {"passed", {{.outcome = kPassed}}, -1},
        {"failed", {{.outcome = kFailed}}, 0},
        {"stopped by the user", {{.outcome = RunOutcome::Stopped}}, 0},
        {"ended before it asked the unit anything",
         {{.outcome = kFailed, .begunUpdate = false}},
         -1},
        {"a newer update passed", {{.outcome = kFailed}, {.outcome = kPassed}}, -1},
        {"a newer update failed too", {{.outcome = kPassed}, {.outcome = kFailed}}, 1},
        {"other commands since do not hide it",
         {{.outcome = kFailed}, {.command = "detect", .outcome = kPassed, .begunUpdate = false}},
         0},
        {"another port's", {{.port = "1-2", .outcome = kFailed}}, -1},
        {"one still running is no verdict", {{.outcome = kFailed}, {.outcome = std::nullopt}}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        ASSERT_TRUE(RecordStore::Open(folder.File("r.sqlite"), &store_).ok());
        const std::vector<std::string> uuids = Write(c.runs);
        std::optional<UnfinishedUpdate> found;
        ASSERT_TRUE(store_->UnfinishedUpdateOn("1-1", "", &found).ok());
        if (c.found < 0) {
            EXPECT_FALSE(found) << found->runUuid;
            continue;
        }
        ASSERT_TRUE(found);
        EXPECT_EQ(found->runUuid, uuids[c.found]);
        EXPECT_EQ(found->progress.package, "/station/pkg" + std::to_string(c.found + 1) + ".ini");
        // The run itself may ask without finding itself.
        ASSERT_TRUE(store_->UnfinishedUpdateOn("1-1", uuids[c.found], &found).ok());
        EXPECT_FALSE(found && found->runUuid == uuids[c.found]);
    }
}

TEST_F(UpdateProgressTest, TheJournalKeepsThePackageThenWhereTheWritesGot) {
    RunRecord record = SampleRun(1, "1-1");
    record.command = "update";
    ASSERT_TRUE(store_->BeginRun(record).ok());
    const LoadedPackage package = ThreeImagePackage();
    {
        RecordedUpdateJournal journal(path_, record.uuid);
        ASSERT_TRUE(journal.Starting(package).ok());
        // Kept before Starting returned: a cut during the restart finds it.
        std::optional<UnfinishedUpdate> found;
        record.outcome = RunOutcome::Interrupted;
        RecordStore* reader = store_.get();
        RunRecord copy = record;
        ASSERT_TRUE(reader->CompleteRun(copy).ok());
        ASSERT_TRUE(reader->UnfinishedUpdateOn("1-1", "", &found).ok());
        ASSERT_TRUE(found);
        EXPECT_EQ(found->progress.stage, "restart-in");
        EXPECT_EQ(found->progress.imageCount, 4);
        EXPECT_EQ(found->progress.packageSha256, found->progress.files.at(0).sha256);
        EXPECT_TRUE(PackageDifference(found->progress.files, package).empty());

        for (uint64_t packet = 0; packet < 50; ++packet) {
            journal.Writing(ImageWrite::HInfoRight, packet);
        }
        journal.Writing(ImageWrite::LInfo, 0);
        journal.Writing(ImageWrite::LInfo, 7);
        ASSERT_TRUE(journal.Finish().ok());
        ASSERT_TRUE(reader->UnfinishedUpdateOn("1-1", "", &found).ok());
        ASSERT_TRUE(found);
        const UpdateProgress& progress = found->progress;
        EXPECT_EQ(progress.stage, "image");
        EXPECT_EQ(progress.image, "LInfo");
        EXPECT_EQ(progress.imageNumber, 3);
        EXPECT_EQ(progress.packet, 7);
        EXPECT_EQ(progress.files.size(), 4u);  // the files stay as they were kept
    }
    RecordedUpdateJournal leaving(path_, record.uuid);
    ASSERT_TRUE(leaving.Starting(package).ok());
    leaving.Writing(ImageWrite::RInfo, 2);
    leaving.Leaving();
    ASSERT_TRUE(leaving.Finish().ok());
    std::optional<UnfinishedUpdate> found;
    ASSERT_TRUE(store_->UnfinishedUpdateOn("1-1", "", &found).ok());
    ASSERT_TRUE(found);
    EXPECT_EQ(found->progress.stage, "restart-out");
    EXPECT_EQ(found->progress.image, "RInfo");
    EXPECT_EQ(found->progress.imageNumber, 4);
}

TEST_F(UpdateProgressTest, ProgressOfARunNotThereIsToldNotLost) {
    UpdateProgressKeeper keeper(path_, "no-such-run");
    EXPECT_FALSE(keeper.Begin(ProgressOfPackage(ThreeImagePackage())).ok());
    keeper.Note(ProgressOfPackage(ThreeImagePackage()));
    EXPECT_FALSE(keeper.Finish().ok());
    // Finished: nothing more is taken, and nothing waits.
    EXPECT_FALSE(keeper.Begin(ProgressOfPackage(ThreeImagePackage())).ok());
}

// The window's journal: its run is known only after its worker has started, and nothing that
// calls it may wait for the database. What came before the run was named is written once it is;
// nothing after the journal was finished.
TEST_F(UpdateProgressTest, ADeferredJournalKeepsWhatCameBeforeItsRunWasNamed) {
    enum Step { Start, HInfoRight5, LInfo7, RInfo2, Leave, Open, Finish };
    struct Case {
        const char* name;
        std::vector<Step> steps;  // Finish comes last in any case
        const char* stage;        // nullptr: no progress kept
        const char* image;
        int imageNumber;
        std::int64_t packet;
    };
    const Case cases[] = {
        {"all before the run is named", {Start, HInfoRight5, LInfo7, Open}, "image", "LInfo", 3, 7},
        {"started before, written after",
         {Start, Open, HInfoRight5, LInfo7},
         "image",
         "LInfo",
         3,
         7},
        {"all after", {Open, Start, HInfoRight5, LInfo7}, "image", "LInfo", 3, 7},
        {"only started", {Start, Open}, "restart-in", "", 0, 0},
        {"left before", {Start, RInfo2, Leave, Open}, "restart-out", "RInfo", 4, 2},
        {"left after", {Start, Open, RInfo2, Leave}, "restart-out", "RInfo", 4, 2},
        {"never started", {Open, LInfo7}, nullptr, "", 0, 0},
        {"never named", {Start, LInfo7}, nullptr, "", 0, 0},
        {"written after the finish",
         {Open, Start, LInfo7, Finish, RInfo2, Leave},
         "image",
         "LInfo",
         3,
         7},
    };
    const LoadedPackage package = ThreeImagePackage();
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ++n;
        RunRecord record = SampleRun(n, "port-" + std::to_string(n));
        record.command = "update";
        ASSERT_TRUE(store_->BeginRun(record).ok());
        DeferredUpdateJournal journal;
        for (Step step : c.steps) {
            switch (step) {
                case Start:
                    EXPECT_TRUE(journal.Starting(package).ok());
                    break;
                case HInfoRight5:
                    journal.Writing(ImageWrite::HInfoRight, 5);
                    break;
                case LInfo7:
                    journal.Writing(ImageWrite::LInfo, 7);
                    break;
                case RInfo2:
                    journal.Writing(ImageWrite::RInfo, 2);
                    break;
                case Leave:
                    journal.Leaving();
                    break;
                case Open:
                    journal.Open(path_, record.uuid);
                    break;
                case Finish:
                    EXPECT_TRUE(journal.Finish().ok());
                    break;
            }
        }
        ASSERT_TRUE(journal.Finish().ok());
        record.outcome = RunOutcome::Failed;
        ASSERT_TRUE(store_->CompleteRun(record).ok());
        std::optional<UnfinishedUpdate> found;
        ASSERT_TRUE(store_->UnfinishedUpdateOn(record.unit.port, "", &found).ok());
        if (c.stage == nullptr) {
            EXPECT_FALSE(found) << found->progress.stage;
            continue;
        }
        ASSERT_TRUE(found);
        EXPECT_EQ(found->progress.stage, c.stage);
        EXPECT_EQ(found->progress.image, c.image);
        EXPECT_EQ(found->progress.imageNumber, c.imageNumber);
        EXPECT_EQ(found->progress.imageCount, 4);
        EXPECT_EQ(found->progress.packet, c.packet);
        EXPECT_TRUE(PackageDifference(found->progress.files, package).empty());
    }
}

// While another writer holds the database for seconds, the journal's callers go on at once: the
// update's worker and the window's thread never wait for a disk. What they gave is kept after.
TEST_F(UpdateProgressTest, NothingThatCallsADeferredJournalWaitsForTheDatabase) {
    RunRecord record = SampleRun(1, "1-1");
    record.command = "update";
    ASSERT_TRUE(store_->BeginRun(record).ok());
    DeferredUpdateJournal journal;
    auto lock = std::make_unique<test::RawDb>(path_);
    ASSERT_EQ(lock->Exec("BEGIN IMMEDIATE"), SQLITE_OK);
    const auto started = std::chrono::steady_clock::now();
    journal.Open(path_, record.uuid);
    EXPECT_TRUE(journal.Starting(ThreeImagePackage()).ok());
    for (uint64_t packet = 0; packet < 200; ++packet) {
        journal.Writing(ImageWrite::LInfo, packet);
    }
    journal.Leaving();
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_LT(took, std::chrono::milliseconds(1000));  // the store's busy time-out is 5 s
    ASSERT_EQ(lock->Exec("COMMIT"), SQLITE_OK);
    lock.reset();
    ASSERT_TRUE(journal.Finish().ok());
    record.outcome = RunOutcome::Interrupted;
    ASSERT_TRUE(store_->CompleteRun(record).ok());
    std::optional<UnfinishedUpdate> found;
    ASSERT_TRUE(store_->UnfinishedUpdateOn("1-1", "", &found).ok());
    ASSERT_TRUE(found);
    EXPECT_EQ(found->progress.stage, "restart-out");
    EXPECT_EQ(found->progress.packet, 199);
    EXPECT_EQ(found->progress.files.size(), 4u);
}

TEST(PackageDifferenceTest, ThePackageIsTheOneWrittenOrTheFirstChangeIsNamed) {
    const LoadedPackage kept = ThreeImagePackage();
    const std::vector<ArtefactRecord> files = ProgressOfPackage(kept).files;
    struct Case {
        const char* name;
        void (*change)(LoadedPackage&);
        const char* difference;
    };
    const Case cases[] = {
        {"unchanged", [](LoadedPackage&) {}, ""},
        {"named another way", [](LoadedPackage& p) { p.path = "/elsewhere/pkg.ini"; }, ""},
        {"package file", [](LoadedPackage& p) { p.iniBytes += "x"; },
         "pkg.ini: its SHA-256 differs"},
        {"an image's bytes", [](LoadedPackage& p) { p.images[2].bytes = "rrx"; },
         "r.bin: its SHA-256 differs"},
        {"an image gone", [](LoadedPackage& p) { p.images.pop_back(); },
         "r.bin: no longer in the package"},
        {"an image renamed", [](LoadedPackage& p) { p.images[1].name = "l2.bin"; },
         "l.bin: no longer in the package"},
        {"an image come",
         [](LoadedPackage& p) { p.images.push_back(Image(PackageSection::RInfo, "x.bin", "x")); },
         "x.bin: not in the package the update had"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadedPackage now = kept;
        c.change(now);
        EXPECT_EQ(PackageDifference(files, now), c.difference);
    }
    EXPECT_EQ(PackageDifference({}, kept), "pkg.ini: no files were kept for it");
}

}  // namespace
}  // namespace tavlin
