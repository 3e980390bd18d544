#pragma once
#include <atomic>
#include <chrono>
#include <cstdio>
#include <exception>
#include <mutex>
#include <optional>
#include <string>

#include "base/Unexpected.h"
#include "cli/CliOutput.h"
#include "cli/Interruption.h"
#include "cli/JsonReport.h"
#include "cli/RunOptions.h"
#include "cli/UnitRecord.h"
#include "station/Transports.h"

namespace tavlin::cli {

// What the program says of an exception nobody expected when no run is there to end.
void SayUnexpected(const std::string& what);

// The end of every run: with --json the one object on stdout, then the exit status.
class RunEnd {
  public:
    RunEnd(const RunOptions& options, std::string command)
        : options_(options),
          command_(std::move(command)),
          start_(std::chrono::steady_clock::now()) {}

    // Texts for people: stdout, unless stdout carries the JSON object.
    std::FILE* people() const { return options_.json ? stderr : stdout; }

    // A usage error: one line on stderr, exit status 2.
    int Usage(const std::string& text);

    // A run without a device that a signal reached: stopped, whatever it got done.
    static int Stopped(const Interruption& interruption, int status, RunReport* report);

    // The run's texts for people, kept for the object.
    CliOutput& output() { return output_; }

    // An exception nobody expected, from any thread: the message on stderr, the run's device
    // and recording ended as far as they can be, the log's end line, and the object (with every
    // message printed so far) unless the run has written it already.
    void Unexpected(const std::string& what);

    // From here on the run writes its log.
    void LogStarts() { logStarted_ = true; }

    // While a device run is under way: its transport (recording included) and the port it
    // works on, for an unexpected error's end. The run ends it normally by Leave().
    void Enter(station::CreatedTransport& transport, const std::string& recordPath);
    void SetPort(const std::string& port);
    // An exception that leaves the run on this thread is ended here, while the transport is
    // still there: an error on another thread comes through Unexpected() instead.
    void Leave(bool unwinding);

    int Finish(int status, const RunReport& report, bool logWritten);

  private:
    // Once: the device back to work mode where the link allows, and the recording closed as
    // one that does not hold the whole run.
    void EndDeviceRun(const std::string& what, RunReport* report);

    const RunOptions& options_;
    const std::string command_;
    const std::chrono::steady_clock::time_point start_;
    CliOutput output_{people()};
    std::atomic<bool> written_{false};  // the object is written once, by whoever comes first
    std::atomic<bool> logStarted_{false};
    std::mutex runMutex_;  // guards what follows
    station::CreatedTransport* run_ = nullptr;
    std::string recordPath_;
    std::string port_;
    bool deviceRunEnded_ = false;
    std::optional<RunReport::Recording> recording_;
    std::optional<RunReport::DeviceIds> device_;
};

// Registers a device run with the run's end while it lives; an exception that unwinds through
// it ends the run's device and recording on the way out.
class DeviceRunScope {
  public:
    DeviceRunScope(RunEnd& end, station::CreatedTransport& transport, const std::string& recordPath)
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
        SetUnexpectedReport([&end](const std::string& what) { end.Unexpected(what); });
    }
    ~UnexpectedThroughRunEnd() { SetUnexpectedReport(SayUnexpected); }
    UnexpectedThroughRunEnd(const UnexpectedThroughRunEnd&) = delete;
    UnexpectedThroughRunEnd& operator=(const UnexpectedThroughRunEnd&) = delete;
};

// What a run on a device tells at its end, after its session: a replay that ran out or fell
// short of the recorded run, a log or a recording cut short; then the object and the status.
// The run's record is completed last, before the object: a record that could not be kept fails
// the run only with `requireRecord`.
int FinishDeviceRun(RunEnd& end, station::CreatedTransport& transport,
                    const std::string& recordPath, const Interruption& interruption, int status,
                    RunReport* report, UnitRecord* record, bool requireRecord);

}  // namespace tavlin::cli
