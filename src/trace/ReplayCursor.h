#pragma once
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "trace/TraceEvent.h"
#include "trace/TraceReader.h"

namespace tavlin {

// The events of a recording as the replay walks them: read from the file as they are needed and
// let go once played, so a replay holds a few events, not the recording (which may be larger
// than the memory of the machine that replays it). Indexes count from the recording's first
// event. Not thread-safe: the replay's lock guards it.
class ReplayCursor {
  public:
    explicit ReplayCursor(std::vector<TraceEvent> events);
    // The reader must have been checked to the end already: a line that fails now ends it.
    explicit ReplayCursor(std::unique_ptr<TraceReader> reader);

    // Whether the recording has an event at `index` (read up to it when needed).
    bool Has(size_t index);
    // The event at `index`, which Has() confirmed and which was not let go.
    const TraceEvent& operator[](size_t index) const { return kept_[index - first_]; }
    // Lets the events before `index` go.
    void DropBefore(size_t index);
    // How many events are held now.
    size_t held() const { return kept_.size(); }
    // How many events from `index` on satisfy `counted`; reads the rest of the recording
    // without keeping it, so it is for the end of a replay only.
    size_t CountFrom(size_t index, const std::function<bool(const TraceEvent&)>& counted);
    // Once Has() has said no: the line where a further event would have stood.
    int endLine() const { return endLine_; }

  private:
    bool ReadOne(TraceEvent* event);

    std::deque<TraceEvent> kept_;
    size_t first_ = 0;  // the index of kept_.front()
    std::unique_ptr<TraceReader> reader_;
    int endLine_ = 0;
};

}  // namespace tavlin
