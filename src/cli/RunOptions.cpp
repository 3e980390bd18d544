#include "cli/RunOptions.h"

#include <cstdlib>

#include "base/FillText.h"
#include "base/StringTable.h"
#include "station/GivenOptions.h"
#include "station/OptionValueTexts.h"

namespace tavlin::cli {
namespace {

using station::OptionId;
using station::OptionProblem;

std::string ProblemText(const OptionProblem& problem) {
    const std::string name(problem.option->name);
    if (problem.kind == OptionProblem::Kind::BadValue) {
        return FillText(Tr(problem.option->badValue), {problem.word});
    }
    if (problem.option->cliNoValue != nullptr) {
        return Tr(problem.option->cliNoValue);
    }
    return FillText(Tr(problem.kind == OptionProblem::Kind::NoValue ? optiontext::kNoValue
                                                                    : optiontext::kEmptyValue),
                    {name});
}

}  // namespace

bool ReadRunOptions(const std::vector<std::string>& args, RunOptions* out,
                    std::vector<std::string>* command, std::string* error) {
    station::GivenOptions given;
    const std::vector<OptionProblem> problems = station::TakeOptions(args, station::kCli, &given);
    out->json = given.has(OptionId::Json);
    out->all = given.has(OptionId::All);
    out->help = given.has(OptionId::Help);
    out->version = given.has(OptionId::Version);
    out->results = given.value(OptionId::Results);
    out->resultsServer = given.value(OptionId::ResultsServer);
    if (!given.has(OptionId::ResultsServer)) {
        const char* server = std::getenv(kResultsServerVariable);
        out->resultsServer = server == nullptr ? "" : server;
    }
    out->operatorName = given.value(OptionId::Operator);
    out->lot = given.value(OptionId::Lot);
    out->requireRecord = given.has(OptionId::RequireRecord);
    out->trustedKeys = given.values(OptionId::TrustedKey);
    out->requireSigned = given.has(OptionId::RequireSigned);
    out->logDir = given.value(OptionId::LogDir);
    out->device = given.value(OptionId::Device);
    out->transport = station::TransportOptionsFrom(given);
    out->handedToCopies = given.HandedToCopies();
    *command = given.rest();
    if (!problems.empty()) {
        *error = ProblemText(problems.front());
        return false;
    }
    return true;
}

}  // namespace tavlin::cli
