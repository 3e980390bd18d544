// What a run puts into its record, the same for both front ends.
#include <gtest/gtest.h>

#include <filesystem>

#include "records/RecordContent.h"

namespace tavlin {
namespace {

TEST(RecordContent, StationRecordPath) {
    struct Case {
        const char* results;
        const char* logDir;
        std::string path;
    };
    const Case cases[] = {
        {"", "", "Tavlin_results.sqlite"},
        // The log folder's, in the system's own spelling of a path.
        {"", "logs", (std::filesystem::path("logs") / "Tavlin_results.sqlite").string()},
        {"station.sqlite", "logs", "station.sqlite"},
        {"none", "logs", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StationRecordPath(c.results, c.logDir), c.path) << c.results << " " << c.logDir;
    }
    EXPECT_TRUE(RecordsOff("none"));
    EXPECT_FALSE(RecordsOff(""));
}

TEST(RecordContent, MeasurementsKeepNumbersUnitsAndLimits) {
    RunRecord record;
    AddCheckPoint(record, 1, 0.5, 2.0, true);
    AddCheckPoint(record, 2, 2.004, 2.0, true);  // the check compares at its shown precision
    AddCheckPoint(record, 3, 3.25, 2.0, false);
    AddTarget(record, 4, 960, 540);
    AddRegister(record, 0x1234, 0x5a);
    AddSensor(record, "slave", {7, 10, 630, std::pair{100u, 200u}});
    EXPECT_EQ(VersionsText(0x12, 0xab), "M--00000012, S--000000ab");

    struct Expected {
        const char* name;
        double value;
        const char* unit;
        std::optional<double> high;
        const char* outcome;
    };
    const Expected expected[] = {
        {"point 1.error", 0.5, "mm", 2.0, "passed"},
        {"point 2.error", 2.004, "mm", 2.0, "passed"},
        {"point 3.error", 3.25, "mm", 2.0, "failed"},
        {"target 4.x", 960, "px", std::nullopt, ""},
        {"target 4.y", 540, "px", std::nullopt, ""},
        {"register 0x00001234", 0x5a, "", std::nullopt, ""},
        {"slave.start_line", 7, "line", std::nullopt, ""},
        {"slave.start_column", 10, "column", std::nullopt, ""},
        {"slave.end_column", 630, "column", std::nullopt, ""},
        {"slave.exposure_1", 100, "", std::nullopt, ""},
        {"slave.exposure_2", 200, "", std::nullopt, ""},
    };
    ASSERT_EQ(record.measurements.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const MeasurementRecord& m = record.measurements[i];
        EXPECT_EQ(m.name, expected[i].name);
        EXPECT_DOUBLE_EQ(m.value, expected[i].value) << m.name;
        EXPECT_EQ(m.unit, expected[i].unit) << m.name;
        EXPECT_FALSE(m.low.has_value()) << m.name;
        EXPECT_EQ(m.high, expected[i].high) << m.name;
        EXPECT_EQ(m.outcome, expected[i].outcome) << m.name;
    }
}

}  // namespace
}  // namespace tavlin
