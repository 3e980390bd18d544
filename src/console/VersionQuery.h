#pragma once
#include "base/Result.h"
#include "console/ConsoleView.h"
#include "device/SharedState.h"

namespace tavlin {

// Image version query of both sensors, shown in the version line (control 1061).
//
// Each wait ends as soon as the command thread is done with the request, and at the latest after
// kRequestWaitLimitMs; a request that cannot be posted (no command thread) fails at once.
class VersionQuery {
  public:
    // Who asks: the mode toggle (no log line; a failed wait leaves the version line alone), or
    // one of the tool launchers (log line on failure, with or without the "Calibration: " lead).
    enum class Caller { Toggle, Launcher, CalibrationLauncher };

    VersionQuery(SharedState& state, ConsoleView& view) : state_(state), view_(view) {}

    // The show-versions procedure: queries only while the versions-shown flag is clear.
    Result ShowVersions(Caller caller);
    // Version button 1026: always queries; neither reads nor sets the versions-shown flag.
    Result VersionButton();

  private:
    // Posts the read with g_SensorSel 3 and waits; the request's outcome, *waitCode the wait's.
    Result ReadVersions(uint32_t* waitCode);
    void ShowReadVersions();

    SharedState& state_;
    ConsoleView& view_;
};

}  // namespace tavlin
