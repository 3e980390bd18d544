#include "cli/RunEnd.h"

#include <filesystem>

#include "base/FillText.h"
#include "base/Log.h"
#include "base/StringTable.h"
#include "base/Unexpected.h"
#include "cli/CliSession.h"
#include "platform/FilePath.h"

namespace tavlin::cli {

void SayUnexpected(const std::string& what) {
    std::fprintf(stderr, "tavlin-cli: %s\n", UnexpectedErrorText(what).c_str());
}

int RunEnd::Usage(const std::string& text) {
    std::fprintf(stderr, "tavlin-cli: %s\n", text.c_str());
    RunReport report;
    report.result = Result::Fail(ResultCode::BadInput, text);
    report.messages.push_back("tavlin-cli: " + text);
    return Finish(kExitUsage, report, false);
}

int RunEnd::Stopped(const Interruption& interruption, int status, RunReport* report) {
    if (!interruption.requested()) {
        return status;
    }
    report->interrupted = true;
    report->result = Result::Fail(ResultCode::Stopped, "interrupted");
    return kExitFailed;
}

void RunEnd::Unexpected(const std::string& what) {
    output_.LineTo(stderr, "tavlin-cli: " + UnexpectedErrorText(what));
    RunReport report;
    EndDeviceRun(what, &report);
    const bool logWritten = logStarted_ && LogStarted();
    if (logWritten) {
        LogEnd();
        report.logComplete = LogComplete();
    }
    report.messages = output_.messages();
    report.result = Result::Fail(ResultCode::Failed, what);
    Finish(kExitFailed, report, logWritten);
}

void RunEnd::Enter(station::CreatedTransport& transport, const std::string& recordPath) {
    std::lock_guard lock(runMutex_);
    run_ = &transport;
    recordPath_ = recordPath;
}

void RunEnd::SetPort(const std::string& port) {
    std::lock_guard lock(runMutex_);
    port_ = port;
}

void RunEnd::Leave(bool unwinding) {
    if (unwinding) {
        RunReport ignored;
        EndDeviceRun("an exception left the run", &ignored);
    }
    std::lock_guard lock(runMutex_);
    run_ = nullptr;
}

int RunEnd::Finish(int status, const RunReport& report, bool logWritten) {
    if (options_.json && !written_.exchange(true)) {
        std::string log;
        if (logWritten) {
            std::error_code ignored;
            log = Utf8FromPath(std::filesystem::absolute(PathFromUtf8(LogFilePath()), ignored));
        }
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start_);
        const std::string object = JsonReport(command_, status, report, log, elapsed.count());
        std::fputs(object.c_str(), stdout);
        std::fflush(stdout);
    }
    return status;
}

void RunEnd::EndDeviceRun(const std::string& what, RunReport* report) {
    std::lock_guard lock(runMutex_);
    report->port = port_;
    if (run_ == nullptr || deviceRunEnded_) {
        report->recording = recording_;
        report->device = device_;
        return;
    }
    deviceRunEnded_ = true;
    device_ = ReturnDeviceOnUnexpected();
    if (const auto ended = station::EndRecording(*run_, recordPath_,
                                                 "the run ended on an unexpected error: " + what)) {
        recording_ = {recordPath_, ended->complete, ended->reason};
        output_.LineTo(stderr, "tavlin-cli: " + ended->message);
    }
    report->recording = recording_;
    report->device = device_;
}

int FinishDeviceRun(RunEnd& end, station::CreatedTransport& transport,
                    const std::string& recordPath, const Interruption& interruption, int status,
                    RunReport* report, UnitRecord* record, bool requireRecord) {
    if (const std::string ranOut = station::ReplayRanOut(transport);
        !ranOut.empty() && !interruption.requested()) {
        end.output().LineTo(stderr, "tavlin-cli: " + ranOut);
        report->messages = end.output().messages();
        report->interrupted = false;
        report->result = Result::Fail(ResultCode::Failed, ranOut);
        status = kExitFailed;
    }
    // A replay that stopped short of the recorded run did not show what the recording holds.
    if (const std::string shortfall = station::ReplayShortfall(transport); !shortfall.empty()) {
        std::fprintf(stderr, "tavlin-cli: %s\n", shortfall.c_str());
        report->messages.push_back("tavlin-cli: " + shortfall);
        if (status == kExitSuccess) {
            report->result = Result::Fail(ResultCode::Failed, shortfall);
            status = kExitFailed;
        }
    }
    // A log or a recording cut short is told, but the job's exit status stays the job's: stopping
    // a firmware update midway for either would be worse.
    const bool logWritten = LogStarted();
    if (logWritten) {
        report->logComplete = LogComplete();
    }
    if (logWritten && !*report->logComplete) {
        const std::string text = FillText(LoadString(IDS_LOG_INCOMPLETE), {LogFilePath()});
        std::fprintf(stderr, "tavlin-cli: %s", text.c_str());
    }
    if (const auto ended = station::EndRecording(transport, recordPath)) {
        report->recording = {recordPath, ended->complete, ended->reason};
        if (!ended->complete) {
            std::fprintf(stderr, "tavlin-cli: %s\n", ended->message.c_str());
        }
    }
    if (!record->Complete(status, report) && requireRecord && status == kExitSuccess) {
        report->result = Result::Fail(ResultCode::Failed,
                                      "the run's record was not kept: " + report->record->reason);
        status = kExitFailed;
    }
    return end.Finish(status, *report, logWritten);
}

}  // namespace tavlin::cli
