#pragma once
// The main window on a recorded session: once on the simulated device through the recorder,
// once with the recording replayed in the device's place. A tool window opened from it sends
// what the recording holds; a hold on one output report lets a test put the operator's action
// at the same point of the exchange in both runs.
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "app/CTavlinDlg.h"
#include "app/gui/SimulatedMainWindow.h"
#include "device/HidDevice.h"
#include "device/SharedState.h"
#include "sim/FaultPlanParser.h"
#include "sim/SimTransport.h"
#include "trace/RecordingTransport.h"
#include "trace/ReplayTransport.h"
#include "trace/TraceFormat.h"
#include "trace/TraceReader.h"
#include "trace/TraceWriter.h"

namespace tavlin::testing {

// Called on the writing thread before each output report goes out; it may hold the report
// there (a gated fake), as long as it lets it go within a bound.
using BeforeWrite = std::function<void(const uint8_t* report, size_t length)>;

// Also remembers the first write that failed: which output report it was (from 1) and what the
// link said.
class GatedTransport final : public HidTransport {
  public:
    struct Failure {
        int index = 0;  // 0: none failed
        std::string detail;
    };

    GatedTransport(HidTransport& inner, BeforeWrite before)
        : inner_(inner), before_(std::move(before)) {}

    std::vector<HidInterfaceInfo> Enumerate() override { return inner_.Enumerate(); }
    std::unique_ptr<HidConnection> Open(const std::string& path, int* errorCode) override {
        std::unique_ptr<HidConnection> connection = inner_.Open(path, errorCode);
        if (!connection) {
            return nullptr;
        }
        return std::make_unique<Connection>(std::move(connection), *this);
    }
    bool DeniesAccess(int errorCode) const override { return inner_.DeniesAccess(errorCode); }
    std::optional<std::pair<uint16_t, uint16_t>> Attributes(HidConnection& connection) override {
        return inner_.Attributes(*static_cast<Connection&>(connection).inner);
    }
    std::vector<uint8_t> ReportDescriptor(const std::string& path) override {
        return inner_.ReportDescriptor(path);
    }
    std::unique_ptr<DeviceChangeWatch> WatchPresence(std::function<void()> onChange) override {
        return inner_.WatchPresence(std::move(onChange));
    }

    Failure firstFailure() const {
        std::lock_guard lock(mutex_);
        return failure_;
    }

  private:
    struct Connection final : HidConnection {
        Connection(std::unique_ptr<HidConnection> c, GatedTransport& t)
            : inner(std::move(c)), transport(t) {}
        IoResult Write(const uint8_t* report, size_t length) override {
            if (transport.before_) {
                transport.before_(report, length);
            }
            IoResult result = inner->Write(report, length);
            transport.Count(result);
            return result;
        }
        IoResult Read(uint8_t* report, size_t length, int timeoutMs) override {
            return inner->Read(report, length, timeoutMs);
        }
        void DiscardPendingInput() override { inner->DiscardPendingInput(); }
        const std::string& Path() const override { return inner->Path(); }
        bool Gone() const override { return inner->Gone(); }
        bool TapInput(LinkTap* tap) override { return inner->TapInput(tap); }

        std::unique_ptr<HidConnection> inner;
        GatedTransport& transport;
    };

    void Count(const IoResult& result) {
        std::lock_guard lock(mutex_);
        ++writes_;
        if (!result.ok() && failure_.index == 0) {
            failure_ = {writes_, result.detail};
        }
    }

    HidTransport& inner_;
    const BeforeWrite before_;
    mutable std::mutex mutex_;
    int writes_ = 0;
    Failure failure_;
};

// The index (from 1) among the recording's output reports of the last one with this command
// byte, and its bytes; index 0 when there is none.
inline std::pair<int, std::vector<uint8_t>> LastOutputWith(const std::vector<TraceEvent>& events,
                                                           uint8_t command) {
    int index = 0;
    std::pair<int, std::vector<uint8_t>> found{0, {}};
    for (const TraceEvent& e : events) {
        if (e.kind == TraceEvent::Kind::Out) {
            ++index;
            if (e.bytes.size() > 1 && e.bytes[1] == command) {
                found = {index, e.bytes};
            }
        }
    }
    return found;
}

class TracedMainWindow {
  protected:
    std::unique_ptr<SharedState> state_;
    std::unique_ptr<sim::SimTransport> sim_;  // while recording
    std::unique_ptr<TraceWriter> writer_;
    std::unique_ptr<RecordingTransport> recording_;
    std::unique_ptr<ReplayTransport> replay_;
    std::unique_ptr<GatedTransport> gate_;
    std::unique_ptr<HidDevice> device_;
    std::unique_ptr<CTavlinDlg> window_;

    // The window on the simulated device with `faults` (the --sim-faults syntax), every report
    // and presence change written to `trace`.
    bool OpenRecording(const std::string& trace, const std::string& faults,
                       const SimulatedWindowOptions& how, BeforeWrite before = {}) {
        state_ = std::make_unique<SharedState>();
        sim::SimTransport::Options options;
        options.attached = how.attached;
        sim_ = std::make_unique<sim::SimTransport>(options);
        if (how.reenumeration.count() >= 0) {
            sim_->setReenumerationDelay(how.reenumeration);
        }
        std::string error;
        const auto plan = sim::ParseFaultPlan(faults, &error);
        writer_ = TraceWriter::Create(trace, "test");
        if (!plan || writer_ == nullptr) {
            return false;
        }
        sim_->faults().Set(*plan);
        recording_ = std::make_unique<RecordingTransport>(*sim_, *writer_);
        Show(*recording_, std::move(before), how.engineering);
        return true;
    }
    // The window on the recording alone; false when it does not read.
    bool OpenReplay(const std::string& trace, bool engineering, BeforeWrite before = {}) {
        TraceProblem problem;
        auto events = ReadTrace(trace, &problem);
        if (!events) {
            return false;
        }
        state_ = std::make_unique<SharedState>();
        replay_ = std::make_unique<ReplayTransport>(std::move(*events), false);
        Show(*replay_, std::move(before), engineering);
        return true;
    }
    // In the order the program tears down; the recording is complete once this returns.
    void CloseWindow() {
        window_.reset();
        device_.reset();
        gate_.reset();
        recording_.reset();
        replay_.reset();
        writer_.reset();
        sim_.reset();
        state_.reset();
    }

    static std::vector<TraceEvent> Recorded(const std::string& trace) {
        TraceProblem problem;
        return ReadTrace(trace, &problem).value_or(std::vector<TraceEvent>{});
    }
    static bool HasStrayInput(const std::vector<TraceEvent>& events) {
        for (const TraceEvent& e : events) {
            if (e.kind == TraceEvent::Kind::In && !e.bytes.empty() && e.bytes[0] != kReportId) {
                return true;
            }
        }
        return false;
    }

  private:
    void Show(HidTransport& link, BeforeWrite before, bool engineering) {
        gate_ = std::make_unique<GatedTransport>(link, std::move(before));
        device_ = std::make_unique<HidDevice>(*gate_);
        device_->setTimeoutMs(100);
        MainWindowOptions options;
        options.engineering = engineering;
        window_ = std::make_unique<CTavlinDlg>(*state_, *device_, options);
        window_->show();
    }
};

}  // namespace tavlin::testing
