#include "cli/OutputFlush.h"

#include <cerrno>
#include <mutex>
#include <set>
#include <string>
#include <system_error>

#include "base/Log.h"
#include "platform/FilePath.h"

namespace tavlin::cli {
namespace {

std::string StreamName(int descriptor) {
    switch (descriptor) {
        case 1:
            return "stdout";
        case 2:
            return "stderr";
        default:
            return "descriptor " + std::to_string(descriptor);
    }
}

}  // namespace

void FlushOutput(std::FILE* stream) {
    const bool flushed = std::fflush(stream) == 0;
    const int error = errno;
    if (flushed && std::ferror(stream) == 0) {
        return;
    }
    if (!LogStarted()) {
        return;  // a run that writes no log (layout, --help, a usage error) starts none
    }
    static std::mutex mutex;
    static std::set<int> told;  // the descriptors whose closing the log has told
    const int descriptor = fileno(stream);
    {
        std::lock_guard lock(mutex);
        if (!told.insert(descriptor).second) {
            return;
        }
    }
    const std::string reason =
        error != 0 ? ErrorText(std::error_code(error, std::generic_category())) : "write failed";
    WriteLog("Output closed: %s (%s); the run goes on\n", StreamName(descriptor).c_str(),
             reason.c_str());
}

}  // namespace tavlin::cli
