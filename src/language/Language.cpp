#include "language/Language.h"

#include <cctype>
#include <cstdlib>

#include "platform/LegacyCodePage.h"

namespace tavlin {

std::string LocaleFromEnvironment(const char* lcAll, const char* lcMessages, const char* lang) {
    for (const char* value : {lcAll, lcMessages, lang}) {
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return {};
}

std::string LocaleFromEnvironment() {
    return LocaleFromEnvironment(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
                                 std::getenv("LANG"));
}

PrimaryLanguage PrimaryLanguageOfLocale(const std::string& localeName) {
    // "zh_CN.UTF-8", "fr_FR@euro", "ru", "kk_KZ": the primary language is the part before the
    // first '_', '.', '@' or '-'.
    std::string primary;
    for (char c : localeName) {
        if (c == '_' || c == '.' || c == '@' || c == '-') {
            break;
        }
        primary += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (primary == "zh") {
        return PrimaryLanguage::Chinese;
    }
    if (primary == "fr") {
        return PrimaryLanguage::French;
    }
    if (primary == "ru") {
        return PrimaryLanguage::Russian;
    }
    if (primary == "kk") {
        return PrimaryLanguage::Kazakh;
    }
    return PrimaryLanguage::Other;
}

std::string LanguageFileFor(PrimaryLanguage language) {
    switch (language) {
        case PrimaryLanguage::Chinese:
            return {};
        case PrimaryLanguage::French:
            return "FrenchRes.qm";
        case PrimaryLanguage::Russian:
            return "RussianRes.qm";
        case PrimaryLanguage::Kazakh:
            return "KazakhRes.qm";
        case PrimaryLanguage::Other:
            break;
    }
    return "EnglishRes.qm";
}

std::string QtTranslationFileFor(PrimaryLanguage language) {
    switch (language) {
        case PrimaryLanguage::Chinese:
            return "qtbase_zh_CN";
        case PrimaryLanguage::French:
            return "qtbase_fr";
        case PrimaryLanguage::Russian:
            return "qtbase_ru";
        case PrimaryLanguage::Kazakh:
            return "qtbase_kk";  // not shipped by Debian 12: Qt's dialogs stay in English
        case PrimaryLanguage::Other:
            break;
    }
    return {};
}

unsigned LegacyCodePageFor(PrimaryLanguage language) {
    switch (language) {
        case PrimaryLanguage::Chinese:
            return kCodePageChinese;
        case PrimaryLanguage::Russian:
        case PrimaryLanguage::Kazakh:
            return kCodePageCyrillic;
        case PrimaryLanguage::French:
        case PrimaryLanguage::Other:
            break;
    }
    return kCodePageWestern;
}

}  // namespace tavlin
