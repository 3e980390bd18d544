#include "cli/ResumeUpdate.h"

#include <filesystem>
#include <system_error>

#include "base/FillText.h"
#include "base/Log.h"
#include "base/StringTable.h"
#include "cli/CliPackage.h"
#include "cli/CliSession.h"
#include "cli/RecordTexts.h"
#include "cli/UnitRecord.h"
#include "platform/FilePath.h"

namespace tavlin::cli {
namespace {

// The package's image names are read relative to the current folder.
bool ImagesNamedRelative(const std::vector<RunReport::PackageFile>& files) {
    for (size_t i = 1; i < files.size(); ++i) {
        if (PathFromUtf8(files[i].path).is_relative()) {
            return true;
        }
    }
    return false;
}

bool InFolder(const std::string& folder) {
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    return !error && std::filesystem::equivalent(here, PathFromUtf8(folder), error) && !error;
}

}  // namespace

PortUpdateHistory ReadPortUpdateHistory(const RunOptions& options, const std::string& port,
                                        CliOutput& output) {
    PortUpdateHistory history;
    if (!FindUnfinishedUpdate(options, port, &history.unfinished, &history.files,
                              &history.unreadable)) {
        output.LineTo(stderr, "tavlin-cli: " + history.unreadable);
        WriteLogSized(history.unreadable.size() + 64, "Run records not read: %s\n",
                      history.unreadable.c_str());
    }
    return history;
}

std::optional<int> PrepareResume(RunEnd& end, const std::string& port,
                                 const PortUpdateHistory& history, Invocation* onDevice,
                                 RunReport* report) {
    LogStart();
    end.LogStarts();
    onDevice->logStarted = true;
    const auto refuse = [&](const std::string& text, const Result& result) {
        if (!text.empty()) {
            end.output().LineTo(stderr, "tavlin-cli: " + text);
        }
        WriteLogSized(result.reason().size() + 64, "Update FW: not resumed: %s\n",
                      result.reason().c_str());
        LogEnd();
        report->logComplete = LogComplete();
        report->messages = end.output().messages();
        report->result = result;
        return end.Finish(kExitFailed, *report, true);
    };
    if (!history.unreadable.empty()) {
        return refuse("", Result::Fail(ResultCode::IoError, history.unreadable));
    }
    if (!history.unfinished) {
        return refuse(FillText(Tr(recordtext::kNothingToResume), {port}),
                      Result::Fail(ResultCode::BadInput, "no unfinished update on port " + port));
    }
    const RunReport::InterruptedUpdate& cut = *history.unfinished;
    if (ImagesNamedRelative(history.files) && !InFolder(cut.folder)) {
        return refuse(FillText(Tr(recordtext::kResumeInFolder), {cut.folder}),
                      Result::Fail(ResultCode::BadInput, "the update ran in " + cut.folder));
    }
    onDevice->file = cut.package;
    end.output().Line(FillText(Tr(recordtext::kResuming), {cut.package}));
    WriteLogSized(cut.package.size() + cut.run.size() + 96,
                  "Update FW: resuming the unfinished update of run %s with \"%s\"\n",
                  cut.run.c_str(), cut.package.c_str());
    if (Result checked = CheckUpdatePackage(*onDevice, end.output(), report, &onDevice->package);
        !checked.ok()) {
        return refuse("", checked);  // the check has told why
    }
    if (const std::string difference = DifferenceFromRecorded(history.files, *onDevice->package);
        !difference.empty()) {
        onDevice->package.reset();
        return refuse(
            FillText(Tr(recordtext::kPackageChanged), {difference}),
            Result::Fail(ResultCode::BadInput,
                         "the package changed since the unfinished update: " + difference));
    }
    return std::nullopt;
}

}  // namespace tavlin::cli
