#include "trace/ReplayCursor.h"

namespace tavlin {

ReplayCursor::ReplayCursor(std::vector<TraceEvent> events)
    : kept_(std::make_move_iterator(events.begin()), std::make_move_iterator(events.end())) {
    // Events made in memory were read from no line: the header is line 1, each event one more.
    endLine_ = kept_.empty() || kept_.back().line == 0 ? static_cast<int>(kept_.size()) + 2
                                                       : kept_.back().line + 1;
}

ReplayCursor::ReplayCursor(std::unique_ptr<TraceReader> reader) : reader_(std::move(reader)) {}

bool ReplayCursor::ReadOne(TraceEvent* event) {
    if (!reader_) {
        return false;
    }
    TraceProblem problem;
    if (reader_->Next(event, &problem) != TraceReader::Step::Event) {
        endLine_ = reader_->line();
        reader_.reset();
        return false;
    }
    return true;
}

bool ReplayCursor::Has(size_t index) {
    while (index >= first_ + kept_.size()) {
        TraceEvent event;
        if (!ReadOne(&event)) {
            return false;
        }
        kept_.push_back(std::move(event));
    }
    return index >= first_;
}

void ReplayCursor::DropBefore(size_t index) {
    while (first_ < index && !kept_.empty()) {
        kept_.pop_front();
        ++first_;
    }
}

size_t ReplayCursor::CountFrom(size_t index,
                               const std::function<bool(const TraceEvent&)>& counted) {
    size_t count = 0;
    for (size_t i = index; i < first_ + kept_.size(); ++i) {
        count += i >= first_ && counted(kept_[i - first_]) ? 1 : 0;
    }
    TraceEvent event;
    while (ReadOne(&event)) {
        count += counted(event) ? 1 : 0;
    }
    return count;
}

}  // namespace tavlin
