#include "base/FillText.h"

namespace tavlin {

std::string FillText(std::string text, std::initializer_list<std::string_view> values) {
    size_t from = 0;
    for (std::string_view value : values) {
        size_t at = text.find('%', from);
        while (at != std::string::npos && at + 1 < text.size() && text[at + 1] != 's' &&
               text[at + 1] != 'd') {
            at = text.find('%', at + 1);
        }
        if (at == std::string::npos || at + 1 >= text.size()) {
            break;
        }
        text.replace(at, 2, value);
        from = at + value.size();
    }
    return text;
}

}  // namespace tavlin
