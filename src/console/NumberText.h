#pragma once
#include <cstdint>
#include <string_view>

namespace tavlin {

// Reads a number typed into an edit box the way the Windows shell's StrToIntEx does with hex
// support: leading spaces and tabs are skipped, an optional '+' or '-' follows, then "0x" / "0X"
// selects hexadecimal and anything else is decimal; reading stops at the first character that is
// not a digit of that base. So "30" is thirty and "0x30" is forty-eight, whatever the label says.
//
// Returns false, leaving *value untouched, when no digit follows (empty text, "abc", "0x") and
// when the digits do not fit into 32 bits: a register operand that was silently wrapped would
// reach a register nobody asked for. A negative number is stored in two's complement.
bool StrToIntEx(std::string_view text, uint32_t* value);

}  // namespace tavlin
