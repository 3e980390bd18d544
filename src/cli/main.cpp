// tavlin-cli: the headless front end for production lines and service scripts.
#include <cstdio>
#include <filesystem>
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
#include "cli/CliPackage.h"
#include "cli/CliResults.h"
#include "cli/CliSession.h"
#include "cli/CliUpload.h"
#include "cli/JsonReport.h"
#include "cli/QuitSignalWatch.h"
#include "cli/RecordTexts.h"
#include "cli/ResumeUpdate.h"
#include "cli/RunEnd.h"
#include "cli/RunOptions.h"
#include "cli/StationTexts.h"
#include "cli/UnitRecord.h"
#include "cli/UsageTexts.h"
#include "device/HidDevice.h"
#include "platform/CommandLine.h"
#include "platform/FilePath.h"
#include "platform/ProgramPath.h"
#include "station/Station.h"
#include "station/Transports.h"
#include "trace/ReplayTransport.h"

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

using tavlin::cli::RunEnd;

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
int RunAll(RunEnd& end, tavlin::HidTransport& transport, const std::vector<std::string>& command,
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
    std::vector<std::string> arguments = options.handedToCopies;
    // The copies keep their records in the one database this run would have used, not one in
    // each device's log folder.
    if (options.results.empty() && !tavlin::cli::RecordPathFor(options).empty()) {
        std::error_code ignored;
        arguments.push_back(
            "--results=" +
            tavlin::Utf8FromPath(std::filesystem::absolute(
                tavlin::PathFromUtf8(tavlin::cli::RecordPathFor(options)), ignored)));
    }
    arguments.insert(arguments.end(), command.begin(), command.end());
    const tavlin::cli::AllDevicesRun run{tavlin::CurrentProgramPath(), arguments, options.logDir};
    int status = tavlin::cli::RunOnAllDevices(run, ports, end.output(), interruption, &report);
    report.messages = end.output().messages();
    status = end.Stopped(interruption, status, &report);
    return end.Finish(status, report, false);
}

// What needs no device of its own: the texts, the layout, the list, and --all (whose copies
// each take one); nothing when the run is one on a device.
std::optional<int> RunWithoutDevice(RunEnd& end, const tavlin::cli::Invocation& invocation,
                                    const std::vector<std::string>& command,
                                    const tavlin::cli::RunOptions& options,
                                    tavlin::cli::Interruption& interruption) {
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

    if (invocation.command == tavlin::cli::Command::Results ||
        invocation.command == tavlin::cli::Command::ResultsExport) {
        const int status = tavlin::cli::RunResults(invocation, options, end.output(), &report);
        return end.Finish(end.Stopped(interruption, status, &report), report, false);
    }
    if (invocation.command == tavlin::cli::Command::ResultsUpload) {
        const int status = tavlin::cli::RunResultsUpload(options, end.output(), &report);
        return end.Finish(end.Stopped(interruption, status, &report), report, false);
    }
    if (invocation.command == tavlin::cli::Command::PackageManifest ||
        invocation.command == tavlin::cli::Command::PackageVerify) {
        const int status = tavlin::cli::RunPackage(invocation, end.output(), &report);
        return end.Finish(end.Stopped(interruption, status, &report), report, false);
    }
    if (invocation.command == tavlin::cli::Command::Layout) {
        tavlin::cli::CliOutput output(end.people());
        const int status =
            tavlin::cli::RunLayout(invocation, output, &report);  // no device, no log
        report.messages = output.messages();
        return end.Finish(end.Stopped(interruption, status, &report), report, false);
    }

    if (options.all) {
        if (!options.device.empty() || !options.transport.record.empty() ||
            !options.transport.replay.empty()) {
            return end.Usage(tavlin::Tr(tavlin::cli::kAllAlone));
        }
        std::string error;
        auto transport = tavlin::station::CreateTransport(options.transport, &error);
        if (!transport) {
            return end.Usage(error);
        }
        return RunAll(end, *transport.transport, command, options, interruption);
    }

    if (invocation.command == tavlin::cli::Command::List) {
        std::string error;
        auto transport = tavlin::station::CreateTransport(options.transport, &error);
        if (!transport) {
            return end.Usage(error);
        }
        const int status = tavlin::cli::RunList(*transport.transport, end.output(), &report);
        report.messages = end.output().messages();
        return end.Finish(end.Stopped(interruption, status, &report), report, false);
    }
    return std::nullopt;
}

// One device: the log, the transport, the device chosen, the session, and what it tells at
// its end.
int RunOnDevice(RunEnd& end, const tavlin::cli::Invocation& invocation,
                const std::vector<std::string>& command, const tavlin::cli::RunOptions& options,
                tavlin::cli::Interruption& interruption) {
    tavlin::cli::RunReport report;
    // Before anything runs: a log folder that cannot be written, or a log name that is no
    // regular file, in the folder asked for or the current one, must not cost the run its log.
    if (std::string refusal; !tavlin::station::PrepareRunLog(options.logDir, &refusal)) {
        return RefuseLogFolder(end, std::move(refusal));
    }
    // A package is read and checked before any device is opened: one that fails its check
    // never costs a unit anything.
    tavlin::cli::Invocation onDevice = invocation;
    const bool resume = invocation.command == tavlin::cli::Command::Update && invocation.resume;
    if (resume && tavlin::cli::RecordPathFor(options).empty()) {
        return end.Usage(tavlin::Tr(tavlin::cli::recordtext::kResumeNeedsRecords));
    }
    // --resume's package is the port's, known once the device is chosen.
    if (invocation.command == tavlin::cli::Command::Update && !resume) {
        // The check goes in the run's own log, which a refusal then ends.
        tavlin::LogStart();
        end.LogStarts();
        onDevice.logStarted = true;
        const tavlin::Result checked =
            tavlin::cli::CheckUpdatePackage(invocation, end.output(), &report, &onDevice.package);
        if (!checked.ok()) {
            tavlin::LogEnd();
            report.logComplete = tavlin::LogComplete();
            report.messages = end.output().messages();
            report.result = checked;
            return end.Finish(tavlin::cli::kExitFailed, report, true);
        }
    }
    tavlin::station::Station station;
    std::string refusal;
    const tavlin::Result opened =
        tavlin::station::OpenStation(options.transport, options.device,
                                     tavlin::station::SeveralDevices::Refuse, &station, &refusal);
    if (!opened && onDevice.logStarted) {
        tavlin::LogEnd();  // the package's check started it
    }
    if (opened.code() == tavlin::ResultCode::BadInput) {
        return end.Usage(refusal);
    }
    if (!opened) {
        std::fprintf(stderr, "tavlin-cli: %s\n", refusal.c_str());
        report.messages.push_back("tavlin-cli: " + refusal);
        report.result = opened;
        return end.Finish(tavlin::cli::kExitNoDevice, report, false);
    }
    // What the station knows of the unit's last update: told when it is found cut, and taken
    // by --resume.
    if (invocation.command == tavlin::cli::Command::Update ||
        invocation.command == tavlin::cli::Command::Detect) {
        const tavlin::cli::PortUpdateHistory history =
            tavlin::cli::ReadPortUpdateHistory(options, station.device.port, end.output());
        onDevice.unfinished = history.unfinished;
        if (resume) {
            report.port = station.device.port;
            if (const auto refused = tavlin::cli::PrepareResume(end, station.device.port, history,
                                                                &onDevice, &report)) {
                return *refused;
            }
        }
    }
    tavlin::station::CreatedTransport& transport = station.transport;
    const tavlin::cli::DeviceRunScope deviceRun(end, transport, options.transport.record);
    report.port = station.device.port;
    if (!station.device.port.empty()) {
        end.SetPort(report.port);
    }
    // The session stops for a signal, and for a replayed recording that ran out: waiting on
    // would only wait out the command's own time limits and blame the device.
    tavlin::cli::Interruption sessionStop;
    const auto forward = interruption.OnRequest([&sessionStop] { sessionStop.Request(); });
    if (transport.replay) {
        transport.replay->OnRanOut([&sessionStop](int) { sessionStop.Request(); });
    }
    end.LogStarts();
    // Written as running before the session starts, so a run cut off stays visible.
    tavlin::cli::UnitRecord record(
        options, command.empty() ? std::string() : command[0],
        std::vector<std::string>(command.begin() + (command.empty() ? 0 : 1), command.end()));
    if (invocation.command == tavlin::cli::Command::Script ||
        invocation.command == tavlin::cli::Command::Fpga) {
        record.KeepInput(invocation.command == tavlin::cli::Command::Script ? "script" : "fpga",
                         invocation.file);
    }
    record.Begin(station.device.port);
    if (invocation.command == tavlin::cli::Command::Update) {
        onDevice.journal = record.Journal();
    }
    onDevice.keptPort = station.device.keptPort;
    int status = tavlin::cli::RunSession(onDevice, *transport.transport, end.output(),
                                         tavlin::kTransferTimeoutMs, &sessionStop, stderr, &report);
    if (transport.replay) {
        transport.replay->OnRanOut(nullptr);
    }
    report.port = station.device.port;
    status = tavlin::cli::FinishDeviceRun(end, transport, options.transport.record, interruption,
                                          status, &report, &record, options.requireRecord);
    // Once the station has the run's verdict: the server is no part of it.
    tavlin::cli::UploadAfterRun(options);
    return status;
}

int RunCommand(RunEnd& end, const tavlin::cli::Invocation& invocation,
               const tavlin::cli::RunOptions& options, const std::vector<std::string>& command,
               tavlin::cli::Interruption& interruption) {
    if (const auto status = RunWithoutDevice(end, invocation, command, options, interruption)) {
        return *status;
    }
    return RunOnDevice(end, invocation, command, options, interruption);
}

int Run(tavlin::Utf8Arguments& arguments) {
    // First of all: a signal at any moment of the run, even while the arguments are read, takes
    // the exit path and ends with the run's JSON object. The watch is told when everything is
    // written (the recording flushed, the log's end line, the JSON object): Windows ends a
    // process whose console closes as soon as the watch lets it.
    tavlin::cli::Interruption interruption;
    tavlin::cli::QuitSignalWatch quitSignals(interruption);
    // The language before the options: a refused option is told in it.
    tavlin::cli::InstallCliLanguage(arguments.argv());
    std::vector<std::string> words;
    for (int i = 1; i < arguments.argc(); ++i) {
        words.emplace_back(arguments.argv()[i]);
    }
    tavlin::cli::RunOptions options;
    std::vector<std::string> args;
    std::string error;
    const bool optionsOk = tavlin::cli::ReadRunOptions(words, &options, &args, &error);
    std::string commandName = args.empty() ? std::string() : args[0];
    if (options.help || options.version) {
        commandName = options.help ? "--help" : "--version";
    }
    RunEnd end(options, commandName);
    const tavlin::cli::UnexpectedThroughRunEnd unexpected(end);
    try {
        tavlin::cli::Invocation invocation;
        invocation.command =
            options.help ? tavlin::cli::Command::Help : tavlin::cli::Command::Version;
        const bool parsed = optionsOk && (options.help || options.version ||
                                          tavlin::cli::ParseInvocation(args, &invocation, &error));
        if (!parsed || !tavlin::station::CheckTransportOptions(options.transport, &error)) {
            return end.Usage(tavlin::FillText(tavlin::Tr(tavlin::cli::usage::kSeeHelp), {error}));
        }
        invocation.trustedKeys = options.trustedKeys;
        invocation.requireSigned = options.requireSigned;
        const int status = RunCommand(end, invocation, options, args, interruption);
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
    tavlin::SetUnexpectedReport(tavlin::cli::SayUnexpected);
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
    return Main([&] { return tavlin::Utf8Arguments(argc, argv); });
}
#endif
