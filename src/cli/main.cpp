// tavlin-cli: the headless front end for production lines and service scripts.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "base/FillText.h"
#include "base/Log.h"
#include "base/LogFolder.h"
#include "base/StringTable.h"
#include "base/Unexpected.h"
#include "cli/AllDevices.h"
#include "cli/CliArgs.h"
#include "cli/CliCalibrate.h"
#include "cli/CliDevices.h"
#include "cli/CliLanguage.h"
#include "cli/CliSession.h"
#include "cli/JsonReport.h"
#include "cli/QuitSignalWatch.h"
#include "cli/RunOptions.h"
#include "cli/StationTexts.h"
#include "cli/UsageTexts.h"
#include "device/HidDevice.h"
#include "platform/CommandLine.h"
#include "platform/FilePath.h"
#include "platform/ProgramPath.h"
#include "trace/ReplayTransport.h"
#include "trace/TransportFactory.h"

#ifndef _WIN32
#include "platform/QuitSignalPipe.h"
#include "platform/StandardStreams.h"

// Before any shared library's constructor runs, which may open files of its own and takes time:
// the loader maps every library before main, and a SIGTERM then would end the run before it
// could take its exit path.
static void AtStart(int argc, char** argv, char** envp) {
    tavlin::OccupyClosedStandardStreams(argc, argv, envp);
    tavlin::HoldQuitSignalsAtStart(argc, argv, envp);
}

// One pointer, not an array: the compiler aligns an array of two to 16 bytes, and behind a
// sanitizer's own entry that leaves an empty slot the loader calls as address zero.
__attribute__((section(".preinit_array"), used)) static void (*const kAtStart)(int, char**,
                                                                               char**) = AtStart;
#endif

namespace {

using Clock = std::chrono::steady_clock;

void SayUnexpected(const std::string& what) {
    std::fprintf(stderr, "tavlin-cli: %s\n", tavlin::UnexpectedErrorText(what).c_str());
}

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

    // The run's texts for people, kept for the object.
    tavlin::cli::CliOutput& output() { return output_; }

    // An exception nobody expected, from any thread: the message on stderr, the run's device
    // and recording ended as far as they can be, the log's end line, and the object (with every
    // message printed so far) unless the run has written it already.
    void Unexpected(const std::string& what) {
        output_.LineTo(stderr, "tavlin-cli: " + tavlin::UnexpectedErrorText(what));
        tavlin::cli::RunReport report;
        EndDeviceRun(what, &report);
        const bool logWritten = logStarted_ && tavlin::LogStarted();
        if (logWritten) {
            tavlin::LogEnd();
            report.logComplete = tavlin::LogComplete();
        }
        report.messages = output_.messages();
        report.result = tavlin::Result::Fail(tavlin::ResultCode::Failed, what);
        Finish(tavlin::cli::kExitFailed, report, logWritten);
    }

    // From here on the run writes its log.
    void LogStarts() { logStarted_ = true; }

    // While a device run is under way: its transport (recording included) and the port it
    // works on, for an unexpected error's end. The run ends it normally by Leave().
    void Enter(tavlin::trace::CreatedTransport& transport, const std::string& recordPath) {
        std::lock_guard lock(runMutex_);
        run_ = &transport;
        recordPath_ = recordPath;
    }
    void SetPort(const std::string& port) {
        std::lock_guard lock(runMutex_);
        port_ = port;
    }
    // An exception that leaves the run on this thread is ended here, while the transport is
    // still there: an error on another thread comes through Unexpected() instead.
    void Leave(bool unwinding) {
        if (unwinding) {
            tavlin::cli::RunReport ignored;
            EndDeviceRun("an exception left the run", &ignored);
        }
        std::lock_guard lock(runMutex_);
        run_ = nullptr;
    }

    int Finish(int status, const tavlin::cli::RunReport& report, bool logWritten) {
        if (options_.json && !written_.exchange(true)) {
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
    // Once: the device back to work mode where the link allows, and the recording closed as
    // one that does not hold the whole run.
    void EndDeviceRun(const std::string& what, tavlin::cli::RunReport* report) {
        std::lock_guard lock(runMutex_);
        report->port = port_;
        if (run_ == nullptr || deviceRunEnded_) {
            report->recording = recording_;
            report->device = device_;
            return;
        }
        deviceRunEnded_ = true;
        device_ = tavlin::cli::ReturnDeviceOnUnexpected();
        if (const auto ended = tavlin::trace::EndRecording(
                *run_, recordPath_, "the run ended on an unexpected error: " + what)) {
            recording_ = {recordPath_, ended->complete, ended->reason};
            output_.LineTo(stderr, "tavlin-cli: " + ended->message);
        }
        report->recording = recording_;
        report->device = device_;
    }

    const tavlin::cli::RunOptions& options_;
    const std::string command_;
    const Clock::time_point start_;
    tavlin::cli::CliOutput output_{people()};
    std::atomic<bool> written_{false};  // the object is written once, by whoever comes first
    std::atomic<bool> logStarted_{false};
    std::mutex runMutex_;  // guards what follows
    tavlin::trace::CreatedTransport* run_ = nullptr;
    std::string recordPath_;
    std::string port_;
    bool deviceRunEnded_ = false;
    std::optional<tavlin::cli::RunReport::Recording> recording_;
    std::optional<tavlin::cli::RunReport::DeviceIds> device_;
};

// Registers a device run with the run's end while it lives; an exception that unwinds through
// it ends the run's device and recording on the way out.
class DeviceRunScope {
  public:
    DeviceRunScope(RunEnd& end, tavlin::trace::CreatedTransport& transport,
                   const std::string& recordPath)
        : end_(end), exceptions_(std::uncaught_exceptions()) {
        end_.Enter(transport, recordPath);
    }
    ~DeviceRunScope() { end_.Leave(std::uncaught_exceptions() > exceptions_); }
    DeviceRunScope(const DeviceRunScope&) = delete;
    DeviceRunScope& operator=(const DeviceRunScope&) = delete;

  private:
    RunEnd& end_;
    const int exceptions_;
};

// While it lives, an unexpected exception is reported through the run's end.
class UnexpectedThroughRunEnd {
  public:
    explicit UnexpectedThroughRunEnd(RunEnd& end) {
        tavlin::SetUnexpectedReport([&end](const std::string& what) { end.Unexpected(what); });
    }
    ~UnexpectedThroughRunEnd() { tavlin::SetUnexpectedReport(SayUnexpected); }
    UnexpectedThroughRunEnd(const UnexpectedThroughRunEnd&) = delete;
    UnexpectedThroughRunEnd& operator=(const UnexpectedThroughRunEnd&) = delete;
};

// A log folder that cannot be written is a usage error: the run does not start without its log.
int RefuseLogFolder(RunEnd& end, std::string refusal) {
    while (!refusal.empty() && refusal.back() == '\n') {
        refusal.pop_back();
    }
    return end.Usage(refusal);
}

bool RunsOnAllDevices(tavlin::cli::Command command) {
    using tavlin::cli::Command;
    return command == Command::Versions || command == Command::ModeWork ||
           command == Command::ModeCalibration || command == Command::Update;
}

// --all: every attached device at once, each in a copy of this program.
int RunAll(RunEnd& end, tavlin::HidTransport& transport,
           const std::vector<std::string>& originalArguments,
           const tavlin::cli::RunOptions& options, tavlin::cli::Interruption& interruption) {
    tavlin::cli::RunReport report;
    std::vector<std::string> ports;
    for (const tavlin::AttachedDevice& device : tavlin::ListAttachedDevices(transport)) {
        ports.push_back(device.port);
    }
    if (ports.empty()) {
        end.output().Line(tavlin::LoadString(tavlin::IDS_NO_DEVICE));
        report.messages = end.output().messages();
        report.result = tavlin::Result::Fail(tavlin::ResultCode::NoDevice, "no device attached");
        return end.Finish(tavlin::cli::kExitNoDevice, report, false);
    }
    // Every copy would refuse a log folder it cannot write, so none is started then.
    if (std::string refusal;
        !tavlin::cli::CheckDeviceLogFolders(options.logDir, ports, &refusal).ok()) {
        return RefuseLogFolder(end, std::move(refusal));
    }
    const tavlin::cli::AllDevicesRun run{tavlin::CurrentProgramPath(), originalArguments,
                                         options.logDir};
    int status = tavlin::cli::RunOnAllDevices(run, ports, end.output(), interruption, &report);
    report.messages = end.output().messages();
    status = end.Stopped(interruption, status, &report);
    return end.Finish(status, report, false);
}

// The device, the run and its end.
int RunCommand(RunEnd& end, const tavlin::cli::Invocation& invocation,
               const tavlin::trace::TransportOptions& transportOptions,
               const tavlin::cli::RunOptions& options, tavlin::cli::Interruption& interruption,
               const std::vector<std::string>& originalArguments) {
    tavlin::cli::RunReport report;
    // Before anything answers: --all with a command it cannot run is refused, --help and
    // --version included, rather than quietly doing something else than all devices.
    if (options.all && !RunsOnAllDevices(invocation.command)) {
        return end.Usage(tavlin::Tr(tavlin::cli::kAllCommands));
    }
    if (invocation.command == tavlin::cli::Command::Help) {
        std::fputs(tavlin::cli::UsageText().c_str(), end.people());
        return end.Finish(end.Stopped(interruption, tavlin::cli::kExitSuccess, &report), report,
                          false);
    }
    if (invocation.command == tavlin::cli::Command::Version) {
        std::fprintf(end.people(), "tavlin-cli %s\n", tavlin::cli::ToolVersion());
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

    if (options.all) {
        if (!options.device.empty() || !transportOptions.record.empty() ||
            !transportOptions.replay.empty()) {
            return end.Usage(tavlin::Tr(tavlin::cli::kAllAlone));
        }
        std::string error;
        auto transport = tavlin::trace::CreateTransport(transportOptions, &error);
        if (!transport) {
            return end.Usage(error);
        }
        return RunAll(end, *transport.transport, originalArguments, options, interruption);
    }

    if (invocation.command == tavlin::cli::Command::List) {
        std::string error;
        auto transport = tavlin::trace::CreateTransport(transportOptions, &error);
        if (!transport) {
            return end.Usage(error);
        }
        const int status = tavlin::cli::RunList(*transport.transport, end.output(), &report);
        report.messages = end.output().messages();
        return end.Finish(end.Stopped(interruption, status, &report), report, false);
    }

    // Before anything runs: a log folder that cannot be written, or a log name that is no
    // regular file, in the folder asked for or the current one, must not cost the run its log.
    {
        std::string refusal;
        const tavlin::Result log = options.logDir.empty()
                                       ? tavlin::CheckLogFile(&refusal)
                                       : tavlin::UseLogFolder(options.logDir, &refusal);
        if (!log) {
            return RefuseLogFolder(end, std::move(refusal));
        }
    }
    std::string error;
    auto transport = tavlin::trace::CreateTransport(transportOptions, &error);
    if (!transport) {
        return end.Usage(error);
    }
    // One device of several: the one asked for, or the only one there. A replay keeps to the port
    // its recorded run chose, and takes no look at the attached devices: the recorded run's look
    // went past the recording, and an extra look would pace the recorded arrivals and removals.
    std::string port = options.device;
    if (port.empty() && transport.replay) {
        port = transport.replay->RecordedPort();
    }
    tavlin::HidTransport* listing = nullptr;
    if (!transport.replay) {
        listing = transport.base ? transport.base.get() : transport.transport.get();
    }
    tavlin::cli::DeviceChoice choice =
        tavlin::cli::ChooseDevice(*transport.transport, listing, port);
    if (!choice.refusal.empty() && choice.refusalStatus == tavlin::cli::kExitUsage) {
        return end.Usage(choice.refusal);
    }
    if (!choice.refusal.empty()) {
        std::fprintf(stderr, "tavlin-cli: %s\n", choice.refusal.c_str());
        report.messages.push_back("tavlin-cli: " + choice.refusal);
        report.result = tavlin::Result::Fail(tavlin::ResultCode::NoDevice, choice.refusal);
        return end.Finish(choice.refusalStatus, report, false);
    }
    const DeviceRunScope deviceRun(end, transport, transportOptions.record);
    report.port = choice.port;
    if (!choice.port.empty()) {
        end.SetPort(report.port);
        tavlin::trace::RecordPort(transport, report.port);
    }
    tavlin::HidTransport& device = choice.transport ? *choice.transport : *transport.transport;
    // The session stops for a signal, and for a replayed recording that ran out: waiting on
    // would only wait out the command's own time limits and blame the device.
    tavlin::cli::Interruption sessionStop;
    const auto forward = interruption.OnRequest([&sessionStop] { sessionStop.Request(); });
    if (transport.replay) {
        transport.replay->OnRanOut([&sessionStop](int) { sessionStop.Request(); });
    }
    end.LogStarts();
    int status = tavlin::cli::RunSession(invocation, device, end.output(),
                                         tavlin::kTransferTimeoutMs, &sessionStop, stderr, &report);
    if (transport.replay) {
        transport.replay->OnRanOut(nullptr);
    }
    report.port = choice.port;
    if (const std::string ranOut = tavlin::trace::ReplayRanOut(transport);
        !ranOut.empty() && !interruption.requested()) {
        end.output().LineTo(stderr, "tavlin-cli: " + ranOut);
        report.messages = end.output().messages();
        report.interrupted = false;
        report.result = tavlin::Result::Fail(tavlin::ResultCode::Failed, ranOut);
        status = tavlin::cli::kExitFailed;
    }
    // A replay that stopped short of the recorded run did not show what the recording holds.
    if (const std::string shortfall = tavlin::trace::ReplayShortfall(transport);
        !shortfall.empty()) {
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
        const std::string text = tavlin::FillText(tavlin::LoadString(tavlin::IDS_LOG_INCOMPLETE),
                                                  {tavlin::LogFilePath()});
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

int Run(tavlin::Utf8Arguments& arguments) {
    // First of all: a signal at any moment of the run, even while the arguments are read, takes
    // the exit path and ends with the run's JSON object. The watch is told when everything is
    // written (the recording flushed, the log's end line, the JSON object): Windows ends a
    // process whose console closes as soon as the watch lets it.
    tavlin::cli::Interruption interruption;
    tavlin::cli::QuitSignalWatch quitSignals(interruption);
    // As given, for the copies --all starts.
    std::vector<std::string> originalArguments;
    for (int i = 1; i < arguments.argc(); ++i) {
        originalArguments.emplace_back(arguments.argv()[i]);
    }
    // The language before the options: a refused option is told in it.
    tavlin::cli::InstallCliLanguage(arguments.argv());
    std::string transportError;
    const auto transportOptions = tavlin::trace::ConsumeTransportOptions(
        &arguments.argc(), arguments.argv(), &transportError);
    std::vector<std::string> args;
    for (int i = 1; i < arguments.argc(); ++i) {
        args.emplace_back(arguments.argv()[i]);
    }

    tavlin::cli::RunOptions options;
    std::string error;
    const bool optionsOk = tavlin::cli::ConsumeRunOptions(&args, &options, &error);
    RunEnd end(options, args.empty() ? std::string() : args[0]);
    const UnexpectedThroughRunEnd unexpected(end);
    try {
        tavlin::cli::Invocation invocation;
        if (!transportError.empty()) {
            return end.Usage(
                tavlin::FillText(tavlin::Tr(tavlin::cli::usage::kSeeHelp), {transportError}));
        }
        if (!optionsOk || !tavlin::cli::ParseInvocation(args, &invocation, &error) ||
            !tavlin::trace::CheckTransportOptions(transportOptions, &error)) {
            return end.Usage(tavlin::FillText(tavlin::Tr(tavlin::cli::usage::kSeeHelp), {error}));
        }
        const int status =
            RunCommand(end, invocation, transportOptions, options, interruption, originalArguments);
        quitSignals.RunEnded();
        return status;
    } catch (...) {
        tavlin::ReportUnexpected(tavlin::CurrentExceptionText());
        return tavlin::cli::kExitFailed;
    }
}

// No exception leaves the program: one that nobody expected ends the run with a message on
// stderr, a line in the log (and with --json the object) and exit status 1.
template <typename MakeArguments>
int Main(MakeArguments makeArguments) {
    tavlin::InstallUnexpectedTerminate();
    tavlin::SetUnexpectedReport(SayUnexpected);
    tavlin::UseUtf8ConsoleOutput();  // the texts are UTF-8, Chinese among them
    try {
        tavlin::Utf8Arguments arguments = makeArguments();
        return Run(arguments);
    } catch (...) {
        tavlin::ReportUnexpected(tavlin::CurrentExceptionText());
        return tavlin::cli::kExitFailed;
    }
}

}  // namespace

#ifdef _WIN32
// The wide arguments (linked with -municode): the ANSI ones cannot hold every file name.
int wmain(int argc, wchar_t** argv) {
    return Main([&] { return tavlin::Utf8Arguments(argc, argv); });
}
#else
int main(int argc, char** argv) {
    tavlin::IgnoreClosedOutputSignal();
    return Main([&] { return tavlin::Utf8Arguments(argc, argv); });
}
#endif
