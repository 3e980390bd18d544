#include "records/RunRecord.h"

namespace tavlin {

namespace {

constexpr struct {
    RunOutcome outcome;
    const char* name;
} kOutcomeNames[] = {
    {RunOutcome::Running, "running"}, {RunOutcome::Passed, "passed"},
    {RunOutcome::Failed, "failed"},   {RunOutcome::Interrupted, "interrupted"},
    {RunOutcome::Stopped, "stopped"},
};

}  // namespace

const char* RunOutcomeName(RunOutcome outcome) {
    for (const auto& entry : kOutcomeNames) {
        if (entry.outcome == outcome) {
            return entry.name;
        }
    }
    return "running";
}

std::optional<RunOutcome> RunOutcomeFromName(const std::string& name) {
    for (const auto& entry : kOutcomeNames) {
        if (name == entry.name) {
            return entry.outcome;
        }
    }
    return std::nullopt;
}

}  // namespace tavlin
