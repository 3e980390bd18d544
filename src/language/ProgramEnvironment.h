#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "language/Language.h"

namespace tavlin {

// The folder of the running executable, where its language files are looked for first. argv[0]
// is only the last resort: it may be a bare name found through PATH.
std::filesystem::path ExecutableFolder(const char* argv0);

// Where the language files are looked for, in order: beside the program (the build folder), then
// the installed data folder next to it (<prefix>/bin -> <prefix>/share/tavlin/translations). The
// window's TranslationFolders (QtTranslation.h) gives the same two.
std::vector<std::filesystem::path> LanguageFolders(const std::filesystem::path& programFolder);

// The locale whose primary language the texts follow: the environment's (LC_ALL, LC_MESSAGES,
// LANG, so a user or a test can choose), otherwise on Windows the user's own locale ("fr-FR").
std::string UserLocaleName();

// Files without a byte-order mark that are not UTF-8 (packages saved as "ANSI") are read in the
// user's legacy code page. Windows has its own, the system's ANSI code page, and keeps it; on
// Linux it is the one of the language the texts are shown in. Set where that language is chosen.
void UseCodePageOfLanguage(PrimaryLanguage language);

}  // namespace tavlin
