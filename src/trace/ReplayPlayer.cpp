// The player thread of the replay transport: it plays the recorded arrivals, removals and
// notices in their order and pace, and the changes that followed a report at once.
#include "trace/ReplayTransport.h"

#include <algorithm>
#include <utility>

#include "trace/ReplayTransportDetail.h"

namespace tavlin {
namespace {

using replay_detail::Played;

// A device that came or went this soon after a report did so because of it (an update control
// restarts it): the thread that moved the report tells the program, as the device's own link
// would have.
constexpr uint64_t kConsequenceUs = 2000;
// The longest pause kept before a presence change when replies come at once.
constexpr auto kPresenceSettle = std::chrono::milliseconds(100);
// How long a notice waits for the program's looks that come before the change its detection
// found; the notice does not wait for ever for looks that only it would start.
constexpr auto kNoticeHold = std::chrono::milliseconds(500);

}  // namespace

ReplayTransport::Clock::time_point ReplayTransport::DueLocked(size_t index) const {
    if (index == 0) {
        return lastAt_;
    }
    const uint64_t before = events_[index - 1].us;
    const uint64_t at = events_[index].us;
    const auto gap = std::chrono::microseconds(at > before ? at - before : 0);
    if (recordedPace_) {
        return lastAt_ + gap;
    }
    // Replies come at once. A device that comes or goes keeps part of its pause, so what the
    // program did in between (a detection that finds nothing) ends before the next change, as
    // it did when recorded.
    if (Played(events_[index])) {
        return lastAt_ + std::min<Clock::duration>(gap, kPresenceSettle);
    }
    return lastAt_;
}

void ReplayTransport::ApplyPresenceLocked(const TraceEvent& event) {
    // A removal takes every collection behind the node; an arrival replaces only one that the
    // recording never saw leave (a node shares its path among its collections).
    const bool removal = event.kind == TraceEvent::Kind::Removal;
    for (auto it = present_.begin(); it != present_.end();) {
        const HidInterfaceInfo& info = it->info;
        if (info.path == event.info.path && (removal || (info.usagePage == event.info.usagePage &&
                                                         info.usage == event.info.usage))) {
            goneInstances_.insert(it->instance);
            it = present_.erase(it);
        } else {
            ++it;
        }
    }
    if (!removal) {
        present_.push_back({event.info, event.bytes, nextInstance_++});
    }
    lastLook_ = event.look;
    looksSince_ = 0;
}

bool ReplayTransport::WaitsForLookLocked(size_t index) const {
    // The program saw the device list between these two changes when it was recorded: it
    // must get the chance to see it here too, as often as it did then (a detection that looked
    // twice while the device was away prints its status twice), or its detection tells another
    // story. The first of those looks is the one that found the change before.
    const uint64_t look = events_[index].look;
    return look > lastLook_ && looksSince_ < look - lastLook_;
}

int ReplayTransport::ApplyBatchLocked() {
    // One notice at a time, with the changes of one look that came right after it: the
    // detection that notice starts must find them, as it did when recorded.
    int notices = 0;
    bool played = false;
    bool presence = false;
    uint64_t look = 0;
    while (events_.Has(next_)) {
        const TraceEvent& event = events_[next_];
        if (event.kind == TraceEvent::Kind::Notice) {
            if (notices > 0 || presence) {
                break;
            }
            if (ChangeFollowsLocked(next_)) {
                // The device left as it sent its last reply: the system told of it before the
                // link had taken the reply. The program hears of it once the reply is taken and
                // the change made, as its detection found it then.
                ++deferredNotices_;
                AdvanceLocked();
                played = true;
                break;
            }
            ++notices;
        } else if (event.IsPresence()) {
            if (presence ? event.look != look : WaitsForLookLocked(next_)) {
                break;
            }
            look = event.look;
            presence = true;
            ApplyPresenceLocked(event);
        } else if (event.kind != TraceEvent::Kind::Port) {
            break;
        }
        AdvanceLocked();
        played = true;
    }
    if (presence) {
        notices += std::exchange(deferredNotices_, 0);
    }
    return played ? notices : -1;
}

bool ReplayTransport::ChangeFollowsLocked(size_t notice) {
    // The replies taken right after the notice were on their way as it came; the change itself
    // is recorded whenever the system got to it, which on a busy machine is some milliseconds
    // later. Nothing the program sent stands between them.
    const uint64_t at = events_[notice].us;
    for (size_t i = notice + 1; events_.Has(i); ++i) {
        if (events_[i].IsPresence()) {
            return i > notice + 1;
        }
        if (events_[i].kind != TraceEvent::Kind::In ||
            events_[i].us - std::min(events_[i].us, at) >= kConsequenceUs) {
            return false;
        }
    }
    return false;
}

void ReplayTransport::Notify(int notices) {
    std::lock_guard listening(listenerMutex_);
    for (int i = 0; i < notices && listener_; ++i) {
        listener_();
    }
}

int ReplayTransport::FollowReportLocked() {
    if (!events_.Has(next_) || !Played(events_[next_]) || WaitsForLookLocked(next_)) {
        return 0;
    }
    const uint64_t gap = events_[next_].us - std::min(events_[next_].us, events_[next_ - 1].us);
    return gap < kConsequenceUs ? std::max(0, ApplyBatchLocked()) : 0;
}

void ReplayTransport::Play() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (!events_.Has(next_) || !Played(events_[next_]) || WaitsForLookLocked(next_)) {
            changed_.wait(lock);
            continue;
        }
        const Clock::time_point due = DueLocked(next_);
        const Clock::time_point now = Clock::now();
        if (now < due) {
            changed_.wait_until(lock, due);
            continue;
        }
        // A notice came once its change had happened: the change must be there for the
        // detection it starts, so the looks that came before the change come first.
        if (events_[next_].kind == TraceEvent::Kind::Notice && now < due + kNoticeHold &&
            events_.Has(next_ + 1) && events_[next_ + 1].IsPresence() &&
            WaitsForLookLocked(next_ + 1)) {
            changed_.wait_until(lock, due + kNoticeHold);
            continue;
        }
        const int notices = ApplyBatchLocked();
        // Told outside the session's lock: the listener looks at the device again.
        lock.unlock();
        Notify(notices);
        lock.lock();
    }
}

}  // namespace tavlin
