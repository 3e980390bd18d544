#include "cli/RunOptions.h"

#include "base/StringTable.h"
#include "cli/UsageTexts.h"

namespace tavlin::cli {
namespace {

// The options that take a value, where it goes, and what a missing value is called.
struct ValueOption {
    const char* name;
    std::string RunOptions::*field;
    const char* missing;
};
constexpr ValueOption kValueOptions[] = {
    {"--log-dir", &RunOptions::logDir, usage::kLogDirTakesFolder},
    {"--device", &RunOptions::device, usage::kDeviceTakesPort},
};

}  // namespace

bool ConsumeRunOptions(std::vector<std::string>* args, RunOptions* out, std::string* error) {
    std::vector<std::string> rest;
    bool ok = true;
    for (size_t i = 0; i < args->size(); ++i) {
        const std::string& arg = (*args)[i];
        if (arg == "--json") {
            out->json = true;
            continue;
        }
        if (arg == "--all") {
            out->all = true;
            continue;
        }
        bool taken = false;
        for (const ValueOption& option : kValueOptions) {
            const std::string name = option.name;
            const std::string equals = name + "=";
            if (arg != name && arg.rfind(equals, 0) != 0) {
                continue;
            }
            std::string& value = out->*option.field;
            if (arg == name) {
                value = i + 1 < args->size() ? (*args)[++i] : std::string();
            } else {
                value = arg.substr(equals.size());
            }
            if (value.empty() && ok) {
                *error = Tr(option.missing);
                ok = false;
            }
            taken = true;
        }
        if (!taken) {
            rest.push_back(arg);
        }
    }
    *args = std::move(rest);
    return ok;
}

}  // namespace tavlin::cli
