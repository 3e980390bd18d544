#pragma once
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "console/ScriptCommand.h"

namespace tavlin {

// Reads a register script the way the C library's formatted input reads it: every number and
// word is read after skipping white space, line breaks included (so blank lines are ignored and
// operands may continue on the next line); a line whose enable number is not 1, or that does not
// begin with a number at all, is discarded to its line break; keywords are compared exactly;
// after the operands one character is read and, unless it is a line break, the rest of the line
// is discarded. "%x" operands take an optional sign and "0x" prefix.
//
// Where the C reading did harm, this reader does not follow it:
// - A missing or non-number operand does not leave the previous command's value in place (which
//   would write a register nobody named): the line is reported as bad and the runner stops.
// - At the end of the file nothing more runs (C would repeat the last keyword once more when the
//   file ends with a line break).
// - A discarded line is discarded whole, however long, so text past 511 characters of a comment
//   is never read as a command.
// - A line that is read other than it is written runs as read, but is not silent: an enabled
//   line with an unknown keyword (a typo for "pwd" writes nothing), an operand that is more than
//   its number ("0xZZ" reads as 0, "10;" as 0x10) and a negative count or data byte each give a
//   warning (warnings()).
// - Numbers that do not fit into 32 bits, file names longer than 15 bytes or holding a path
//   separator, and counts the requests cannot carry (single registers: 1, bursts: 1 to 128) are
//   reported as bad instead of being cut.
// A line that does not do what it says.
struct ScriptWarning {
    enum class Kind {
        UnknownCommand,  // `token` is the keyword
        NotANumber,      // `token` is the whole operand as written
        Negative,        // a count or data byte with a minus sign; `token` as written
    };
    Kind kind = Kind::UnknownCommand;
    int line = 0;
    std::string token;
};

class ScriptParser {
  public:
    enum class Step {
        Command,     // *out holds an enabled command
        Skipped,     // enable number other than 1, or no number: a comment line
        Unknown,     // enabled line with an unrecognised keyword; it does nothing
        BadOperand,  // enabled line that must not run; error() says why
        End,         // no further line
    };

    static constexpr uint32_t kMaxBurstCount = 128;

    explicit ScriptParser(std::istream& in) : in_(in) {}

    Step Next(ScriptCommand* out);
    // The end of the file has been reached (tested after every line).
    bool AtEnd() const { return eof_; }
    // The output pane line for the last BadOperand.
    const std::string& error() const { return error_; }
    // The warnings of the line the last Next() read.
    const std::vector<ScriptWarning>& warnings() const { return warnings_; }
    // The line number the last BadOperand names.
    int errorLine() const { return errorLine_; }

  private:
    enum class Read { Ok, NoNumber, AtEnd, TooBig };
    // What a number stands for: a minus sign matters only on counts and data bytes.
    enum class Role { Other, CountOrData };

    int Peek();
    int Get();
    void SkipSpace();
    void DiscardLine();
    void AfterOperands();
    // Spaces, then an optional sign; false at the end of the script.
    bool StartNumber(bool* negative);
    Read ReadDec(int32_t* value);
    Read ReadHex(uint32_t* value, Role role = Role::Other);
    // After a number read from `text`: warns when the operand goes on past it, or when
    // `prefixOnly` (a "0x" without digits), or of a sign on a count or data byte.
    void CheckOperand(std::string text, bool negative, bool prefixOnly, Role role);
    // The rest of the word at the read position, read ahead without being taken.
    const std::string& RestOfWord();
    Read ReadWord(size_t maxLength, std::string* word, bool* tooLong);
    bool ReadOperands(ScriptCommand* command);
    bool CheckCounts(const ScriptCommand& command);
    Step Bad(int line, const char* reason);

    std::istream& in_;
    bool eof_ = false;
    int line_ = 1;
    std::string error_;
    int errorLine_ = 0;
    std::vector<ScriptWarning> warnings_;
    int commandLine_ = 0;  // the line of the command being read
    std::string pending_;  // read ahead by RestOfWord, never white space
};

}  // namespace tavlin
