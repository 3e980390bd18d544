#include "station/GivenOptions.h"

#include <algorithm>

namespace tavlin::station {

bool GivenOptions::has(OptionId id) const {
    return std::any_of(given_.begin(), given_.end(),
                       [id](const auto& given) { return given.first->id == id; });
}

const std::string& GivenOptions::value(OptionId id) const {
    static const std::string kNone;
    const auto found = std::find_if(given_.begin(), given_.end(),
                                    [id](const auto& given) { return given.first->id == id; });
    return found == given_.end() ? kNone : found->second;
}

std::vector<std::string> GivenOptions::values(OptionId id) const {
    std::vector<std::string> out;
    for (const auto& [option, value] : every_) {
        if (option->id == id) {
            out.push_back(value);
        }
    }
    return out;
}

void GivenOptions::Set(const OptionRow& option, std::string value) {
    every_.emplace_back(&option, value);
    const auto found = std::find_if(given_.begin(), given_.end(),
                                    [&](const auto& given) { return given.first == &option; });
    if (found != given_.end()) {
        found->second = std::move(value);
        return;
    }
    given_.emplace_back(&option, std::move(value));
    const auto tableIndex = [](const OptionRow* row) { return row - OptionTable().data(); };
    std::sort(given_.begin(), given_.end(), [&](const auto& a, const auto& b) {
        return tableIndex(a.first) < tableIndex(b.first);
    });
}

std::vector<std::string> GivenOptions::HandedToCopies() const {
    std::vector<std::string> words;
    for (const auto& [option, value] : given_) {
        if (!option->handedToCopies) {
            continue;
        }
        if (!option->takesValue()) {
            words.emplace_back(option->name);
            continue;
        }
        for (const std::string& each :
             Repeats(option->id) ? values(option->id) : std::vector<std::string>{value}) {
            words.push_back(std::string(option->name) + "=" + each);
        }
    }
    return words;
}

std::vector<OptionProblem> TakeOptions(const std::vector<std::string>& words, unsigned frontEnd,
                                       GivenOptions* out) {
    std::vector<OptionProblem> problems;
    const bool refuseStrangers = (frontEnd & kCli) == 0;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        const size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        const OptionRow* option = word.size() > 1 && word[0] == '-' && word != "--"
                                      ? FindOption(name, frontEnd)
                                      : nullptr;
        if (option == nullptr || (!option->takesValue() && equals != std::string::npos)) {
            if (refuseStrangers && word.size() > 1 && word[0] == '-') {
                const auto kind = option == nullptr ? OptionProblem::Kind::Unknown
                                                    : OptionProblem::Kind::TakesNoValue;
                problems.push_back({kind, option, name});
            } else {
                out->rest_.push_back(word);
            }
            continue;
        }
        if (!option->takesValue()) {
            out->Set(*option, {});
            continue;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = word.substr(equals + 1);
        } else if (i + 1 < words.size()) {
            value = words[++i];
        } else {
            problems.push_back({OptionProblem::Kind::NoValue, option, {}});
            out->Set(*option, {});
            continue;
        }
        if (value.empty()) {
            problems.push_back({OptionProblem::Kind::EmptyValue, option, {}});
        } else if (option->valueIsGood != nullptr && !option->valueIsGood(value)) {
            problems.push_back({OptionProblem::Kind::BadValue, option, value});
        }
        out->Set(*option, std::move(value));
    }
    return problems;
}

}  // namespace tavlin::station
