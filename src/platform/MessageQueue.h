#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/Event.h"
#include "platform/ParkingWord.h"

namespace tavlin {

// What the serving thread keeps for the poster of one message; defined by the queue's server
// (the command thread's is in device/RequestRecord.h). The queue only carries it along.
struct RequestRecord;

inline constexpr uint32_t WM_QUIT = 0x0012;
inline constexpr uint32_t WM_USER = 0x0400;

// What a request means beyond its parameter block, as its poster says it. Other threads change
// the shared selections (g_SensorSel, g_ImageTransferState, the start lines) at any time, so
// the server reads these and never the shared ones.
struct RequestMeaning {
    int sensor = 0;             // 0 Master, 1 Slave, 3 both (only the image version read)
    uint8_t transferPhase = 0;  // a code packet's place in its transfer: 1 first, 2 on, 3 last
    int startLine = 0;          // the line a start line configuration sends
    bool forScript = false;     // a script waits for the answer (not the register panel)
};

// One posted thread message. The parameter block is a copy taken when the message was posted,
// so the poster's memory is never read afterwards.
struct ThreadMessage {
    uint32_t id = 0;
    std::vector<uint8_t> block;
    uint32_t lParam = 0;
    std::shared_ptr<RequestRecord> receipt;  // may be null
    RequestMeaning meaning;
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
    ParkingWord posts_;  // counts posts, so a waiting Get sees that one arrived
    std::deque<ThreadMessage> queue_;
    bool open_ = false;
};

}  // namespace tavlin
