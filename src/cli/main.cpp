// tavlin-cli: the headless front end for production lines and service scripts.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/Log.h"
#include "base/LogFolder.h"
#include "base/StringTable.h"
#include "cli/CliArgs.h"
#include "cli/CliCalibrate.h"
#include "cli/CliLanguage.h"
#include "cli/CliSession.h"
#include "cli/JsonReport.h"
#include "cli/QuitSignalWatch.h"
#include "cli/RunOptions.h"
#include "device/HidDevice.h"
#include "platform/FilePath.h"
#include "trace/TransportFactory.h"

namespace {

using Clock = std::chrono::steady_clock;

// The end of every run: with --json the one object on stdout, then the exit status.
class RunEnd {
  public:
    RunEnd(const tavlin::cli::RunOptions& options, std::string command)
        : options_(options), command_(std::move(command)), start_(Clock::now()) {}

    // Texts for people: stdout, unless stdout carries the JSON object.
    std::FILE* people() const { return options_.json ? stderr : stdout; }

    // A usage error: one line on stderr, exit status 2.
    int Usage(const std::string& text) {
        std::fprintf(stderr, "tavlin-cli: %s\n", text.c_str());
        tavlin::cli::RunReport report;
        report.result = tavlin::Result::Fail(tavlin::ResultCode::BadInput, text);
        report.messages.push_back("tavlin-cli: " + text);
        return Finish(tavlin::cli::kExitUsage, report, false);
    }

    // A run without a device that a signal reached: stopped, whatever it got done.
    static int Stopped(const tavlin::cli::Interruption& interruption, int status,
                       tavlin::cli::RunReport* report) {
        if (!interruption.requested()) {
            return status;
        }
        report->interrupted = true;
        report->result = tavlin::Result::Fail(tavlin::ResultCode::Stopped, "interrupted");
        return tavlin::cli::kExitFailed;
    }

    int Finish(int status, const tavlin::cli::RunReport& report, bool logWritten) {
        if (options_.json) {
            std::string log;
            if (logWritten) {
                std::error_code ignored;
                log = tavlin::Utf8FromPath(std::filesystem::absolute(
                    tavlin::PathFromUtf8(tavlin::LogFilePath()), ignored));
            }
            const auto elapsed =
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_);
            const std::string object =
                tavlin::cli::JsonReport(command_, status, report, log, elapsed.count());
            std::fputs(object.c_str(), stdout);
            std::fflush(stdout);
        }
        return status;
    }

  private:
    const tavlin::cli::RunOptions& options_;
    const std::string command_;
    const Clock::time_point start_;
};

}  // namespace

int main(int argc, char** argv) {
    // First of all: a signal at any moment of the run, even while the arguments are read, takes
    // the exit path and ends with the run's JSON object.
    tavlin::cli::Interruption interruption;
    const tavlin::cli::QuitSignalWatch quitSignals(interruption);
    const auto transportOptions = tavlin::trace::ConsumeTransportOptions(&argc, argv);
    tavlin::cli::CliLanguage language(argv);
    std::vector<std::string> args(argv + 1, argv + argc);

    tavlin::cli::RunOptions options;
    std::string error;
    const bool optionsOk = tavlin::cli::ConsumeRunOptions(&args, &options, &error);
    RunEnd end(options, args.empty() ? std::string() : args[0]);
    tavlin::cli::Invocation invocation;
    if (!optionsOk || !tavlin::cli::ParseInvocation(args, &invocation, &error)) {
        return end.Usage(error + " (see --help)");
    }
    tavlin::cli::RunReport report;
    if (invocation.command == tavlin::cli::Command::Help) {
        std::fputs(tavlin::cli::UsageText(), end.people());
        return end.Finish(end.Stopped(interruption, tavlin::cli::kExitSuccess, &report), report,
                          false);
    }

    if (invocation.command == tavlin::cli::Command::Layout) {
        tavlin::cli::CliOutput output(end.people());
        const int status =
            tavlin::cli::RunLayout(invocation, output, &report);  // no device, no log
        report.messages = output.messages();
        return end.Finish(end.Stopped(interruption, status, &report), report, false);
    }

    // Before anything runs: a log folder that cannot be written must not cost the run its log.
    if (!options.logDir.empty()) {
        std::string refusal;
        if (!tavlin::UseLogFolder(options.logDir, &refusal)) {
            while (!refusal.empty() && refusal.back() == '\n') {
                refusal.pop_back();
            }
            return end.Usage(refusal);
        }
    }
    auto transport = tavlin::trace::CreateTransport(transportOptions, &error);
    if (!transport) {
        return end.Usage(error);
    }
    int status =
        tavlin::cli::RunSession(invocation, *transport.transport, end.people(),
                                tavlin::kTransferTimeoutMs, &interruption, stderr, &report);
    // A replay that stopped short of the recorded run did not show what the recording holds.
    if (const std::string shortfall = tavlin::trace::ReplayShortfall(transport); !shortfall.empty()) {
        std::fprintf(stderr, "tavlin-cli: %s\n", shortfall.c_str());
        report.messages.push_back("tavlin-cli: " + shortfall);
        if (status == tavlin::cli::kExitSuccess) {
            report.result = tavlin::Result::Fail(tavlin::ResultCode::Failed, shortfall);
            status = tavlin::cli::kExitFailed;
        }
    }
    // A log or a recording cut short is told, but the job's exit status stays the job's: stopping
    // a firmware update midway for either would be worse.
    const bool logWritten = tavlin::LogStarted();
    if (logWritten) {
        report.logComplete = tavlin::LogComplete();
    }
    if (logWritten && !*report.logComplete) {
        std::string text = tavlin::LoadString(tavlin::IDS_LOG_INCOMPLETE);
        if (const size_t at = text.find("%s"); at != std::string::npos) {
            text.replace(at, 2, tavlin::LogFilePath());
        }
        std::fprintf(stderr, "tavlin-cli: %s", text.c_str());
    }
    if (const auto ended = tavlin::trace::EndRecording(transport, transportOptions.record)) {
        report.recording = {transportOptions.record, ended->complete, ended->reason};
        if (!ended->complete) {
            std::fprintf(stderr, "tavlin-cli: %s\n", ended->message.c_str());
        }
    }
    return end.Finish(status, report, logWritten);
}
