#pragma once
#include <filesystem>
#include <string>

namespace tavlin {

// The folder of the running executable, where its language files are looked for first. argv[0]
// is only the last resort: it may be a bare name found through PATH.
std::filesystem::path ExecutableFolder(const char* argv0);

// The locale whose primary language the texts follow: the environment's (LC_ALL, LC_MESSAGES,
// LANG, so a user or a test can choose), otherwise on Windows the user's own locale ("fr-FR").
std::string UserLocaleName();

}  // namespace tavlin
