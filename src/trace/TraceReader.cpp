#include "trace/TraceReader.h"

#include "platform/RegularFile.h"
#include "trace/TraceFormat.h"

namespace tavlin {

std::unique_ptr<TraceReader> TraceReader::Open(const std::string& path, TraceProblem* problem) {
    const RegularFile opened = OpenRegularFile(path, "rb");
    if (opened.notAFile) {
        *problem = {TraceProblem::Kind::NotAFile, 0, "not a regular file"};
        return nullptr;
    }
    if (!opened) {
        *problem = {TraceProblem::Kind::Unreadable, 0, "cannot open"};
        return nullptr;
    }
    return FromFile(opened.file, problem);
}

std::unique_ptr<TraceReader> TraceReader::FromFile(std::FILE* file, TraceProblem* problem) {
    std::unique_ptr<TraceReader> reader(new TraceReader(file));
    std::string header;
    if (!reader->NextLine(&header, problem)) {
        if (!reader->ended_) {
            return nullptr;
        }
        *problem = {TraceProblem::Kind::UnknownFormat, 1, "empty"};
        return nullptr;
    }
    if (!IsTraceHeaderLine(header)) {
        *problem = {TraceProblem::Kind::UnknownFormat, reader->line_, "no recording's header"};
        return nullptr;
    }
    return reader;
}

TraceReader::~TraceReader() {
    std::fclose(file_);
}

bool TraceReader::NextLine(std::string* line, TraceProblem* problem) {
    for (;;) {
        line->clear();
        if (ended_) {
            return false;
        }
        ++line_;
        int c = 0;
        while ((c = std::getc(file_)) != EOF && c != '\n') {
            if (line->size() >= kMaxTraceLine) {
                *problem = {TraceProblem::Kind::BadLine, line_, "line too long"};
                return false;
            }
            line->push_back(static_cast<char>(c));
        }
        if (c == EOF) {
            if (std::ferror(file_)) {
                *problem = {TraceProblem::Kind::Unreadable, line_, "read failed"};
                return false;
            }
            ended_ = true;
        }
        if (!line->empty() && line->back() == '\r') {
            line->pop_back();  // written or edited on Windows
        }
        if (!line->empty()) {
            return true;
        }
    }
}

TraceReader::Step TraceReader::Next(TraceEvent* event, TraceProblem* problem) {
    std::string text;
    if (!NextLine(&text, problem)) {
        return ended_ ? Step::End : Step::Problem;
    }
    *event = TraceEvent();
    if (!ParseTraceEventLine(text, event)) {
        // A last line without its line end was cut short by a recording that ended early (a
        // full disk): the recording replays up to there.
        if (ended_) {
            cutShort_ = true;
            return Step::End;
        }
        *problem = {TraceProblem::Kind::BadLine, line_, "not an event"};
        return Step::Problem;
    }
    event->line = line_;
    return Step::Event;
}

bool CheckTrace(const std::string& path, TraceProblem* problem) {
    auto reader = TraceReader::Open(path, problem);
    if (!reader) {
        return false;
    }
    TraceEvent event;
    for (;;) {
        switch (reader->Next(&event, problem)) {
            case TraceReader::Step::Event:
                break;
            case TraceReader::Step::End:
                return true;
            case TraceReader::Step::Problem:
                return false;
        }
    }
}

std::optional<std::vector<TraceEvent>> ReadTrace(const std::string& path, TraceProblem* problem) {
    auto reader = TraceReader::Open(path, problem);
    if (!reader) {
        return std::nullopt;
    }
    std::vector<TraceEvent> events;
    TraceEvent event;
    for (;;) {
        switch (reader->Next(&event, problem)) {
            case TraceReader::Step::Event:
                events.push_back(std::move(event));
                break;
            case TraceReader::Step::End:
                return events;
            case TraceReader::Step::Problem:
                return std::nullopt;
        }
    }
}

}  // namespace tavlin
