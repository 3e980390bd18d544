#pragma once
#include <string>

namespace tavlin {

// The user-interface language follows the primary language of the system locale. On Linux that
// is the environment's locale: LC_ALL, then LC_MESSAGES, then LANG (the first one set and not
// empty). Chinese uses the program's own texts; French, Russian and Kazakh have files of their
// own; every other language (English included, and the "C"/"POSIX" locales) uses English.
enum class PrimaryLanguage { Chinese, French, Russian, Kazakh, Other };

PrimaryLanguage PrimaryLanguageOfLocale(const std::string& localeName);
std::string LocaleFromEnvironment(const char* lcAll, const char* lcMessages, const char* lang);
std::string LocaleFromEnvironment();  // reads the process environment

// The translation file for a language, empty for Chinese (built-in texts).
std::string LanguageFileFor(PrimaryLanguage language);

// Qt's own translation file for a language (without ".qm"), empty where Qt ships none or none
// is needed. The program's Chinese is Simplified Chinese, so Qt's dialogs are too.
std::string QtTranslationFileFor(PrimaryLanguage language);

// The legacy ("ANSI") code page of Windows in the language, in which a package saved there as
// "ANSI" was written: GBK (936) for Chinese, 1251 for Russian and Kazakh, 1252 for the others.
unsigned LegacyCodePageFor(PrimaryLanguage language);

// The only text of the program that is not a resource: shown when the language file is missing.
inline constexpr const char* kLanguageFileNeeded = "Language DLL needed!!!\n";

}  // namespace tavlin
