#pragma once
#include <atomic>

#include "base/Result.h"
#include "platform/Event.h"

namespace tavlin {

// One posted request's own record, shared by its poster and the command thread.
//
// `handled` is set once the request has been served (or dropped, or abandoned because the
// thread ended); `signalled` tells whether serving it signalled the completion event the poster
// waits for; `result` is the request's outcome, written before `handled` is set.
//
// A poster may give up waiting (its time limit ran out) while the request is still queued or
// being served. The handler then must not publish into the shared result variables or signal
// the shared event: a later request's poster may be reading those. So a handler claims the
// record just before it publishes, and a poster that gives up claims it the other way; exactly
// one of the two wins.
struct RequestRecord {
    Event handled{Event::Kind::ManualReset};
    std::atomic<bool> signalled{false};
    Result result;

    // Command thread: true when the poster still waits, so results may be published.
    bool ClaimForPublishing() { return Move(kPublishing); }
    // Poster: true when the request had not been claimed yet; its results will never be
    // published. False means they are being published right now and `handled` follows.
    bool GiveUp() { return Move(kGivenUp); }

  private:
    static constexpr int kPending = 0;
    static constexpr int kPublishing = 1;
    static constexpr int kGivenUp = 2;

    bool Move(int to) {
        int expected = kPending;
        return stage_.compare_exchange_strong(expected, to) || expected == to;
    }

    std::atomic<int> stage_{kPending};
};

}  // namespace tavlin
