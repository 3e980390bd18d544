#pragma once

namespace tavlin {

// For a program's very first instant (called from its .preinit_array, POSIX only): a standard
// stream the program was started without (`2>&-`) would be the number the next file or pipe
// opened gets, and the texts meant for it would go there - into the log, a recording or the
// quit signals' pipe. Standard input becomes the null device; standard output and error a pipe
// whose reader is gone, so that a text written there fails as it does to any output nobody reads
// any more (and the program can tell it). Arguments as the loader gives them; none is used.
void OccupyClosedStandardStreams(int argc, char** argv, char** envp);

}  // namespace tavlin
