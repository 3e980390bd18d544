#include "platform/StringConv.h"

#include <gtest/gtest.h>

namespace tavlin {
namespace {

TEST(StringConv, RoundTripsChinese) {
    const std::string utf8 = "更新固件/配置.ini";
    EXPECT_EQ(WideToMultiByte(MultiByteToWide(utf8)), utf8);
    EXPECT_EQ(MultiByteToWide(utf8).size(), 11u);
}

TEST(StringConv, CutAt255BytesNeverSplitsACharacter) {
    std::wstring longPath(100, L'\u56fa');  // 3 bytes each in UTF-8
    const std::string cut = WideToMultiByte(longPath, 255);
    EXPECT_EQ(cut.size(), 255u);
    const std::string cut2 = WideToMultiByte(L"a" + longPath, 255);
    EXPECT_EQ(cut2.size(), 253u) << "a character that would straddle the limit is left out";
    EXPECT_EQ(MultiByteToWide(cut2).back(), L'\u56fa');
}

TEST(StringConv, MalformedInputBecomesReplacementCharacters) {
    const std::wstring w = MultiByteToWide(std::string("a\xff\xe6\x9b", 4));
    EXPECT_EQ(w[0], L'a');
    EXPECT_EQ(w[1], static_cast<wchar_t>(0xFFFD));
}

// What decides whether a file without a byte-order mark is UTF-8 or legacy text.
TEST(StringConv, ValidUtf8IsTheStrictForm) {
    const struct {
        std::string bytes;
        bool valid;
    } cases[] = {
        {"", true},
        {"plain ASCII\r\n", true},
        {"\xE5\x9B\xBA \xF0\x9D\x84\x9E \xC3\xA9 \xF4\x8F\xBF\xBF", true},
        {"\xB9\xCC\xBC\xFE", false},  // GBK
        {"caf\xE9", false},           // 1252
        {"\xE5\x9B", false},          // cut off
        {"\xC0\xAF", false},          // overlong '/'
        {"\xE0\x80\xAF", false},
        {"\xED\xA0\x80", false},      // a surrogate
        {"\xF4\x90\x80\x80", false},  // above U+10FFFF
        {"\x80", false},
        {"\xE5\x41\xBA", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
    }
}

// Windows' wide strings are UTF-16: a character outside the basic plane is two units there, and
// must come out as the one character it is, both ways.
TEST(StringConv, CharactersOutsideTheBasicPlaneSurviveTheWideForm) {
    const std::string utf8 = "\xF0\xA0\x80\x80\xE6\x97\xA5";  // U+20000, then 日
    EXPECT_EQ(WideToMultiByte(MultiByteToWide(utf8)), utf8);
    EXPECT_EQ(MultiByteToWide(utf8).size(), sizeof(wchar_t) == 2 ? 3u : 2u);
    if constexpr (sizeof(wchar_t) == 2) {
        const std::wstring lone{static_cast<wchar_t>(0xD800), L'x'};
        EXPECT_EQ(WideToMultiByte(lone), "\xEF\xBF\xBDx");
    }
}

TEST(StringConv, ValidUtf8KeepsUtf8AndReplacesEverythingElse) {
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"plain", "plain"},
        {"\xE6\x97\xA5\xE5\xBF\x97 \xD0\xB6", "\xE6\x97\xA5\xE5\xBF\x97 \xD0\xB6"},
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
        // 日志 in GBK: its last two bytes happen to be UTF-8 (U+05BE) and stay
        {"\xC8\xD5\xD6\xBE", "\xEF\xBF\xBD\xEF\xBF\xBD\xD6\xBE"},
        {"a\xE6\x97", "a\xEF\xBF\xBD\xEF\xBF\xBD"},                // cut short
        {"\xC0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD"},                  // an overlong NUL
        {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // a surrogate
        {"\xF4\x90\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // past U+10FFFF
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ValidUtf8(c.in), c.out) << c.in;
    }
}

}  // namespace
}  // namespace tavlin
