// The window's upload: each run's record goes to the line's server from the window's own
// uploader thread once it is committed, and waits in the outbox while the server is away.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>
#include <QTemporaryDir>
#include <chrono>
#include <thread>

#include "app/WindowRecords.h"
#include "lineserver/PgCluster.h"
#include "records/RecordStore.h"

namespace tavlin::test {
namespace {

PgCluster* g_cluster = nullptr;

// Runs `done` until it holds, for at most ten seconds, letting queued calls reach this thread.
bool Within(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

std::int64_t Waiting(const std::string& database) {
    std::unique_ptr<RecordStore> store;
    std::int64_t size = -1;
    if (!RecordStore::Open(database, &store) || !store->OutboxSize(&size)) {
        return -1;
    }
    return size;
}

std::int64_t ServerRuns(const std::string& server) {
    try {
        return std::stoll(g_cluster->Rows(server, "SELECT count(*) FROM tavlin.run").at(0).at(0));
    } catch (const std::exception&) {
        return -1;  // no tables yet
    }
}

// One window run on `records`, completed as passed; true once its result was shown.
bool RunOnce(WindowRecords& records, QObject& window) {
    bool shown = false;
    records.Complete(
        records.Begin("mode", {}, "sim-1"), nullptr, [](RunRecord&) { return Result::Ok(); },
        &window, [&shown](const std::string& warning) { shown = warning.empty(); });
    return Within([&] { return shown; });
}

TEST(WindowUpload, EachRunReachesTheServerAndWaitsWhileItIsAway) {
    QTemporaryDir folder;
    const std::string database = folder.filePath("Tavlin_results.sqlite").toStdString();
    const std::string server = g_cluster->EmptyServer();
    QObject window;
    {
        // A server nobody listens at: the run is kept and waits in the outbox.
        WindowRecords records(WindowRecordOptions{
            database, {}, "Ana", "L-7", "host=" + folder.path().toStdString() + " port=1"});
        ASSERT_TRUE(RunOnce(records, window));
    }  // the uploader's pass has ended
    EXPECT_EQ(Waiting(database), 1);
    {
        WindowRecords records(WindowRecordOptions{database, {}, "Ana", "L-7", server});
        // The one left waiting goes as the window starts ...
        EXPECT_TRUE(Within([&] { return ServerRuns(server) == 1 && Waiting(database) == 0; }))
            << ServerRuns(server) << " on the server, " << Waiting(database) << " waiting";
        // ... and each new run once it is kept.
        ASSERT_TRUE(RunOnce(records, window));
        EXPECT_TRUE(Within([&] { return ServerRuns(server) == 2 && Waiting(database) == 0; }))
            << ServerRuns(server) << " on the server, " << Waiting(database) << " waiting";
    }
}

}  // namespace
}  // namespace tavlin::test

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    std::string why;
    std::unique_ptr<tavlin::test::PgCluster> cluster = tavlin::test::PgCluster::Start(&why);
    if (!cluster) {
        std::printf("skipped: %s\n", why.c_str());
        return tavlin::test::PgCluster::kSkipped;
    }
    tavlin::test::g_cluster = cluster.get();
    return RUN_ALL_TESTS();
}
