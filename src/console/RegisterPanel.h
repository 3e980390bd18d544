#pragma once
#include <string>

#include "base/Result.h"
#include "console/ConsoleView.h"
#include "device/CommandThread.h"
#include "device/SharedState.h"

namespace tavlin {

// The "Step Debug" panel: one button press becomes one request for the command thread, and the
// handler returns without waiting. The command thread reports the outcome in the output pane
// and, for a read, in the Value box. The panel adds no bits to the address word: the Sensor box
// only chooses the request (I2C or FPGA), the side comes from bit 28 of the word.
//
// A number-less text: Write refuses a number-less address or value with a pane line (a guessed
// register must never be written); Read takes a number-less address as 0, as the empty address
// it was always allowed to read.
class RegisterPanel {
  public:
    RegisterPanel(SharedState& state, ConsoleView& view) : state_(state), view_(view) {}

    // Button 1016. Fails at once for a refusal (no device, a number-less operand, nothing to
    // post to); otherwise the request is posted and `posted`, if given, receives it, so a
    // caller that wants the outcome can wait for it (the window does not).
    Result Write(const std::string& addressText, const std::string& valueText, bool sensorTicked,
                 RequestHandle* posted = nullptr);
    // Button 1017. As Write.
    Result Read(const std::string& addressText, bool sensorTicked, RequestHandle* posted = nullptr);

  private:
    bool DevicePresent();
    Result Posted(RequestHandle request, const char* failureText, RequestHandle* posted);

    SharedState& state_;
    ConsoleView& view_;
};

}  // namespace tavlin
