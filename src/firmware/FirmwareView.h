#pragma once
#include <cstdint>
#include <string>

#include "base/Result.h"
#include "firmware/LoadedPackage.h"
#include "firmware/UpdatePlan.h"

namespace tavlin {

// What the image update worker and the firmware window's handlers need of their front end.
// Workers call these from their own thread, so each call must return at once: the window
// queues it to its UI thread, the command-line front end prints.
class FirmwareView {
  public:
    virtual ~FirmwareView() = default;
    // The firmware window's status line (control 1067).
    virtual void SetFirmwareStatus(const std::string& text) = 0;
    // Its progress bar (control 1078), 0 to 100.
    virtual void SetProgress(int position) = 0;
    // The main window's version line (control 1061).
    virtual void SetMainVersionText(const std::string& text) = 0;
    // An image went out whole, its version record included: the image file, its size and the
    // code packets it took. The window shows nothing for it; a station's report lists it.
    // `write` says which image went to which sensor: the HInfo file is written to both.
    virtual void ImageWritten(ImageWrite /*write*/, const std::string& /*name*/, uint64_t /*bytes*/,
                              int /*packets*/) {}
    // The worker has the package it will write (read, and checked where the front end checks
    // packages), before anything goes to the device: a front end that keeps the update's progress
    // begins it here, unless it did before asking the unit to restart.
    virtual void UpdateStarting(const LoadedPackage& /*package*/) {}
    // Packet `packet` (from 0) of the `write` image is about to go: where the update stands,
    // for a front end that keeps it.
    virtual void ImageGoing(ImageWrite /*write*/, uint64_t /*packet*/) {}
    // The update's worker has ended with `result`, after its last text: a front end that keeps
    // a record of the update learns here that the outcome is known.
    virtual void UpdateEnded(const Result& /*result*/) {}
};

}  // namespace tavlin
