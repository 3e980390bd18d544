// The register script reader on any bytes: every step ends, a command it hands out carries what
// the requests can hold, and the reader always reaches the end.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "console/ScriptParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    tavlin::ScriptParser parser(in);
    // Every step consumes input or ends, so the steps are bounded by the input's length.
    for (size_t steps = 0; steps <= size + 1; ++steps) {
        tavlin::ScriptCommand command;
        const auto step = parser.Next(&command);
        if (step == tavlin::ScriptParser::Step::End) {
            return 0;
        }
        if (step == tavlin::ScriptParser::Step::Command &&
            (command.fileName.size() > 15 ||
             command.fileName.find_first_of("/\\") != std::string::npos)) {
            std::abort();  // a burst file name the requests cannot carry was let through
        }
    }
    std::abort();  // the reader never reached the end
}
