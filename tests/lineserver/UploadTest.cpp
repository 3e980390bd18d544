// The upload against a real PostgreSQL 15 server: one throwaway cluster for the whole program,
// a database of its own for each case.
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>
#include <thread>

#include "lineserver/PgCluster.h"
#include "lineserver/ServerSchema.h"
#include "lineserver/Station.h"
#include "records/RecordExport.h"

namespace tavlin::test {
namespace {

PgCluster* g_cluster = nullptr;

using Counts = std::pair<std::int64_t, std::int64_t>;

testing::AssertionResult Sent(const Result& result) {
    return result ? testing::AssertionSuccess() : testing::AssertionFailure() << result.reason();
}

std::int64_t Count(const std::string& server, const std::string& sql) {
    const auto rows = g_cluster->Rows(server, sql);
    return rows.empty() ? -1 : std::stoll(rows[0][0]);
}

// How many runs the server holds, and how many different UUIDs among them.
Counts ServerRuns(const std::string& server) {
    const auto rows =
        g_cluster->Rows(server, "SELECT count(*), count(DISTINCT uuid) FROM tavlin.run");
    return {std::stoll(rows.at(0).at(0)), std::stoll(rows.at(0).at(1))};
}

std::optional<std::int64_t> OptionalInt(const std::string& text) {
    return text == "NULL" ? std::nullopt : std::optional<std::int64_t>(std::stoll(text));
}

std::optional<double> OptionalReal(const std::string& text) {
    return text == "NULL" ? std::nullopt : std::optional<double>(std::stod(text));
}

// The run as the server keeps it, in the station's terms.
RunRecord ServerRun(const std::string& server, const std::string& uuid) {
    RunRecord run;
    const auto rows = g_cluster->Rows(
        server,
        "SELECT id, uuid, station_host, tool_version, command, arguments::text, started_ms, "
        "ended_ms, outcome, exit_status, reason, operator, lot, pid, process_start, port, "
        "product_id, mode, versions_before, versions_after FROM tavlin.run "
        "JOIN tavlin.unit ON run_id = id WHERE uuid = '" +
            uuid + "'");
    EXPECT_EQ(rows.size(), 1u) << uuid;
    if (rows.size() != 1) {
        return run;
    }
    const auto& r = rows[0];
    const std::string id = r[0];
    run.uuid = r[1];
    run.station = {r[2], r[3]};
    run.command = r[4];
    run.arguments = nlohmann::json::parse(r[5]).get<std::vector<std::string>>();
    run.startedMs = std::stoll(r[6]);
    run.endedMs = OptionalInt(r[7]);
    run.outcome = RunOutcomeFromName(r[8]).value_or(RunOutcome::Running);
    if (const auto status = OptionalInt(r[9])) {
        run.exitStatus = static_cast<int>(*status);
    }
    run.reason = r[10];
    run.operatorName = r[11];
    run.lot = r[12];
    run.processId = std::stoll(r[13]);
    run.processStart = r[14];
    run.unit = {r[15], OptionalInt(r[16]), OptionalInt(r[17]), r[18], r[19]};
    const std::string where = " WHERE run_id = " + id + " ORDER BY position";
    for (const auto& s : g_cluster->Rows(
             server, "SELECT name, started_ms, ended_ms, outcome FROM tavlin.step" + where)) {
        run.steps.push_back({s[0], std::stoll(s[1]), std::stoll(s[2]), s[3]});
    }
    for (const auto& m : g_cluster->Rows(server,
                                         "SELECT name, value, unit, low, high, outcome "
                                         "FROM tavlin.measurement" +
                                             where)) {
        run.measurements.push_back(
            {m[0], std::stod(m[1]), m[2], OptionalReal(m[3]), OptionalReal(m[4]), m[5]});
    }
    for (const auto& a :
         g_cluster->Rows(server, "SELECT kind, path, sha256, size FROM tavlin.artefact" + where)) {
        run.artefacts.push_back({a[0], a[1], a[2], std::stoll(a[3])});
    }
    for (const auto& i : g_cluster->Rows(server,
                                         "SELECT section, sensor, size, sha256, "
                                         "version_written, verify_result "
                                         "FROM tavlin.image" +
                                             where)) {
        run.images.push_back({i[0], std::stoll(i[1]), std::stoll(i[2]), i[3], i[4], i[5]});
    }
    return run;
}

TEST(Upload, TheServersRowsAreTheStations) {
    const std::string server = g_cluster->EmptyServer();
    Station station;
    const std::vector<std::string> uuids = station.AddRuns(3);
    // A run without details or exit status, and with text that needs escaping.
    RunRecord bare;
    bare.command = "versions";
    bare.reason = "device said 'no'; \"quoted\" \\ and 中文";
    ASSERT_TRUE(station.store().BeginRun(bare).ok());
    bare.outcome = RunOutcome::Stopped;
    ASSERT_TRUE(station.store().CompleteRun(bare).ok());

    lineserver::UploadSummary summary;
    ASSERT_TRUE(Sent(station.Upload(server, &summary)));
    EXPECT_EQ(summary.sent, 4);
    EXPECT_EQ(summary.waiting, 0);
    std::vector<std::string> all = uuids;
    all.push_back(bare.uuid);
    for (const std::string& uuid : all) {
        RunRecord kept;
        ASSERT_TRUE(station.store().ReadRun(uuid, &kept).ok());
        EXPECT_EQ(RunToJson(ServerRun(server, uuid)).dump(1), RunToJson(kept).dump(1));
    }
    EXPECT_EQ(Count(server, "SELECT count(*) FROM tavlin.schema_version"), 1);
    EXPECT_EQ(Count(server, "SELECT version FROM tavlin.schema_version"),
              lineserver::kServerSchemaVersion);
}

TEST(Upload, NothingWaitingNeedsNoServer) {
    Station station;
    lineserver::UploadSummary summary;
    EXPECT_TRUE(station.Upload("host=/nonexistent port=1", &summary).ok());
    EXPECT_EQ(summary.sent, 0);
}

TEST(Upload, RunsMadeWhileTheServerIsDownAllArriveOnceWhenItIsBack) {
    const std::string server = g_cluster->EmptyServer();
    Station station;
    ASSERT_TRUE(g_cluster->Stop("fast"));
    for (int run = 1; run <= 20; ++run) {
        station.AddRuns(1);
        lineserver::UploadSummary summary;
        EXPECT_FALSE(station.Upload(server, &summary).ok());
        EXPECT_EQ(summary.sent, 0);
        EXPECT_EQ(summary.waiting, run);
    }
    ASSERT_TRUE(g_cluster->Restart());
    lineserver::UploadSummary summary;
    ASSERT_TRUE(Sent(station.Upload(server, &summary, 7)));
    EXPECT_EQ(summary.sent, 20);
    EXPECT_EQ(summary.waiting, 0);
    EXPECT_EQ(ServerRuns(server), Counts(20, 20));
    // Sent again (as after a COMMIT whose answer was lost): stored once all the same.
    RawDb(station.path()).Exec("INSERT INTO outbox (run_uuid, queued_ms) SELECT uuid, 0 FROM run");
    ASSERT_TRUE(Sent(station.Upload(server, &summary)));
    EXPECT_EQ(summary.sent, 20);
    EXPECT_EQ(ServerRuns(server), Counts(20, 20));
    EXPECT_EQ(Count(server, "SELECT count(*) FROM tavlin.step"), 40);
}

// Where the upload is cut: between two batches, in the middle of one (its insert waiting for
// a lock when the server stops), or at a COMMIT the server refuses.
enum class Cut { BetweenBatches, WhileSending, AtCommit };

struct CutCase {
    const char* name;
    Cut cut;
};

class UploadCut : public testing::TestWithParam<CutCase> {};

TEST_P(UploadCut, NothingIsLostAndNothingDoubled) {
    constexpr int kRuns = 120;
    const std::string server = g_cluster->EmptyServer();
    Station station;
    station.AddRuns(kRuns);
    std::thread stopper;
    PGconn* locker = nullptr;
    lineserver::UploadSummary first;
    const Result cut = station.Upload(server, &first, 20, [&](std::int64_t sent) {
        if (sent != 40) {
            return;
        }
        switch (GetParam().cut) {
            case Cut::BetweenBatches:
                g_cluster->Stop("immediate");
                break;
            case Cut::WhileSending:
                locker = PQconnectdb(server.c_str());
                PQclear(PQexec(locker, "BEGIN; LOCK TABLE tavlin.run IN SHARE MODE"));
                stopper = std::thread([] {
                    std::this_thread::sleep_for(std::chrono::milliseconds(300));
                    g_cluster->Stop("immediate");
                });
                break;
            case Cut::AtCommit:
                g_cluster->Rows(
                    server,
                    "CREATE FUNCTION tavlin.refuse() RETURNS trigger LANGUAGE plpgsql AS "
                    "$$BEGIN RAISE EXCEPTION 'refused at commit'; END$$; "
                    "CREATE CONSTRAINT TRIGGER refuse AFTER INSERT ON tavlin.run "
                    "DEFERRABLE INITIALLY DEFERRED FOR EACH ROW "
                    "EXECUTE FUNCTION tavlin.refuse()");
                break;
        }
    });
    if (stopper.joinable()) {
        stopper.join();
    }
    PQfinish(locker);
    EXPECT_FALSE(cut.ok());
    EXPECT_GE(first.sent, 40);
    EXPECT_LT(first.sent, kRuns);
    EXPECT_EQ(first.waiting, kRuns - first.sent);

    if (GetParam().cut == Cut::AtCommit) {
        g_cluster->Rows(server, "DROP TRIGGER refuse ON tavlin.run");
    } else {
        ASSERT_TRUE(g_cluster->Restart());
    }
    EXPECT_LE(ServerRuns(server).first, kRuns);
    lineserver::UploadSummary second;
    ASSERT_TRUE(station.Upload(server, &second).ok()) << station.Upload(server).reason();
    EXPECT_EQ(first.sent + second.sent, kRuns);
    EXPECT_EQ(station.Waiting(), 0);
    EXPECT_EQ(ServerRuns(server), Counts(kRuns, kRuns));
    EXPECT_EQ(Count(server, "SELECT count(*) FROM tavlin.image"), 2 * kRuns);
}

INSTANTIATE_TEST_SUITE_P(Upload, UploadCut,
                         testing::Values(CutCase{"BetweenBatches", Cut::BetweenBatches},
                                         CutCase{"WhileSending", Cut::WhileSending},
                                         CutCase{"AtCommit", Cut::AtCommit}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Upload, AServerWithOtherTablesIsRefusedAndTheRunsWait) {
    for (const int version : {0, lineserver::kServerSchemaVersion + 1}) {
        const std::string server = g_cluster->EmptyServer();
        Station station;
        station.AddRuns(1);
        ASSERT_TRUE(Sent(station.Upload(server)));
        g_cluster->Rows(server,
                        "UPDATE tavlin.schema_version SET version = " + std::to_string(version));
        station.AddRuns(2);
        const Result refused = station.Upload(server);
        EXPECT_EQ(refused.code(), ResultCode::BadInput);
        EXPECT_NE(refused.reason().find("version " + std::to_string(version)), std::string::npos)
            << refused.reason();
        EXPECT_EQ(station.Waiting(), 2);
        EXPECT_EQ(ServerRuns(server).first, 1);
    }
}

TEST(Upload, EightStationsAtOnceOnAFreshServer) {
    constexpr int kStations = 8;
    constexpr int kRuns = 12;
    const std::string server = g_cluster->EmptyServer();
    std::vector<std::unique_ptr<Station>> stations;
    for (int i = 0; i < kStations; ++i) {
        stations.push_back(std::make_unique<Station>());
        stations.back()->AddRuns(kRuns);
    }
    // One process per station, as on a line: each its own connection, all starting together
    // on a server without tables yet.
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    std::vector<pid_t> children;
    for (auto& station : stations) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(ready[1]);
            char go = 0;
            const bool started = read(ready[0], &go, 1) >= 0;
            // The child's own connection to the station's file: SQLite's do not cross a fork.
            std::unique_ptr<RecordStore> own;
            lineserver::UploadSettings settings;
            settings.server = server;
            settings.batchSize = 5;
            lineserver::UploadSummary summary;
            const bool sent = started && RecordStore::Open(station->path(), &own).ok() &&
                              lineserver::UploadOutbox(*own, settings, &summary).ok();
            _exit(sent ? 0 : 1);
        }
        children.push_back(child);
    }
    close(ready[0]);
    close(ready[1]);  // every child's read returns at once
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(ServerRuns(server), Counts(kStations * kRuns, kStations * kRuns));
    EXPECT_EQ(Count(server, "SELECT count(*) FROM tavlin.schema_version"), 1);
    EXPECT_EQ(Count(server, "SELECT count(DISTINCT station_host) FROM tavlin.run"), kStations);
    for (auto& station : stations) {
        EXPECT_EQ(station->Waiting(), 0);
    }
}

}  // namespace
}  // namespace tavlin::test

int main(int argc, char** argv) {
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
