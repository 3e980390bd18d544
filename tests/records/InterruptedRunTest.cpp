// A run whose process is gone stays 'running' until another opens the database, which marks it
// interrupted; a run whose process still lives is left alone.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/ProcessIdentity.h"
#include "records/RecordStore.h"
#include "records/RecordTestFiles.h"

namespace tavlin {
namespace {

using test::TempFolder;

// A child that waits until it is ended, then is collected.
class WaitingChild {
  public:
    WaitingChild() {
        pid_ = ::fork();
        if (pid_ == 0) {
            for (;;) {
                ::pause();
            }
        }
    }
    ~WaitingChild() { End(); }
    void End() {
        if (pid_ > 0 && !ended_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            ended_ = true;
        }
    }
    pid_t pid() const { return pid_; }

  private:
    pid_t pid_ = -1;
    bool ended_ = false;
};

RunOutcome OutcomeOf(RecordStore& store, const std::string& uuid) {
    RunRecord run;
    EXPECT_TRUE(store.ReadRun(uuid, &run).ok());
    return run.outcome;
}

TEST(InterruptedRunTest, OnlyRunsOfEndedProcessesOfThisHostAreMarked) {
    TempFolder folder;
    const std::string path = folder.File("records.sqlite");
    std::unique_ptr<RecordStore> store;
    ASSERT_TRUE(RecordStore::Open(path, &store).ok());

    WaitingChild ended;
    WaitingChild living;
    const std::string endedIdentity = ProcessStartIdentity(ended.pid());
    ended.End();

    const struct {
        const char* name;
        std::int64_t pid;
        std::string identity;
        std::string host;
        RunOutcome expected;
    } cases[] = {
        {"ended process", ended.pid(), endedIdentity, "", RunOutcome::Interrupted},
        {"id now another process's", CurrentProcessId(), "0:12345", "", RunOutcome::Interrupted},
        {"living child", living.pid(), ProcessStartIdentity(living.pid()), "", RunOutcome::Running},
        {"this process", 0, "", "", RunOutcome::Running},
        {"another station's", ended.pid(), endedIdentity, "another-station", RunOutcome::Running},
    };
    std::vector<std::string> uuids;
    for (const auto& c : cases) {
        RunRecord run = test::SampleRun(0, "1-1");
        run.processId = c.pid;
        run.processStart = c.identity;
        run.station.host = c.host;
        ASSERT_TRUE(store->BeginRun(run).ok());
        uuids.push_back(run.uuid);
    }
    // Each begin looks at the runs begun before it; an open looks at them all.
    std::unique_ptr<RecordStore> later;
    ASSERT_TRUE(RecordStore::Open(path, &later).ok());
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(OutcomeOf(*later, uuids[i]), cases[i].expected) << cases[i].name;
    }
    RunRecord interrupted;
    ASSERT_TRUE(later->ReadRun(uuids[0], &interrupted).ok());
    EXPECT_FALSE(interrupted.reason.empty());
    EXPECT_FALSE(interrupted.endedMs.has_value());

    int marked = -1;
    ASSERT_TRUE(later->MarkInterruptedRuns(&marked).ok());
    EXPECT_EQ(marked, 0);

    // A begin looks again as well.
    living.End();
    RunRecord next = test::SampleRun(1, "1-1");
    ASSERT_TRUE(later->BeginRun(next).ok());
    EXPECT_EQ(OutcomeOf(*later, uuids[2]), RunOutcome::Interrupted);
    EXPECT_EQ(OutcomeOf(*later, uuids[3]), RunOutcome::Running);
    EXPECT_EQ(OutcomeOf(*later, next.uuid), RunOutcome::Running);
    // An interrupted run cannot be completed afterwards as if it had ended well.
    RunRecord late = test::SampleRun(2, "1-1");
    late.uuid = uuids[2];
    EXPECT_EQ(later->CompleteRun(late).code(), ResultCode::BadInput);
}

}  // namespace
}  // namespace tavlin
