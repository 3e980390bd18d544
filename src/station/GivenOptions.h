#pragma once
#include <string>
#include <utility>
#include <vector>

#include "station/OptionTable.h"

namespace tavlin::station {

// What is wrong with one word of a command line.
struct OptionProblem {
    enum class Kind {
        Unknown,       // no option of this program (the window only: the CLI leaves it)
        TakesNoValue,  // a switch given =VALUE (the window only)
        NoValue,       // an option that takes a value stood last
        EmptyValue,    // given an empty value
        BadValue,      // a value the option's check turns down
    };
    Kind kind;
    const OptionRow* option;  // null for Unknown
    std::string word;         // Unknown and TakesNoValue: the name given; BadValue: the value
};

// The options one command line gave, by the option table.
class GivenOptions {
  public:
    bool has(OptionId id) const;
    // The value given last ("" for a switch, or an option not given).
    const std::string& value(OptionId id) const;
    // Every value given, in order: what an option that Repeats() takes.
    std::vector<std::string> values(OptionId id) const;
    // The words no option took, in their order: the CLI's command with its own arguments and
    // options; the window's stray arguments.
    const std::vector<std::string>& rest() const { return rest_; }
    // The options --all hands to each copy (see OptionRow::handedToCopies), as --name or
    // --name=VALUE: a value that starts with a dash stays the option's.
    std::vector<std::string> HandedToCopies() const;

  private:
    friend std::vector<OptionProblem> TakeOptions(const std::vector<std::string>&, unsigned,
                                                  GivenOptions*);
    void Set(const OptionRow& option, std::string value);

    std::vector<std::pair<const OptionRow*, std::string>> given_;  // in the table's order
    std::vector<std::pair<const OptionRow*, std::string>> every_;  // each value, as given
    std::vector<std::string> rest_;
};

// Takes the options of `frontEnd` (FrontEnd bits) out of `words` wherever they stand, as --name,
// --name=VALUE or --name VALUE (the word after it, whatever it is). The CLI leaves every other
// word to its command; the window refuses a word that looks like an option and is none of its
// own. Every word is read whatever comes before it, so an option after a problem still counts
// (--json still asks for the object that tells the usage error). The problems come in the
// words' order.
std::vector<OptionProblem> TakeOptions(const std::vector<std::string>& words, unsigned frontEnd,
                                       GivenOptions* out);

}  // namespace tavlin::station
