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

// What decides whether a file without a byte-order mark is UTF-8 or legacy text, and what a
// text from outside (an exception, a system message, broken UTF-8 after a mark) becomes: the
// strict form is kept, every byte that starts no valid sequence becomes U+FFFD.
TEST(StringConv, OnlyTheStrictFormIsUtf8AndEverythingElseIsReplaced) {
    const std::string r = "\xEF\xBF\xBD";  // U+FFFD
    const struct {
        std::string in;
        std::string out;  // empty: kept as it is
    } cases[] = {
        {"", ""},
        {"plain ASCII\r\n", ""},
        {"\xE5\x9B\xBA \xF0\x9D\x84\x9E \xC3\xA9 \xF4\x8F\xBF\xBF \xD0\xB6", ""},
        {"\xB9\xCC\xBC\xFE", r + "\xCC\xBC" + r},  // GBK
        // 日志 in GBK: its last two bytes happen to be UTF-8 (U+05BE) and stay
        {"\xC8\xD5\xD6\xBE", r + r + "\xD6\xBE"},
        {"caf\xE9", "caf" + r},      // 1252
        {"a\xE6\x97", "a" + r + r},  // cut short
        {"\xC0\xAF", r + r},         // overlong '/'
        {"\xE0\x80\xAF", r + r + r},
        {"\xED\xA0\x80", r + r + r},          // a surrogate
        {"\xF4\x90\x80\x80", r + r + r + r},  // past U+10FFFF
        {"\x80", r},
        {"\xE5\x41\xBA", r + "A" + r},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsValidUtf8(c.in), c.out.empty()) << c.in;
        EXPECT_EQ(ToValidUtf8(c.in), c.out.empty() ? c.in : c.out) << c.in;
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

}  // namespace
}  // namespace tavlin
