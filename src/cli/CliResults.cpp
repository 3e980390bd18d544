#include "cli/CliResults.h"

#include <filesystem>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>

#include "base/FillText.h"
#include "base/StringTable.h"
#include "cli/CliSession.h"
#include "cli/RecordTexts.h"
#include "cli/UnitRecord.h"
#include "platform/FilePath.h"

#ifdef TAVLIN_RECORDS
#include "records/RecordExport.h"
#include "records/RecordStore.h"
#include "records/RecordTime.h"
#endif

namespace tavlin::cli {
namespace {

int Fail(CliOutput& output, RunReport* report, const std::string& text) {
    output.LineTo(stderr, "tavlin-cli: " + text);
    report->messages = output.messages();
    report->result = Result::Fail(ResultCode::BadInput, text);
    return kExitFailed;
}

#ifdef TAVLIN_RECORDS
// The start of the day, UTC, in milliseconds.
std::int64_t DayStartMs(const std::string& date) {
    std::tm day{};
    day.tm_year = std::stoi(date.substr(0, 4)) - 1900;
    day.tm_mon = std::stoi(date.substr(5, 2)) - 1;
    day.tm_mday = std::stoi(date.substr(8, 2));
#ifdef _WIN32
    return static_cast<std::int64_t>(_mkgmtime(&day)) * 1000;
#else
    return static_cast<std::int64_t>(timegm(&day)) * 1000;
#endif
}

std::string Line(const RunRecord& run) {
    return IsoUtcFromUnixMs(run.startedMs) + "  " + (run.unit.port.empty() ? "-" : run.unit.port) +
           "  " + run.command + "  " + RunOutcomeName(run.outcome) + "  exit " +
           (run.exitStatus ? std::to_string(*run.exitStatus) : std::string("-")) + "  " + run.uuid;
}

bool WriteWhole(const std::string& path, const std::string& text) {
    std::ofstream out(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return static_cast<bool>(out);
}
#endif

}  // namespace

int RunResults(const Invocation& invocation, const RunOptions& options, CliOutput& output,
               RunReport* report) {
#ifdef TAVLIN_RECORDS
    const std::string path = RecordPathFor(options);
    if (path.empty()) {
        return Fail(output, report, Tr(recordtext::kRecordsOff));
    }
    // Reading makes no database: a mistyped folder must not leave an empty one behind.
    std::error_code missing;
    if (!std::filesystem::exists(PathFromUtf8(path), missing)) {
        return Fail(output, report, FillText(Tr(recordtext::kNoDatabase), {path}));
    }
    std::unique_ptr<RecordStore> store;
    if (Result opened = RecordStore::Open(path, &store); !opened) {
        return Fail(output, report, opened.reason());
    }
    RecordStore::Query query;
    query.limit = invocation.command == Command::ResultsExport && invocation.lastRuns == 20
                      ? std::numeric_limits<int>::max()
                      : invocation.lastRuns;
    query.port = invocation.resultsPort;
    if (!invocation.resultsSince.empty()) {
        query.sinceMs = DayStartMs(invocation.resultsSince);
    }
    query.withDetails = invocation.command == Command::ResultsExport || options.json;
    std::vector<RunRecord> runs;
    if (Result read = store->LastRuns(query, &runs); !read) {
        return Fail(output, report, read.reason());
    }
    if (invocation.command == Command::ResultsExport) {
        const std::string text = invocation.csv ? RunsToCsv(runs) : RunsToJsonText(runs);
        if (!WriteWhole(invocation.file, text)) {
            return Fail(output, report, FillText(Tr(recordtext::kCannotWrite), {invocation.file}));
        }
        output.Line(
            FillText(Tr(recordtext::kExported), {std::to_string(runs.size()), invocation.file}));
    } else {
        for (const RunRecord& run : runs) {
            output.Line(Line(run));
        }
    }
    report->runs.emplace();
    for (const RunRecord& run : runs) {
        report->runs->push_back(RunToJson(run).dump());
    }
    report->messages = output.messages();
    report->result = Result::Ok();
    return kExitSuccess;
#else
    (void)invocation;
    (void)options;
    return Fail(output, report, Tr(recordtext::kNoRecordsInThisBuild));
#endif
}

}  // namespace tavlin::cli
