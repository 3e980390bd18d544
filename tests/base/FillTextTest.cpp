// Every front end fills a string-table text the same way: %s and %d in order, each after what was
// put in before.
#include "base/FillText.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

namespace tavlin {
namespace {

struct FillCase {
    const char* name;
    const char* text;
    std::initializer_list<std::string_view> values;
    const char* filled;
};

const FillCase kCases[] = {
    {"no placeholder", "ready", {}, "ready"},
    {"one text", "no file %s here", {"a.txt"}, "no file a.txt here"},
    {"text then number", "file %s, line %d", {"a.jsonl", "7"}, "file a.jsonl, line 7"},
    {"number first", "%d of %s", {"3", "all"}, "3 of all"},
    {"two texts", "%s (%s)", {"logs", "no space"}, "logs (no space)"},
    {"missing value stays", "%s and %s", {"one"}, "one and %s"},
    {"no values at all", "port %s", {}, "port %s"},
    {"extra value dropped", "port %s", {"1-1.2", "1-1.3"}, "port 1-1.2"},
    {"empty value", "[%s]", {""}, "[]"},
    {"value with a placeholder", "%s/%s", {"%s%d", "b"}, "%s%d/b"},
    {"lone percent kept", "50% of %s", {"x"}, "50% of x"},
    {"percent at the end", "%s 100%", {"x"}, "x 100%"},
    {"percent-percent is no escape", "100%%s", {"x"}, "100%x"},
    {"other conversions untouched", "%.1f mm, %02x, %s", {"x"}, "%.1f mm, %02x, x"},
    {"utf-8 text", "日志文件 %s 不完整", {"/tmp/日志.txt"}, "日志文件 /tmp/日志.txt 不完整"},
};

TEST(FillTextTest, FillsPlaceholdersInOrder) {
    for (const FillCase& c : kCases) {
        EXPECT_EQ(FillText(c.text, c.values), c.filled) << c.name;
    }
}

}  // namespace
}  // namespace tavlin
