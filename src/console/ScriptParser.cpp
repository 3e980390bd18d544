#include "console/ScriptParser.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "base/HexDigit.h"

namespace tavlin {
namespace {

struct Keyword {
    const char* text;
    ScriptCommand::Kind kind;
};

constexpr Keyword kKeywords[] = {
    {"prd", ScriptCommand::Kind::PortRead},   {"pwd", ScriptCommand::Kind::PortWrite},
    {"srd", ScriptCommand::Kind::SingleRead}, {"brd", ScriptCommand::Kind::BurstRead},
    {"bwd", ScriptCommand::Kind::BurstWrite}, {"#", ScriptCommand::Kind::Delay},
    {"i2cwd", ScriptCommand::Kind::I2cWrite}, {"i2crd", ScriptCommand::Kind::I2cRead},
};

constexpr size_t kMaxKeyword = 63;
// A warning shows at most this much of an operand.
constexpr size_t kMaxShownOperand = 63;
constexpr size_t kMaxFileName = 15;
// A burst file lives in the working directory, and a NUL would cut its name short to another
// file's.
constexpr std::string_view kNotInFileName{"/\\\0", 3};

// Keeps what a warning shows of a number bounded, however many leading zeros it has.
void Keep(std::string* text, int c) {
    if (text->size() < kMaxShownOperand) {
        text->push_back(static_cast<char>(c));
    }
}

bool IsSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

int ScriptParser::Peek() {
    if (!pending_.empty()) {
        return static_cast<unsigned char>(pending_.front());
    }
    const int c = in_.peek();
    if (c == std::char_traits<char>::eof()) {
        eof_ = true;
        return EOF;
    }
    return c;
}

int ScriptParser::Get() {
    const int c = Peek();
    if (c != EOF) {
        if (!pending_.empty()) {
            pending_.erase(0, 1);
        } else {
            in_.get();
        }
        if (c == '\n') {
            ++line_;
        }
    }
    return c;
}

void ScriptParser::SkipSpace() {
    while (IsSpace(Peek())) {
        Get();
    }
}

void ScriptParser::DiscardLine() {
    for (int c = Get(); c != EOF && c != '\n'; c = Get()) {
    }
}

void ScriptParser::AfterOperands() {
    const int c = Get();
    if (c != EOF && c != '\n') {
        DiscardLine();
    }
}

const std::string& ScriptParser::RestOfWord() {
    while (pending_.size() < kMaxShownOperand) {
        const int c = in_.peek();
        if (c == std::char_traits<char>::eof() || IsSpace(c)) {
            break;
        }
        pending_.push_back(static_cast<char>(in_.get()));
    }
    return pending_;
}

void ScriptParser::CheckOperand(std::string text, bool negative, bool prefixOnly, Role role) {
    const int next = Peek();
    if (prefixOnly || (next != EOF && !IsSpace(next))) {
        if (next != EOF && !IsSpace(next)) {
            text += RestOfWord();
        }
        warnings_.push_back({ScriptWarning::Kind::NotANumber, commandLine_, std::move(text)});
    } else if (negative && role == Role::CountOrData) {
        warnings_.push_back({ScriptWarning::Kind::Negative, commandLine_, std::move(text)});
    }
}

bool ScriptParser::StartNumber(bool* negative) {
    SkipSpace();
    if (Peek() == EOF) {
        return false;
    }
    *negative = false;
    if (Peek() == '+' || Peek() == '-') {
        *negative = Get() == '-';
    }
    return true;
}

ScriptParser::Read ScriptParser::ReadDec(int32_t* value) {
    bool negative = false;
    if (!StartNumber(&negative)) {
        return Read::AtEnd;
    }
    std::string text = negative ? "-" : "";
    int64_t result = 0;
    bool digits = false;
    bool tooBig = false;
    for (int c = Peek(); c >= '0' && c <= '9'; c = Peek()) {
        Keep(&text, Get());
        digits = true;
        result = result * 10 + (c - '0');
        if (result > 0x80000000LL) {
            tooBig = true;
            result = 0x80000000LL;
        }
    }
    if (!digits) {
        return Read::NoNumber;
    }
    if (tooBig || (!negative && result > 0x7FFFFFFFLL)) {
        return Read::TooBig;
    }
    CheckOperand(std::move(text), negative, false, Role::Other);
    *value = static_cast<int32_t>(negative ? -result : result);
    return Read::Ok;
}

ScriptParser::Read ScriptParser::ReadHex(uint32_t* value, Role role) {
    bool negative = false;
    if (!StartNumber(&negative)) {
        return Read::AtEnd;
    }
    std::string text = negative ? "-" : "";
    uint64_t result = 0;
    bool digits = false;
    bool prefix = false;
    if (Peek() == '0') {
        Keep(&text, Get());
        digits = true;
        // "0x" alone reads as 0, as the C library takes it.
        if (Peek() == 'x' || Peek() == 'X') {
            Keep(&text, Get());
            prefix = true;
        }
    }
    bool tooBig = false;
    bool afterPrefix = false;
    for (int d = HexDigit(Peek()); d >= 0; d = HexDigit(Peek())) {
        Keep(&text, Get());
        digits = true;
        afterPrefix = true;
        result = (result << 4) | static_cast<unsigned>(d);
        if (result > 0xFFFFFFFFull) {
            tooBig = true;
            result &= 0xFFFFFFFFull;
        }
    }
    if (!digits) {
        return Read::NoNumber;
    }
    if (tooBig) {
        return Read::TooBig;
    }
    CheckOperand(std::move(text), negative, prefix && !afterPrefix, role);
    const auto low = static_cast<uint32_t>(result);
    *value = negative ? 0u - low : low;
    return Read::Ok;
}

ScriptParser::Read ScriptParser::ReadWord(size_t maxLength, std::string* word, bool* tooLong) {
    SkipSpace();
    if (Peek() == EOF) {
        return Read::AtEnd;
    }
    word->clear();
    while (word->size() < maxLength && Peek() != EOF && !IsSpace(Peek())) {
        word->push_back(static_cast<char>(Get()));
    }
    *tooLong = Peek() != EOF && !IsSpace(Peek());
    return Read::Ok;
}

ScriptParser::Step ScriptParser::Bad(int line, const char* reason) {
    char text[128];
    std::snprintf(text, sizeof text, "Script line %d: %s, script stopped!\n", line, reason);
    error_ = text;
    errorLine_ = line;
    return Step::BadOperand;
}

bool ScriptParser::ReadOperands(ScriptCommand* c) {
    using Kind = ScriptCommand::Kind;
    int32_t ignored = 0;
    bool tooLong = false;
    switch (c->kind) {
        case Kind::PortRead:
        case Kind::I2cRead:
            return ReadHex(&c->address) == Read::Ok &&
                   ReadHex(&c->count, Role::CountOrData) == Read::Ok;
        case Kind::PortWrite:
        case Kind::I2cWrite:
            return ReadHex(&c->address) == Read::Ok &&
                   ReadHex(&c->count, Role::CountOrData) == Read::Ok &&
                   ReadHex(&c->data, Role::CountOrData) == Read::Ok;
        case Kind::SingleRead:
            c->count = 1;
            return ReadHex(&c->address) == Read::Ok;
        case Kind::Delay:
            return ReadDec(&c->delayMs) == Read::Ok;
        case Kind::BurstWrite:
            if (ReadDec(&ignored) != Read::Ok) {
                return false;
            }
            [[fallthrough]];
        case Kind::BurstRead:
            return ReadHex(&c->address) == Read::Ok &&
                   ReadHex(&c->count, Role::CountOrData) == Read::Ok &&
                   ReadWord(kMaxFileName, &c->fileName, &tooLong) == Read::Ok && !tooLong &&
                   c->fileName.find_first_of(kNotInFileName) == std::string::npos;
    }
    return false;
}

bool ScriptParser::CheckCounts(const ScriptCommand& c) {
    using Kind = ScriptCommand::Kind;
    switch (c.kind) {
        case Kind::BurstRead:
        case Kind::BurstWrite:
            return c.count >= 1 && c.count <= kMaxBurstCount;
        case Kind::Delay:
            return true;
        default:
            return c.count == 1;
    }
}

ScriptParser::Step ScriptParser::Next(ScriptCommand* out) {
    int32_t enable = 0;
    SkipSpace();
    const int line = line_;
    commandLine_ = line;
    const Read enableRead = ReadDec(&enable);
    // The enable number is no operand: "1pwd 10 1 5A" does what it says, and what follows
    // "1;" is an unknown keyword, warned of as such.
    warnings_.clear();
    if (enableRead == Read::AtEnd) {
        return Step::End;
    }
    if (enableRead != Read::Ok || enable != 1) {
        DiscardLine();
        return Step::Skipped;
    }
    std::string keyword;
    bool tooLong = false;
    if (ReadWord(kMaxKeyword, &keyword, &tooLong) == Read::AtEnd) {
        return Step::End;
    }
    const Keyword* match = nullptr;
    for (const auto& k : kKeywords) {
        if (!tooLong && keyword == k.text) {
            match = &k;
        }
    }
    if (match == nullptr) {
        warnings_.push_back({ScriptWarning::Kind::UnknownCommand, line, keyword});
        AfterOperands();
        return Step::Unknown;
    }
    ScriptCommand command;
    command.kind = match->kind;
    command.line = line;
    if (!ReadOperands(&command)) {
        DiscardLine();
        return Bad(line, "missing or bad operand");
    }
    AfterOperands();
    if (!CheckCounts(command)) {
        return Bad(line, "count out of range");
    }
    *out = command;
    return Step::Command;
}

}  // namespace tavlin
