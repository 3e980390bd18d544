#pragma once
#include <span>
#include <string>
#include <string_view>

namespace tavlin::station {

// Which program takes an option.
enum FrontEnd : unsigned { kCli = 1u << 0, kWindow = 1u << 1, kBothFrontEnds = kCli | kWindow };

enum class OptionId {
    Help,
    Simulate,
    SimFaults,
    SimDevices,
    SimState,
    Device,
    All,
    Json,
    LogDir,
    Record,
    Replay,
    ReplayPace,
    Version,
    Results,
    ResultsServer,
    Operator,
    Lot,
    RequireRecord,
    TrustedKey,
    RequireSigned,
    Engineering,
    CheckCalibration,
    CheckTolerance,
    ScreenSize,
};

// One option of the command lines. The texts are built-in texts, translated where they are shown.
struct OptionRow {
    OptionId id;
    std::string_view name;       // "--log-dir"
    std::string_view shortName;  // "-h"; empty: none
    // The value's name in the window's help; nullptr: a switch, which takes no value.
    const char* valueName;
    unsigned frontEnds;  // FrontEnd bits
    // The window's help line; nullptr: not in the window.
    const char* help;
    // The CLI's help paragraph; nullptr: told with another option's, or not in the CLI.
    const char* cliHelp;
    // The CLI's words for a missing or empty value; nullptr: the common ones.
    const char* cliNoValue;
    // What the value must be beyond not empty (empty is refused for every option); nullptr:
    // anything, or checked with the options it goes with (see CheckTransportOptions).
    bool (*valueIsGood)(const std::string& value);
    // The refusal of a value valueIsGood turns down, with %s for the value.
    const char* badValue;
    // Handed on to the copies --all starts: what a copy must know to reach its device the same
    // way. The parent's own options (--all, --json, --log-dir, --device) are not.
    bool handedToCopies;

    bool takesValue() const { return valueName != nullptr; }
};

// Every option, in the order both --help texts list them.
std::span<const OptionRow> OptionTable();

// Whether every value of the option counts (--trusted-key A --trusted-key B), not only the last.
bool Repeats(OptionId id);

// The option of `frontEnd` named `name` (without "=value"); nullptr: none.
const OptionRow* FindOption(std::string_view name, unsigned frontEnd);
const OptionRow& Option(OptionId id);

}  // namespace tavlin::station
