#include "platform/Futex.h"

#include <climits>

#ifdef _WIN32
#include <windows.h>
#else
#include <linux/futex.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>
#endif

namespace tavlin {

static_assert(sizeof(std::atomic<uint32_t>) == sizeof(uint32_t) &&
                  std::atomic<uint32_t>::is_always_lock_free,
              "the kernel waits on the atomic's own four bytes");

#ifdef _WIN32

void FutexWait(std::atomic<uint32_t>& word, uint32_t seen, int64_t timeoutNs) {
    DWORD ms = INFINITE;
    if (timeoutNs >= 0) {
        // Rounded up: a wait that returns before its time would only be repeated.
        const int64_t rounded = (timeoutNs + 999'999) / 1'000'000;
        ms = rounded >= static_cast<int64_t>(INFINITE) ? INFINITE - 1 : static_cast<DWORD>(rounded);
    }
    WaitOnAddress(&word, &seen, sizeof seen, ms);
}

void FutexWakeOne(std::atomic<uint32_t>& word) {
    WakeByAddressSingle(&word);
}

void FutexWakeAll(std::atomic<uint32_t>& word) {
    WakeByAddressAll(&word);
}

#else

namespace {
long Futex(std::atomic<uint32_t>& word, int op, uint32_t value, const timespec* timeout) {
    return syscall(SYS_futex, reinterpret_cast<uint32_t*>(&word), op, value, timeout, nullptr, 0);
}
}  // namespace

void FutexWait(std::atomic<uint32_t>& word, uint32_t seen, int64_t timeoutNs) {
    if (timeoutNs < 0) {
        Futex(word, FUTEX_WAIT_PRIVATE, seen, nullptr);
        return;
    }
    const timespec relative{static_cast<time_t>(timeoutNs / 1'000'000'000),
                            static_cast<long>(timeoutNs % 1'000'000'000)};
    Futex(word, FUTEX_WAIT_PRIVATE, seen, &relative);
}

void FutexWakeOne(std::atomic<uint32_t>& word) {
    Futex(word, FUTEX_WAKE_PRIVATE, 1, nullptr);
}

void FutexWakeAll(std::atomic<uint32_t>& word) {
    Futex(word, FUTEX_WAKE_PRIVATE, INT_MAX, nullptr);
}

#endif

}  // namespace tavlin
