#include "records/RecordExport.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "records/RecordTestFiles.h"
#include "records/RecordTime.h"

namespace tavlin {
namespace {

RunRecord ExportedRun() {
    RunRecord run = test::SampleRun(1, "1-2.3");
    run.uuid = "0f8fad5b-d9cb-469f-a165-70867728950e";
    run.station.host = "station-4";
    run.startedMs = 1796982605123;  // 2026-12-11T09:50:05.123Z
    run.endedMs = 1796982610000;
    return run;
}

TEST(RecordTimeTest, IsoUtcText) {
    const struct {
        std::int64_t ms;
        const char* text;
    } cases[] = {
        {0, "1970-01-01T00:00:00.000Z"},
        {1796982605123, "2026-12-11T09:50:05.123Z"},
        {-1, "1969-12-31T23:59:59.999Z"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsoUtcFromUnixMs(c.ms), c.text);
    }
}

TEST(RecordExportTest, JsonIsOneNestedObjectPerRunWithNumbersAsNumbers) {
    const RunRecord run = ExportedRun();
    const auto array = nlohmann::json::parse(RunsToJsonText({run, run}));
    ASSERT_TRUE(array.is_array());
    ASSERT_EQ(array.size(), 2u);
    const auto& object = array[0];
    EXPECT_EQ(object["uuid"], run.uuid);
    EXPECT_EQ(object["station"]["host"], "station-4");
    EXPECT_EQ(object["started"], "2026-12-11T09:50:05.123Z");
    EXPECT_EQ(object["startedMs"], 1796982605123);
    EXPECT_EQ(object["outcome"], "passed");
    EXPECT_EQ(object["exitStatus"], 0);
    EXPECT_EQ(object["arguments"][2], "package, with \"quotes\"");
    EXPECT_EQ(object["unit"]["port"], "1-2.3");
    EXPECT_EQ(object["unit"]["productId"], 0x55);
    ASSERT_EQ(object["measurements"].size(), 3u);
    const auto& first = object["measurements"][0];
    EXPECT_TRUE(first["value"].is_number_float());
    EXPECT_DOUBLE_EQ(first["value"].get<double>(), 13.0);
    EXPECT_DOUBLE_EQ(first["high"].get<double>(), 28.5);
    EXPECT_TRUE(object["measurements"][1]["low"].is_null());
    EXPECT_EQ(object["images"][1]["sensor"], 1);
    EXPECT_EQ(object["artefacts"][0]["size"], 4096);
    EXPECT_EQ(object["steps"][1]["name"], "images");
}

TEST(RecordExportTest, RunStillGoingHasNoEnd) {
    RunRecord run = ExportedRun();
    run.outcome = RunOutcome::Running;
    run.endedMs.reset();
    run.exitStatus.reset();
    const auto object = RunToJson(run);
    EXPECT_TRUE(object["ended"].is_null());
    EXPECT_TRUE(object["endedMs"].is_null());
    EXPECT_TRUE(object["exitStatus"].is_null());
    EXPECT_EQ(object["outcome"], "running");
}

TEST(RecordExportTest, CsvHasOneLinePerMeasurement) {
    RunRecord other = ExportedRun();
    other.uuid = "7c9e6679-7425-40de-944b-e07fc1f90ae7";
    other.unit.port = "2-1";
    other.outcome = RunOutcome::Failed;
    other.measurements = {{"gain", 1e-7, "", std::nullopt, std::nullopt, "failed"}};
    RunRecord empty = ExportedRun();
    empty.measurements.clear();
    EXPECT_EQ(RunsToCsv({ExportedRun(), empty, other}),
              "run_uuid,started,port,run_outcome,name,value,unit,low,high,outcome\r\n"
              "0f8fad5b-d9cb-469f-a165-70867728950e,2026-12-11T09:50:05.123Z,1-2.3,passed,"
              "start line Master,13,line,4,28.5,passed\r\n"
              "0f8fad5b-d9cb-469f-a165-70867728950e,2026-12-11T09:50:05.123Z,1-2.3,passed,"
              "exposure,0.1,ms,,2,passed\r\n"
              "0f8fad5b-d9cb-469f-a165-70867728950e,2026-12-11T09:50:05.123Z,1-2.3,passed,"
              "\"offset, x\",-3.25,px,-5,,passed\r\n"
              "7c9e6679-7425-40de-944b-e07fc1f90ae7,2026-12-11T09:50:05.123Z,2-1,failed,"
              "gain,1e-07,,,,failed\r\n");
}

TEST(RecordOutcomeTest, NamesReadBack) {
    for (RunOutcome outcome : {RunOutcome::Running, RunOutcome::Passed, RunOutcome::Failed,
                               RunOutcome::Interrupted, RunOutcome::Stopped}) {
        EXPECT_EQ(RunOutcomeFromName(RunOutcomeName(outcome)), outcome);
    }
    EXPECT_FALSE(RunOutcomeFromName("Passed").has_value());
}

}  // namespace
}  // namespace tavlin
