#pragma once
#include <atomic>
#include <cstdint>

namespace tavlin {

// The operating system's wait on a memory word: the thread sleeps while `word` still holds
// `seen` (checked atomically by the kernel, so a change just before the sleep is not missed),
// until a wake on the same word, the time limit or a spurious return. timeoutNs < 0 waits
// without limit. Futexes on Linux, WaitOnAddress on Windows.
void FutexWait(std::atomic<uint32_t>& word, uint32_t seen, int64_t timeoutNs);
void FutexWakeOne(std::atomic<uint32_t>& word);
void FutexWakeAll(std::atomic<uint32_t>& word);

}  // namespace tavlin
