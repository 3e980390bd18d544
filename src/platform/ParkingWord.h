#pragma once
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>

#include "platform/WaitResult.h"

namespace tavlin {

// A small value that threads wait on until what it guards is ready: a signalled flag, a count
// of posts. Whoever changes what it guards changes the value with Publish or Advance, which
// wake the sleepers.
//
// A waiter first spins a few microseconds on the value when this thread's recent waits were
// that short. A request to the command thread and its answer from a device without latency
// take a few microseconds; putting both threads to sleep and waking them again cost several
// times that on every packet of an image update. Threads whose waits are long (a real link, an
// idle queue) stop spinning after a few waits and only sleep.
//
// The value and the number of sleepers share one atomic word, so a change is a single atomic
// step after which the waker touches the object no more (only the address goes to the system's
// wake). A waiter may therefore destroy the object as soon as it sees the change: an event that
// ends a thread is often freed by the thread that waited for it.
class ParkingWord {
  public:
    using Clock = std::chrono::steady_clock;
    enum class Wake { One, All };

    explicit ParkingWord(uint16_t initial = 0) : word_(uint32_t{initial} << kValueShift) {}
    ParkingWord(const ParkingWord&) = delete;
    ParkingWord& operator=(const ParkingWord&) = delete;

    uint16_t Value() const { return ValueOf(word_.load()); }
    // Sets the value without waking anyone (a change no waiter waits for).
    void Store(uint16_t value);
    // Sets the value and wakes sleepers.
    void Publish(uint16_t value, Wake wake);
    // Adds one to the value (wrapping) and wakes one sleeper.
    void Advance();
    // Changes the value from `expected` to `desired`; false when it was not `expected`.
    bool CompareExchange(uint16_t expected, uint16_t desired);

    // Lets the calling thread spin before it sleeps (the default) or not. Tests turn spinning
    // off to make every wait go through the sleep and wake path.
    static void AllowSpinningOnThisThread(bool allow);

    // Waits until ready() returns true, retrying it whenever the value changes. timeoutMs 0
    // tries once, INFINITE waits without limit. Returns false when the time ran out.
    template <class Ready>
    bool WaitUntil(Ready&& ready, uint32_t timeoutMs);

  private:
    static constexpr unsigned kValueShift = 16;
    static constexpr uint32_t kSleeperMask = (1u << kValueShift) - 1;
    static uint16_t ValueOf(uint32_t word) { return static_cast<uint16_t>(word >> kValueShift); }
    static uint32_t WithValue(uint32_t word, uint16_t value) {
        return (uint32_t{value} << kValueShift) | (word & kSleeperMask);
    }
    // Sets the value, keeping the sleeper count; returns the word as it was.
    uint32_t Exchange(uint16_t value);

    // How long this thread spins before it sleeps; zero when its recent waits were long.
    static Clock::duration SpinBudget();
    static void RecordWait(Clock::duration took);
    // Spins while the value is still `seen`; true when it changed before `until`.
    bool SpinWhile(uint16_t seen, Clock::time_point until) const;
    // Sleeps while the value is still `seen`, at most until `deadline` unless unbounded.
    void Sleep(uint16_t seen, bool unbounded, Clock::time_point deadline);
    void WakeIfSleepers(uint32_t before, Wake wake);

    std::atomic<uint32_t> word_;  // value << kValueShift | number of sleepers
};

template <class Ready>
bool ParkingWord::WaitUntil(Ready&& ready, uint32_t timeoutMs) {
    // Read before ready() looks: a change made after that look shows as a different value and
    // the thread does not go to sleep on it.
    uint16_t seen = Value();
    if (ready()) {
        return true;
    }
    if (timeoutMs == 0) {
        return false;
    }
    const bool unbounded = timeoutMs == INFINITE;
    const auto start = Clock::now();
    const auto deadline = start + std::chrono::milliseconds(unbounded ? 0 : timeoutMs);
    const auto spinEnd = start + SpinBudget();
    bool isReady = false;
    for (;;) {
        const auto now = Clock::now();
        if (!unbounded && now >= deadline) {
            break;
        }
        const auto spinUntil = unbounded ? spinEnd : std::min(spinEnd, deadline);
        if (now >= spinUntil || !SpinWhile(seen, spinUntil)) {
            Sleep(seen, unbounded, deadline);
        }
        seen = Value();
        if (ready()) {
            isReady = true;
            break;
        }
    }
    RecordWait(Clock::now() - start);
    return isReady;
}

}  // namespace tavlin
