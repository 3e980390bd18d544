#pragma once
#include <string>

#include "leveling/PreviewFrame.h"

namespace tavlin {

// What the preview worker and the leveling handlers need of the leveling window. The worker
// calls from its own thread, so every call must return at once: the window queues each call to
// its UI thread, the command-line front end prints. Sensor 0 is the Master, 1 the Slave.
class LevelingView {
  public:
    virtual ~LevelingView() = default;

    // The sensor's status static (1056 Master, 1054 Slave).
    virtual void SetStatus(int sensor, const std::string& text) = 0;
    // The sensor's start line slider (1034 Master, 1035 Slave).
    virtual void SetSlider(int sensor, int position) = 0;
    // A frame to paint into the sensor's picture (1051 Master, 1052 Slave). The frame is the
    // worker's own copy, taken while the command thread was not filling the buffers.
    virtual void DrawPreview(int sensor, const PreviewFrame& frame) = 0;
};

}  // namespace tavlin
