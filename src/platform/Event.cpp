#include "platform/Event.h"

namespace tavlin {

void Event::Set() {
    signalled_.Publish(1, manual_ ? ParkingWord::Wake::All : ParkingWord::Wake::One);
}

void Event::Reset() {
    signalled_.Store(0);
}

bool Event::IsSignalled() const {
    return signalled_.Value() == 1;
}

uint32_t Event::Wait(uint32_t timeoutMs) {
    const bool taken = signalled_.WaitUntil(
        [this] { return manual_ ? signalled_.Value() == 1 : signalled_.CompareExchange(1, 0); },
        timeoutMs);
    return taken ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

}  // namespace tavlin
