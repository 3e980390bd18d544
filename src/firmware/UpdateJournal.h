#pragma once
#include <cstdint>

#include "base/Result.h"
#include "firmware/LoadedPackage.h"
#include "firmware/UpdatePlan.h"

namespace tavlin {

// Where a running update stands, for a station that keeps it: a unit whose power or host goes in
// the middle is then known, with the package it was getting, by the next run on its port.
class UpdateJournal {
  public:
    virtual ~UpdateJournal() = default;
    // Before the update writes anything: the command line's before the unit is asked to restart
    // into its update environment, and returns once kept; the window's as its worker starts, and
    // returns at once.
    virtual Result Starting(const LoadedPackage& package) = 0;
    // Packet `packet` of the `write` image is about to go. From the update's worker: returns at
    // once.
    virtual void Writing(ImageWrite write, uint64_t packet) = 0;
    // The images are written; the unit is asked back out of its update environment.
    virtual void Leaving() = 0;
};

}  // namespace tavlin
