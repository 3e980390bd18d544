#pragma once
#include <cstdint>

#include "platform/ParkingWord.h"
#include "platform/WaitResult.h"

namespace tavlin {

// A signalable event. An auto-reset event releases one waiter and falls back to non-signalled;
// a manual-reset event stays signalled until Reset(). Wait(0) tests without waiting (and, for
// an auto-reset event, consumes the signal).
class Event {
  public:
    enum class Kind { AutoReset, ManualReset };

    explicit Event(Kind kind = Kind::AutoReset, bool initiallySignalled = false)
        : manual_(kind == Kind::ManualReset), signalled_(initiallySignalled ? 1 : 0) {}
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void Set();
    void Reset();
    // Returns WAIT_OBJECT_0 when signalled, WAIT_TIMEOUT when the time ran out.
    // timeoutMs == INFINITE waits without limit.
    uint32_t Wait(uint32_t timeoutMs);
    bool IsSignalled() const;

  private:
    const bool manual_;
    ParkingWord signalled_;  // 1 while signalled
};

}  // namespace tavlin
