#pragma once
#include <optional>

#include "device/SharedState.h"
#include "leveling/LevelingView.h"

namespace tavlin {

// The leveling window's arrows and sliders: move a sensor's start line by hand, configure it
// and search that sensor's columns again. Runs on the window's thread; every wait ends once the
// command thread is done with the request, so a press after the worker has ended (its requests
// are then dropped) returns at once and shows nothing new.
class StartLineAdjuster {
  public:
    StartLineAdjuster(SharedState& state, LevelingView& view) : state_(state), view_(view) {}

    // An arrow: one line down or up from the sensor's start line, when the slider (at
    // sliderPosition) is not at its end. Returns the slider's new position, nothing at an end.
    std::optional<int> Arrow(int sensor, bool up, int sliderPosition);
    // A scroll notification of the sensor's slider, at its position at that moment.
    void SliderMoved(int sensor, int position);

  private:
    // Configures the sensor to start at `line` and searches its columns; true when both worked.
    bool Apply(int sensor, int line);

    SharedState& state_;
    LevelingView& view_;
};

}  // namespace tavlin
