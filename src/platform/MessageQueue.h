#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/Event.h"

namespace tavlin {

// What the serving thread reports back about one message: `handled` is set once it has been
// served (or dropped, or abandoned because the thread ended), and `signalled` tells whether
// serving it signalled the completion event the poster waits for. It lets a poster tell its
// own completion from a stale signal, and stop waiting for a request that will never signal.
struct MessageReceipt {
    Event handled{Event::Kind::ManualReset};
    std::atomic<bool> signalled{false};
    // The request's own result flag, for requests that both a window and a worker post: the
    // process-wide flag may already hold the other poster's result when this one reads it.
    std::atomic<int> result{0};
};

inline constexpr uint32_t WM_QUIT = 0x0012;
inline constexpr uint32_t WM_USER = 0x0400;

// One posted thread message. The parameter block is a copy taken when the message was posted,
// so the poster's memory is never read afterwards.
struct ThreadMessage {
    uint32_t id = 0;
    std::vector<uint8_t> block;
    uint32_t lParam = 0;
    std::shared_ptr<MessageReceipt> receipt;  // may be null
    int sensorSel = 0;                        // the poster's sensor selection when it posted
};

// The message queue of one worker thread. Posting fails while the queue is not open (the thread
// does not exist yet or has ended). Messages are served in posting order.
class MessageQueue {
  public:
    void Open();
    // Closes the queue: later posts fail; messages still queued are handed back to the caller so
    // it can settle them.
    std::deque<ThreadMessage> Close();
    bool IsOpen() const;

    bool Post(ThreadMessage message);
    bool PostQuit();
    // Blocks until a message arrives. Returns false for a quit message (which the caller may
    // ignore), true otherwise.
    bool Get(ThreadMessage& out);
    // Returns false at once when no message is queued.
    bool Peek(ThreadMessage& out);

  private:
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    std::deque<ThreadMessage> queue_;
    bool open_ = false;
};

}  // namespace tavlin
