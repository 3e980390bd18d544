#include "cli/UnitRecord.h"

#include <filesystem>
#include <system_error>

#include "base/FillText.h"
#include "base/Log.h"
#include "base/StringTable.h"
#include "cli/CliSession.h"
#include "cli/JsonReport.h"
#include "cli/RecordTexts.h"
#include "platform/FilePath.h"

#include "records/RunRecord.h"
#ifdef TAVLIN_RECORDS
#include "records/ArtefactFile.h"
#include "records/RecordContent.h"
#include "records/RecordStore.h"
#include "records/RecordTime.h"
#include "records/RecordedUpdateJournal.h"
#else
namespace tavlin {
// A build without SQLite never opens a store.
class RecordStore {};
class RecordedUpdateJournal {};
}  // namespace tavlin
#endif

namespace tavlin::cli {
namespace {

#ifdef TAVLIN_RECORDS
// What the run found out, in the record's terms.
void Fill(const RunReport& report, RunRecord& record) {
    record.unit.port = report.port;
    if (report.device) {
        record.unit.productId = report.device->productId;
    }
    if (report.versionsBefore) {
        record.unit.versionsBefore =
            VersionsText(report.versionsBefore->master, report.versionsBefore->slave);
    }
    if (report.versions) {
        record.unit.versionsAfter = VersionsText(report.versions->master, report.versions->slave);
    }
    const char* verify = !report.verified ? "skipped" : *report.verified ? "passed" : "failed";
    for (const RunReport::Image& image : report.images.value_or(std::vector<RunReport::Image>{})) {
        record.images.push_back({image.image, image.sensor == "slave" ? 1 : 0,
                                 static_cast<std::int64_t>(image.bytes), image.sha256, "", verify});
    }
    // The package as checked before the device was asked for anything: the hashes are those of
    // the bytes written. Who vouched for it is an artefact of its own, so the record's tables
    // stay as they are.
    for (const RunReport::PackageFile& file : report.packageFiles) {
        record.artefacts.push_back(
            {"package", file.path, file.sha256, static_cast<std::int64_t>(file.size)});
    }
    if (report.trust) {
        record.artefacts.push_back(
            {"package-trust",
             report.trust->isSigned ? "key " + report.trust->keyId + ": " + report.trust->comment
                                    : "none",
             "", 0});
    }
    for (const RunReport::Step& step : report.steps) {
        record.steps.push_back(
            {step.name, step.startedMs, step.endedMs, step.passed ? "passed" : "failed"});
    }
    if (report.value) {
        AddRegister(record, report.value->address, report.value->value);
    }
    if (report.sensors) {
        for (const auto& [name, sensor] :
             {std::pair{"master", report.sensors->master}, {"slave", report.sensors->slave}}) {
            AddSensor(record, name,
                      {sensor.startLine, sensor.startColumn, sensor.endColumn, sensor.exposure});
        }
    }
    for (const RunReport::Target& target :
         report.targets.value_or(std::vector<RunReport::Target>{})) {
        AddTarget(record, target.number, target.x, target.y);
    }
    AddLogArtefact(record);
    if (report.recording) {
        AddArtefact(record, "recording", report.recording->path);
    }
    for (const std::string& picture : report.pictures) {
        AddArtefact(record, "picture", picture);
    }
}

RunOutcome OutcomeOf(int status, const RunReport& report) {
    if (report.interrupted) {
        return RunOutcome::Stopped;
    }
    return status == kExitSuccess ? RunOutcome::Passed : RunOutcome::Failed;
}
#endif

}  // namespace

std::string RecordPathFor(const RunOptions& options) {
#ifdef TAVLIN_RECORDS
    return StationRecordPath(options.results, options.logDir);
#else
    (void)options;
    return {};
#endif
}

UnitRecord::UnitRecord(const RunOptions& options, std::string command,
                       std::vector<std::string> arguments)
    : path_(RecordPathFor(options)), record_(std::make_unique<RunRecord>()) {
    if (!path_.empty()) {
        std::error_code ignored;
        path_ = Utf8FromPath(
            std::filesystem::absolute(PathFromUtf8(path_), ignored).lexically_normal());
    }
    record_->command = std::move(command);
    record_->arguments = std::move(arguments);
    record_->station.toolVersion = ToolVersion();
    record_->operatorName = options.operatorName;
    record_->lot = options.lot;
#ifndef TAVLIN_RECORDS
    if (!options.results.empty() && !RecordsOff(options.results)) {
        path_ = options.results;
        lost_ = Tr(recordtext::kNoRecordsInThisBuild);
    }
#endif
    if (RecordsOff(options.results)) {
        WriteLog("Run records are off (--results none)\n");
    }
}

UnitRecord::~UnitRecord() = default;

bool FindUnfinishedUpdate(const RunOptions& options, const std::string& port,
                          std::optional<RunReport::InterruptedUpdate>* found,
                          std::vector<RunReport::PackageFile>* files, std::string* reason) {
    found->reset();
    files->clear();
#ifdef TAVLIN_RECORDS
    const std::string path = RecordPathFor(options);
    std::error_code error;
    if (path.empty() || port.empty() || !std::filesystem::exists(PathFromUtf8(path), error)) {
        return true;
    }
    std::unique_ptr<RecordStore> store;
    std::optional<UnfinishedUpdate> unfinished;
    Result read = RecordStore::Open(path, &store);
    if (read) {
        read = store->UnfinishedUpdateOn(port, "", &unfinished);
    }
    if (!read) {
        *reason = read.reason();
        return false;
    }
    if (unfinished) {
        const UpdateProgress& progress = unfinished->progress;
        *found = RunReport::InterruptedUpdate{
            unfinished->runUuid, progress.package, progress.packageSha256,
            progress.stage,      progress.image,   progress.imageNumber,
            progress.imageCount, progress.packet,  IsoUtcFromUnixMs(unfinished->startedMs),
            progress.folder};
        for (const ArtefactRecord& file : progress.files) {
            files->push_back({file.path, file.sha256, static_cast<uint64_t>(file.size)});
        }
    }
#else
    (void)options;
    (void)port;
    (void)reason;
#endif
    return true;
}

void UnitRecord::Lose(const std::string& reason) {
    if (lost_.empty()) {
        lost_ = reason;
    }
    store_.reset();
}

void UnitRecord::KeepInput(const char* kind, const std::string& path) {
#ifdef TAVLIN_RECORDS
    record_->artefacts.push_back(ArtefactOfFile(kind, path));
#else
    (void)kind;
    (void)path;
#endif
}

void UnitRecord::Begin(const std::string& port) {
#ifdef TAVLIN_RECORDS
    if (path_.empty() || !lost_.empty()) {
        return;
    }
    record_->unit.port = port;
    if (Result opened = RecordStore::Open(path_, &store_); !opened) {
        Lose(opened.reason());
        return;
    }
    if (Result begun = store_->BeginRun(*record_); !begun) {
        Lose(begun.reason());
    }
#else
    (void)port;
#endif
}

std::string DifferenceFromRecorded(const std::vector<RunReport::PackageFile>& recorded,
                                   const LoadedPackage& package) {
#ifdef TAVLIN_RECORDS
    std::vector<ArtefactRecord> kept;
    for (const RunReport::PackageFile& file : recorded) {
        kept.push_back({"package", file.path, file.sha256, static_cast<std::int64_t>(file.size)});
    }
    return PackageDifference(kept, package);
#else
    (void)recorded;
    (void)package;
    return "this build keeps no run records";
#endif
}

UpdateJournal* UnitRecord::Journal() {
#ifdef TAVLIN_RECORDS
    if (store_ == nullptr) {
        return nullptr;
    }
    if (journal_ == nullptr) {
        journal_ = std::make_unique<RecordedUpdateJournal>(path_, record_->uuid);
    }
    return journal_.get();
#else
    return nullptr;
#endif
}

bool UnitRecord::Complete(int status, RunReport* report) {
    if (path_.empty()) {
        return true;
    }
#ifdef TAVLIN_RECORDS
    if (journal_ != nullptr) {
        // Before the run's end: progress written after it would speak of a run that is over.
        if (Result kept = journal_->Finish(); !kept) {
            WriteLog("Update progress not kept: %s\n", kept.reason().c_str());
        }
    }
    if (store_ != nullptr) {
        Fill(*report, *record_);
        record_->outcome = OutcomeOf(status, *report);
        record_->exitStatus = status;
        record_->reason = report->result.reason();
        if (Result completed = store_->CompleteRun(*record_); !completed) {
            Lose(completed.reason());
        }
    }
#else
    (void)status;
#endif
    report->record = RunReport::Record{path_, record_->uuid, lost_.empty(), lost_};
    if (!lost_.empty()) {
        const std::string text = FillText(Tr(recordtext::kNotKept), {path_, lost_});
        std::fprintf(stderr, "tavlin-cli: %s\n", text.c_str());
        report->messages.push_back("tavlin-cli: " + text);
        // The session's log has had its end line by now; the line still belongs to this run.
        WriteLogSized(path_.size() + lost_.size() + 64, "Run record not kept in %s: %s\n",
                      path_.c_str(), lost_.c_str());
        return false;
    }
    return true;
}

}  // namespace tavlin::cli
