#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

namespace tavlin {

// `text` (a string-table text, usually in the user's language) with its %s and %d placeholders
// taken, in order, by `values`. Each placeholder is looked for after what was put in before, so
// a value that holds "%s" (a folder or file name) never takes the next value's place. A
// placeholder left without a value stays as it is; values beyond the placeholders are dropped. A
// '%' that starts no placeholder is kept as it is ("%%" is no escape: the texts hold none).
std::string FillText(std::string text, std::initializer_list<std::string_view> values);

}  // namespace tavlin
