#include "language/Language.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tavlin
