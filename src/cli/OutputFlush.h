#pragma once
#include <cstdio>

namespace tavlin::cli {

// Flushes what was written to `stream`. A write that cannot be made (the reader of a pipe gone,
// stdout or stderr closed) means nobody is listening any more: the job goes on to its end, as it
// does when the log's disk fills, and the log says so once per stream: "Output closed: <stream>
// (<reason>); the run goes on". A run without a log says nothing.
void FlushOutput(std::FILE* stream);

}  // namespace tavlin::cli
