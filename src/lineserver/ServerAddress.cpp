#include "lineserver/ServerAddress.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>

namespace tavlin::lineserver {
namespace {

using Options = std::unique_ptr<PQconninfoOption, decltype(&PQconninfoFree)>;

Options Parse(const std::string& connection) {
    char* message = nullptr;
    Options options(PQconninfoParse(connection.c_str(), &message), &PQconninfoFree);
    PQfreemem(message);
    return options;
}

// A value as libpq's keyword=value syntax reads it back: quoted where it has a space, a quote
// or a backslash, or is empty.
std::string Quoted(const char* value) {
    const bool plain = *value != '\0' && std::strpbrk(value, " \t\n\r\f\v'\\") == nullptr;
    if (plain) {
        return value;
    }
    std::string text = "'";
    for (const char* c = value; *c != '\0'; ++c) {
        if (*c == '\'' || *c == '\\') {
            text += '\\';
        }
        text += *c;
    }
    return text + "'";
}

}  // namespace

std::string ServerForPeople(const std::string& connection) {
    const Options options = Parse(connection);
    if (!options) {
        return "(unreadable server address)";
    }
    // Where first, as people look for it; the rest in libpq's order.
    static const char* const kLeading[] = {"host", "hostaddr", "port", "dbname", "user"};
    const auto leading = [](const char* keyword) {
        return std::any_of(std::begin(kLeading), std::end(kLeading),
                           [&](const char* k) { return std::strcmp(k, keyword) == 0; });
    };
    std::string text;
    const auto add = [&](const PQconninfoOption& option) {
        if (option.val == nullptr || std::strcmp(option.keyword, "password") == 0) {
            return;
        }
        text += (text.empty() ? "" : " ") + std::string(option.keyword) + "=" + Quoted(option.val);
    };
    for (const char* keyword : kLeading) {
        for (const PQconninfoOption* option = options.get(); option->keyword != nullptr; ++option) {
            if (std::strcmp(option->keyword, keyword) == 0) {
                add(*option);
            }
        }
    }
    for (const PQconninfoOption* option = options.get(); option->keyword != nullptr; ++option) {
        if (!leading(option->keyword)) {
            add(*option);
        }
    }
    return text;
}

bool ReadableServer(const std::string& connection) {
    return static_cast<bool>(Parse(connection));
}

}  // namespace tavlin::lineserver
