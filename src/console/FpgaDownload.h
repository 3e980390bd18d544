#pragma once
#include <cstdio>
#include <functional>
#include <string>

#include "base/Result.h"
#include "console/ConsoleView.h"
#include "console/WorkerSlot.h"
#include "device/SharedState.h"

namespace tavlin {

// FPGA code download (button 1004): a worker hands the file to the command thread in scrambled
// 62-byte code packets, one outstanding at a time, and reports in the output pane.
//
// A download stops at the first code packet the device refuses and does not report success for
// an image the device only got in part; a short read of the file (it shrank under us) ends it
// the same way. Another code transfer already holding
// g_ImageTransferState is refused rather than joined.
class FpgaDownload {
  public:
    // chunksSent of chunksTotal have been handed over; called on the worker thread.
    using Progress = std::function<void(int chunksSent, int chunksTotal)>;

    FpgaDownload(SharedState& state, ConsoleView& view) : state_(state), view_(view) {}
    ~FpgaDownload() { slot_.Stop(); }
    FpgaDownload(const FpgaDownload&) = delete;
    FpgaDownload& operator=(const FpgaDownload&) = delete;

    // The download button. `path` is UTF-8 and is opened as given (not cut to a narrow buffer,
    // which could name another file). Every packet goes to the sensor g_SensorSel selects now.
    // Fails when the download was not started (its text is shown); otherwise the worker runs
    // and outcome() follows.
    Result Start(const std::string& path, Progress progress = {});
    // Exit path: stop a running download between packets and wait until its worker has ended.
    void Stop() { slot_.Stop(); }
    bool Running() const { return slot_.Running(); }
    // The last run's outcome; valid once its finished event is set. An empty file fails
    // (BadInput) with nothing sent.
    const Result& outcome() const { return outcome_; }

  private:
    Result Run(const std::string& path, int sensor, const Progress& progress);
    Result SendChunks(std::FILE* file, uint64_t size, int sensor, const Progress& progress);

    SharedState& state_;
    ConsoleView& view_;
    Result outcome_;
    WorkerSlot slot_{state_.g_FpgaDownloadThread, state_.g_FpgaStopEvent,
                     state_.g_FpgaFinishedEvent};
};

}  // namespace tavlin
