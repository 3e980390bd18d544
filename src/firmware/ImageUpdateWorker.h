#pragma once
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/Result.h"
#include "console/WorkerSlot.h"
#include "device/SharedState.h"
#include "firmware/FirmwareView.h"
#include "firmware/LoadedPackage.h"
#include "firmware/UpdatePlan.h"
#include "platform/Event.h"

namespace tavlin {

// The one-key update: reads the package, writes each enabled image to the device in code packets
// of at most 62 bytes through the command thread, then its version record, and reports progress
// and status texts to its view. At most one runs; g_ImageUpdateThread is non-null meanwhile.
//
// On purpose:
//  - the package and every enabled image file are read into memory before the first packet
//    (LoadPackage), so a missing LInfo or RInfo file cannot leave the two sensors with mixed
//    firmware, and the bytes sent are the bytes read (and checked, for a package checked first):
//    a file changed on disk meanwhile never reaches the device;
//  - a code packet the device refuses ends the update at once with the failure text and no
//    version record, as the FPGA download does, instead of a "success" over a broken image;
//  - it claims g_ImageTransferState with the same atomic claim the FPGA download uses, so the
//    two never interleave packets;
//  - its end is a manual-reset event set after g_ImageUpdateThread is cleared, so an exit handler
//    that decides to wait just as the worker ends still sees the end.
class ImageUpdateWorker {
  public:
    ImageUpdateWorker(SharedState& state, FirmwareView& view) : state_(state), view_(view) {}
    ~ImageUpdateWorker() { StopAndWait(); }
    ImageUpdateWorker(const ImageUpdateWorker&) = delete;
    ImageUpdateWorker& operator=(const ImageUpdateWorker&) = delete;

    // Starts an update of the package at `packagePath` (read anew now). False, and nothing
    // started, while one runs.
    bool Start(const std::string& packagePath);
    // Starts an update of a package already read (and checked): exactly its bytes are sent.
    bool Start(std::shared_ptr<const LoadedPackage> package);
    bool Running() const { return slot_.Running(); }
    // The exit handlers' first step: if an update runs, marks the window as closing (no more
    // texts), asks the worker to stop between packets and waits for its end; then both events
    // are reset. Returns at once when nothing runs.
    void StopAndWait();
    // Waits up to ms for the current run to end; true when it has ended (or none ran).
    bool WaitForEnd(uint32_t ms) { return finished_.Wait(ms) == WAIT_OBJECT_0; }
    // The outcome of the last run that ended.
    Result lastResult() const;

  private:
    void Run(const std::string& packagePath, std::shared_ptr<const LoadedPackage> package);
    Result Update(const LoadedPackage& package);
    Result WriteImage(const PlannedWrite& plan, const LoadedImage& image);
    Result SendImage(const PlannedWrite& plan, const std::string& bytes, int* packets);
    Result WriteVersionRecord(ImageWrite write, uint32_t version);
    Result Fail(const char* text, Result result);
    void Status(const std::string& text);
    void Progress(int position);
    bool Closing() const { return state_.g_isFwDlgClosing != 0; }

    SharedState& state_;
    FirmwareView& view_;
    Event finished_{Event::Kind::ManualReset};
    mutable std::mutex resultMutex_;
    Result lastResult_;
    WorkerSlot slot_{state_.g_ImageUpdateThread, state_.g_ImageUpdateStopEvent, finished_};
};

}  // namespace tavlin
