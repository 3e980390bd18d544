// Preloaded into a program under test (LD_PRELOAD): raises the signal TAVLIN_TEST_RAISE names
// (TERM, INT or HUP) from a shared library's constructor, that is while the program is still
// being loaded, before its main and its signal handling exist.
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace {

__attribute__((constructor)) void RaiseWhileLoading() {
    const char* name = std::getenv("TAVLIN_TEST_RAISE");
    if (name == nullptr) {
        return;
    }
    const int signal = std::strcmp(name, "TERM") == 0  ? SIGTERM
                       : std::strcmp(name, "INT") == 0 ? SIGINT
                       : std::strcmp(name, "HUP") == 0 ? SIGHUP
                                                       : 0;
    if (signal != 0) {
        std::raise(signal);
    }
}

}  // namespace
