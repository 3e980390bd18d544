#include "cli/RunOptions.h"

namespace tavlin::cli {

bool ConsumeRunOptions(std::vector<std::string>* args, RunOptions* out, std::string* error) {
    static const std::string kLogDirEquals = "--log-dir=";
    std::vector<std::string> rest;
    bool ok = true;
    for (size_t i = 0; i < args->size(); ++i) {
        const std::string& arg = (*args)[i];
        if (arg == "--json") {
            out->json = true;
        } else if (arg == "--log-dir" || arg.rfind(kLogDirEquals, 0) == 0) {
            const bool inline_ = arg != "--log-dir";
            if (!inline_ && i + 1 < args->size()) {
                out->logDir = (*args)[++i];
            } else if (inline_) {
                out->logDir = arg.substr(kLogDirEquals.size());
            }
            if (out->logDir.empty() && ok) {
                *error = "--log-dir takes a folder";
                ok = false;
            }
        } else {
            rest.push_back(arg);
        }
    }
    *args = std::move(rest);
    return ok;
}

}  // namespace tavlin::cli
