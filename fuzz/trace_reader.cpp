// The recording reader on any bytes: it ends, refuses what is no recording with a line number
// inside the input, and hands out only events the replay can play.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "trace/TraceReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // fmemopen refuses an empty buffer; an empty file is read as one.
    static uint8_t empty = 0;
    std::FILE* file =
        fmemopen(size > 0 ? const_cast<uint8_t*>(data) : &empty, size > 0 ? size : 1, "rb");
    if (file == nullptr) {
        return 0;
    }
    if (size == 0) {
        std::fgetc(file);  // at the end
    }
    tavlin::TraceProblem problem;
    auto reader = tavlin::TraceReader::FromFile(file, &problem);
    if (!reader) {
        return 0;
    }
    // Every step takes at least one byte, so the steps are bounded by the input's length.
    for (size_t steps = 0; steps <= size + 1; ++steps) {
        tavlin::TraceEvent event;
        switch (reader->Next(&event, &problem)) {
            case tavlin::TraceReader::Step::End:
                return 0;
            case tavlin::TraceReader::Step::Problem:
                if (problem.line < 1 || static_cast<size_t>(problem.line) > size + 1) {
                    std::abort();  // a fault named at a line the input does not have
                }
                return 0;
            case tavlin::TraceReader::Step::Event:
                if ((event.kind == tavlin::TraceEvent::Kind::Out ||
                     event.kind == tavlin::TraceEvent::Kind::In) &&
                    event.bytes.empty()) {
                    std::abort();  // a report of no bytes cannot be played
                }
                break;
        }
    }
    std::abort();  // the reader never reached the end
}
