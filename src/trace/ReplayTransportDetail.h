#pragma once
// What both halves of the replay transport ask of an event: the program's calls and the
// player thread take turns on one recording.
#include "trace/TraceEvent.h"

namespace tavlin::replay_detail {

// What the player plays in its order, rather than the program's calls.
inline bool Played(const TraceEvent& event) {
    return event.IsPresence() || event.kind == TraceEvent::Kind::Notice ||
           event.kind == TraceEvent::Kind::Port;
}

}  // namespace tavlin::replay_detail
