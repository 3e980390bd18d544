#include "cli/CliArgs.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string_view>

#include "base/FillText.h"
#include "base/StringTable.h"
#include "cli/CliCalibrate.h"
#include "cli/CliDevices.h"
#include "cli/RecordTexts.h"
#include "cli/UsageTexts.h"
#include "console/NumberText.h"
#include "station/OptionTable.h"
#include "station/OptionValueTexts.h"

namespace tavlin::cli {

namespace {

// The command line's forms: option and command names, the same in every language.
constexpr const char* kForms =
    "  tavlin-cli [--simulate [--sim-devices N] [--sim-faults=PLAN]] [--json]\n"
    "             [--log-dir DIR] [--device PORT | --all]\n"
    "             [--record FILE | --replay FILE [--replay-pace recorded]]\n"
    "             [--results FILE | --results none] [--operator NAME] [--lot LOT]\n"
    "             [--require-record]\n"
    "             COMMAND [ARGS...]\n"
    "  tavlin-cli --version | --help\n"
    "\n";

}  // namespace

std::string UsageText() {
#ifdef _WIN32
    const char* noAccess = usage::kExitNoAccessWindows;
#else
    const char* noAccess = usage::kExitNoAccess;
#endif
    std::string text = Tr(usage::kUsageHeading) + kForms + Tr(usage::kUsage) +
                       Tr(usage::kUsagePackage) + Tr(usage::kUsageResume);
    for (const station::OptionRow& option : station::OptionTable()) {
        if ((option.frontEnds & station::kCli) != 0 && option.cliHelp != nullptr) {
            text += Tr(option.cliHelp);
        }
    }
    return text + Tr(usage::kUsageEnd) + Tr(noAccess);
}

namespace {

// The commands' options that take a value (the word after them).
constexpr std::string_view kValuedSubOptions[] = {"--replug-timeout", "--frames",       "--png",
                                                  "--screen",         "--target-limit", "--last",
                                                  "--port",           "--since",        "--csv"};

// YYYY-MM-DD, the month and day in their ranges.
bool IsDate(const std::string& text) {
    int year = 0;
    int month = 0;
    int day = 0;
    char rest = 0;
    return text.size() == 10 && text[4] == '-' && text[7] == '-' &&
           std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &year, &month, &day, &rest) == 3 &&
           text.find_first_not_of("0123456789-") == std::string::npos && month >= 1 &&
           month <= 12 && day >= 1 && day <= 31;
}

// results [--last N] [--port P] [--since DATE], results export (--csv FILE | FILE), or
// results upload.
bool ParseResults(const std::vector<std::string>& rest, Invocation* out, std::string* error) {
    out->command = Command::Results;
    size_t i = 0;
    if (!rest.empty() && rest[0] == "upload") {
        out->command = Command::ResultsUpload;
        if (rest.size() > 1) {
            *error = FillText(Tr(recordtext::kResultsOption), {rest[1]});
            return false;
        }
        return true;
    }
    if (!rest.empty() && rest[0] == "export") {
        out->command = Command::ResultsExport;
        i = 1;
    }
    for (; i < rest.size(); ++i) {
        const std::string& option = rest[i];
        const bool hasValue = i + 1 < rest.size();
        if (out->command == Command::ResultsExport && option == "--csv" && hasValue &&
            out->file.empty()) {
            out->csv = true;
            out->file = rest[++i];
        } else if (out->command == Command::ResultsExport && option.rfind("--", 0) != 0 &&
                   out->file.empty()) {
            out->file = option;
        } else if (option == "--last" && hasValue) {
            const std::string& n = rest[++i];
            if (n.size() > 7 || n.find_first_not_of("0123456789") != std::string::npos ||
                std::stoi(n) < 1) {
                *error = FillText(Tr(recordtext::kResultsLast), {n});
                return false;
            }
            out->lastRuns = std::stoi(n);
        } else if (option == "--port" && hasValue) {
            out->resultsPort = rest[++i];
        } else if (option == "--since" && hasValue) {
            out->resultsSince = rest[++i];
            if (!IsDate(out->resultsSince)) {
                *error = FillText(Tr(recordtext::kResultsSince), {out->resultsSince});
                return false;
            }
        } else {
            *error = FillText(Tr(recordtext::kResultsOption), {option});
            return false;
        }
    }
    if (out->command == Command::ResultsExport && out->file.empty()) {
        *error = FillText(Tr(recordtext::kResultsOption), {"export"});
        return false;
    }
    return true;
}

bool ParseUpdate(std::vector<std::string> rest, Invocation* out, std::string* error) {
    out->command = Command::Update;
    for (size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == "--verify") {
            out->verify = true;
        } else if (rest[i] == "--resume") {
            out->resume = true;
        } else if (rest[i] == "--replug-timeout") {
            int seconds = -1;
            if (i + 1 < rest.size()) {
                try {
                    size_t used = 0;
                    seconds = std::stoi(rest[i + 1], &used);
                    seconds = used == rest[i + 1].size() ? seconds : -1;
                } catch (const std::exception&) {
                    seconds = -1;
                }
            }
            if (seconds < 1 || seconds > 3600) {
                *error = Tr(usage::kReplugTimeout);
                return false;
            }
            out->replugTimeoutSeconds = seconds;
            ++i;
        } else if (out->file.empty() && rest[i].rfind("--", 0) != 0) {
            out->file = rest[i];
        } else {
            *error = FillText(Tr(usage::kUpdateArgument), {rest[i]});
            return false;
        }
    }
    if (out->resume && !out->file.empty()) {
        *error = Tr(usage::kResumeTakesNoPackage);
        return false;
    }
    if (out->file.empty() && !out->resume) {
        *error = Tr(usage::kUpdateNeedsPackage);
        return false;
    }
    return true;
}

bool ParseLevelOptions(const std::vector<std::string>& rest, Invocation* out, std::string* error) {
    for (size_t i = 0; i < rest.size(); ++i) {
        const std::string& option = rest[i];
        const bool hasValue = i + 1 < rest.size();
        if (option == "--exposure") {
            out->exposure = true;
        } else if (option == "--frames" && hasValue) {
            const std::string& n = rest[++i];
            if (n.empty() || n.size() > 6 ||
                n.find_first_not_of("0123456789") != std::string::npos || std::stoi(n) < 1) {
                *error = FillText(Tr(usage::kFrames), {n});
                return false;
            }
            out->frames = std::stoi(n);
        } else if (option == "--png" && hasValue) {
            out->pngDir = rest[++i];
        } else {
            *error = FillText(Tr(usage::kLevelOption), {option});
            return false;
        }
    }
    return true;
}

}  // namespace

bool ParseInvocation(const std::vector<std::string>& args, Invocation* out, std::string* error) {
    *out = Invocation{};
    if (args.empty()) {
        *error = Tr(usage::kNoCommand);
        return false;
    }
    std::vector<std::string> rest(args.begin() + 1, args.end());
    const std::string& name = args[0];
    auto takeI2c = [&] {
        if (!rest.empty() && rest[0] == "--i2c") {
            out->i2c = true;
            rest.erase(rest.begin());
        }
    };
    auto expect = [&](size_t n) {
        if (rest.size() != n) {
            const char* text = n == 0   ? usage::kTakesNoArgument
                               : n == 1 ? usage::kTakesOneArgument
                                        : usage::kTakesArguments;
            *error = FillText(Tr(text), {name, std::to_string(n)});
            return false;
        }
        return true;
    };
    if (name == "--help" || name == "-h" || name == "help") {
        out->command = Command::Help;
        return true;
    }
    if (name == "--version") {
        out->command = Command::Version;
        return true;
    }
    // An empty word is a script's variable that came out empty: taking it as a file name, a
    // folder or a number of seconds would run something nobody asked for.
    const std::string* before = nullptr;
    for (const std::string& word : rest) {
        if (word.empty()) {
            const bool value = before != nullptr &&
                               std::find(std::begin(kValuedSubOptions), std::end(kValuedSubOptions),
                                         *before) != std::end(kValuedSubOptions);
            *error = value ? FillText(Tr(optiontext::kEmptyValue), {*before})
                           : FillText(Tr(usage::kEmptyArgument), {name});
            return false;
        }
        before = &word;
    }
    if (name == "detect" || name == "versions") {
        out->command = name == "detect" ? Command::Detect : Command::Versions;
        return expect(0);
    }
    if (name == "list") {
        out->command = Command::List;
        return expect(0);
    }
    if (name == "mode") {
        if (!expect(1)) {
            return false;
        }
        if (rest[0] == "work") {
            out->command = Command::ModeWork;
        } else if (rest[0] == "calibration") {
            out->command = Command::ModeCalibration;
        } else {
            *error = FillText(Tr(usage::kModeWord), {rest[0]});
            return false;
        }
        return true;
    }
    if (name == "read") {
        takeI2c();
        if (!expect(1)) {
            return false;
        }
        out->command = Command::Read;
        out->address = rest[0];
        // The panel reads a number-less address as 0; a station asking for a register by a
        // mistyped address must not get register 0's value.
        uint32_t address = 0;
        if (!StrToIntEx(out->address, &address)) {
            *error = FillText(Tr(usage::kNotAnAddress), {out->address});
            return false;
        }
        return true;
    }
    if (name == "write") {
        takeI2c();
        if (!expect(2)) {
            return false;
        }
        out->command = Command::Write;
        out->address = rest[0];
        out->value = rest[1];
        return true;
    }
    if (name == "script" || name == "fpga") {
        if (!expect(1)) {
            return false;
        }
        out->command = name == "script" ? Command::Script : Command::Fpga;
        out->file = rest[0];
        return true;
    }
    if (name == "update") {
        return ParseUpdate(rest, out, error);
    }
    if (name == "level") {
        out->command = Command::Level;
        return ParseLevelOptions(rest, out, error);
    }
    if (name == "results") {
        return ParseResults(rest, out, error);
    }
    if (name == "package") {
        if (rest.size() != 2 || (rest[0] != "manifest" && rest[0] != "verify")) {
            *error = Tr(usage::kPackageArguments);
            return false;
        }
        out->command = rest[0] == "manifest" ? Command::PackageManifest : Command::PackageVerify;
        out->file = rest[1];
        return true;
    }
    if (name == "layout" || name == "calibrate") {
        return ParseCalibrationCommand(name, rest, out, error);
    }
    *error = FillText(Tr(usage::kUnknownCommand), {name});
    return false;
}

}  // namespace tavlin::cli
