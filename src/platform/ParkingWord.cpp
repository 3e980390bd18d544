#include "platform/ParkingWord.h"

#include <thread>

#include "platform/Futex.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace tavlin {
namespace {

using std::chrono::microseconds;

// Longer than a request's round trip through the command thread to a device that answers at
// once, far shorter than one report on a real link (1 ms).
constexpr ParkingWord::Clock::duration kMaxSpin = microseconds(20);

// The thread's recent waits: each one that ended within kMaxSpin counts up, each longer one
// counts down twice as fast. Spinning pays off only while most waits are short.
constexpr int kShortWaitsRemembered = 8;
thread_local int t_shortWaits = kShortWaitsRemembered;
thread_local bool t_spinAllowed = true;

void CpuRelax() {
#if defined(__x86_64__) || defined(__i386__)
    _mm_pause();
#else
    std::this_thread::yield();
#endif
}

bool SpinningCanHelp() {
    // On one processor the thread that would change the value cannot run while this one spins.
    static const bool several = std::thread::hardware_concurrency() > 1;
    return several;
}

}  // namespace

void ParkingWord::AllowSpinningOnThisThread(bool allow) {
    t_spinAllowed = allow;
}

ParkingWord::Clock::duration ParkingWord::SpinBudget() {
    if (!t_spinAllowed || !SpinningCanHelp() || t_shortWaits <= 0) {
        return Clock::duration::zero();
    }
    return kMaxSpin;
}

void ParkingWord::RecordWait(Clock::duration took) {
    t_shortWaits = took <= kMaxSpin ? std::min(t_shortWaits + 1, kShortWaitsRemembered)
                                    : std::max(t_shortWaits - 4, 0);
}

uint32_t ParkingWord::Exchange(uint16_t value) {
    uint32_t word = word_.load();
    while (!word_.compare_exchange_weak(word, WithValue(word, value))) {
    }
    return word;
}

void ParkingWord::Store(uint16_t value) {
    Exchange(value);
}

void ParkingWord::Publish(uint16_t value, Wake wake) {
    WakeIfSleepers(Exchange(value), wake);
}

void ParkingWord::Advance() {
    // The value's carry leaves the word; the sleeper count below it is untouched.
    WakeIfSleepers(word_.fetch_add(1u << kValueShift), Wake::One);
}

bool ParkingWord::CompareExchange(uint16_t expected, uint16_t desired) {
    uint32_t word = word_.load();
    while (ValueOf(word) == expected) {
        if (word_.compare_exchange_weak(word, WithValue(word, desired))) {
            return true;
        }
    }
    return false;
}

void ParkingWord::WakeIfSleepers(uint32_t before, Wake wake) {
    // `this` may be gone by now; only the address is passed on.
    if ((before & kSleeperMask) == 0) {
        return;
    }
    if (wake == Wake::All) {
        FutexWakeAll(word_);
    } else {
        FutexWakeOne(word_);
    }
}

bool ParkingWord::SpinWhile(uint16_t seen, Clock::time_point until) const {
    for (unsigned round = 1;; ++round) {
        if (ValueOf(word_.load(std::memory_order_relaxed)) != seen) {
            return true;
        }
        CpuRelax();
        // Reading the clock costs more than a pause; look at it every few dozen rounds.
        if (round % 32 == 0 && Clock::now() >= until) {
            return false;
        }
    }
}

void ParkingWord::Sleep(uint16_t seen, bool unbounded, Clock::time_point deadline) {
    // Counting itself in changes the word, so the kernel sleeps only on the word as it is with
    // this sleeper counted and the value unchanged; any change after that wakes it or keeps it
    // from sleeping. (Another sleeper coming or going also does: the loop around tries again.)
    const uint32_t counted = word_.fetch_add(1) + 1;
    if (ValueOf(counted) == seen) {
        int64_t timeoutNs = -1;
        if (!unbounded) {
            timeoutNs = std::max<int64_t>(
                0, std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - Clock::now())
                       .count());
        }
        FutexWait(word_, counted, timeoutNs);
    }
    word_.fetch_sub(1);
}

}  // namespace tavlin
