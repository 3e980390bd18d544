#include "language/Language.h"

#include <gtest/gtest.h>

#include "language/ProgramEnvironment.h"
#include "platform/LegacyCodePage.h"

namespace tavlin {
namespace {

TEST(Language, EnvironmentOrderIsLcAllThenLcMessagesThenLang) {
    EXPECT_EQ(LocaleFromEnvironment("fr_FR.UTF-8", "ru_RU", "zh_CN"), "fr_FR.UTF-8");
    EXPECT_EQ(LocaleFromEnvironment("", "ru_RU", "zh_CN"), "ru_RU");
    EXPECT_EQ(LocaleFromEnvironment(nullptr, nullptr, "zh_CN.UTF-8"), "zh_CN.UTF-8");
    EXPECT_EQ(LocaleFromEnvironment(nullptr, "", ""), "");
}

TEST(Language, PrimaryLanguageChoosesTheFile) {
    EXPECT_EQ(LanguageFileFor(PrimaryLanguageOfLocale("zh_CN.UTF-8")), "");
    EXPECT_EQ(LanguageFileFor(PrimaryLanguageOfLocale("zh_TW")), "");
    EXPECT_EQ(LanguageFileFor(PrimaryLanguageOfLocale("en_US.UTF-8")), "EnglishRes.qm");
    EXPECT_EQ(LanguageFileFor(PrimaryLanguageOfLocale("de_DE.UTF-8")), "EnglishRes.qm")
        << "any other language falls back to English";
    EXPECT_EQ(LanguageFileFor(PrimaryLanguageOfLocale("fr_CA@euro")), "FrenchRes.qm");
    EXPECT_EQ(LanguageFileFor(PrimaryLanguageOfLocale("ru")), "RussianRes.qm");
    EXPECT_EQ(LanguageFileFor(PrimaryLanguageOfLocale("kk_KZ.UTF-8")), "KazakhRes.qm");
    EXPECT_EQ(LanguageFileFor(PrimaryLanguageOfLocale("C.UTF-8")), "EnglishRes.qm");
    EXPECT_EQ(LanguageFileFor(PrimaryLanguageOfLocale("")), "EnglishRes.qm");
    EXPECT_EQ(LanguageFileFor(PrimaryLanguageOfLocale("ZH_cn")), "") << "case does not matter";
}

// A package saved as "ANSI" is read in the code page of the language the texts are shown in.
// Both front ends look beside the program first, then in the installed data folder next to it.
TEST(Language, TheFileIsLookedForBesideTheProgramThenInTheSharedFolder) {
    const struct {
        const char* program;
        std::vector<std::filesystem::path> folders;
    } cases[] = {
        {"/usr/bin", {"/usr/bin", "/usr/share/tavlin/translations"}},
        {"/opt/t/build/bin", {"/opt/t/build/bin", "/opt/t/build/share/tavlin/translations"}},
        {"/opt/t/./bin", {"/opt/t/bin", "/opt/t/share/tavlin/translations"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LanguageFolders(c.program), c.folders) << c.program;
    }
}

TEST(Language, TheLanguageChoosesTheCodePageOfUnmarkedFiles) {
    const struct {
        const char* locale;
        unsigned codePage;
    } cases[] = {{"zh_CN.UTF-8", kCodePageChinese},  {"zh_TW", kCodePageChinese},
                 {"ru_RU.UTF-8", kCodePageCyrillic}, {"kk_KZ", kCodePageCyrillic},
                 {"fr_FR.UTF-8", kCodePageWestern},  {"de_DE", kCodePageWestern},
                 {"C.UTF-8", kCodePageWestern},      {"", kCodePageWestern}};
    for (const auto& c : cases) {
        const PrimaryLanguage language = PrimaryLanguageOfLocale(c.locale);
        EXPECT_EQ(LegacyCodePageFor(language), c.codePage) << c.locale;
#ifndef _WIN32  // Windows keeps the system's ANSI code page
        UseCodePageOfLanguage(language);
        EXPECT_EQ(LegacyCodePage(), c.codePage) << c.locale;
#endif
    }
    SetLegacyCodePage(0);
}

}  // namespace
}  // namespace tavlin
