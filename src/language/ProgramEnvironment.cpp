#include "language/ProgramEnvironment.h"

#include <system_error>

#include "language/Language.h"
#include "platform/FilePath.h"
#include "platform/LegacyCodePage.h"
#include "platform/ProgramPath.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tavlin {

std::filesystem::path ExecutableFolder(const char* argv0) {
    if (const std::string self = CurrentProgramPath(); !self.empty()) {
        return PathFromUtf8(self).parent_path();
    }
    std::error_code error;
    const auto absolute = std::filesystem::absolute(argv0 != nullptr ? argv0 : "", error);
    return error ? std::filesystem::path() : absolute.parent_path();
}

std::vector<std::filesystem::path> LanguageFolders(const std::filesystem::path& programFolder) {
    return {programFolder.lexically_normal(),
            (programFolder / ".." / "share" / "tavlin" / "translations").lexically_normal()};
}

std::string UserLocaleName() {
    std::string name = LocaleFromEnvironment();
#ifdef _WIN32
    if (name.empty()) {
        wchar_t wide[LOCALE_NAME_MAX_LENGTH] = {};
        if (GetUserDefaultLocaleName(wide, LOCALE_NAME_MAX_LENGTH) > 0) {
            for (const wchar_t* c = wide; *c != L'\0'; ++c) {
                name.push_back(*c < 0x80 ? static_cast<char>(*c) : '?');
            }
        }
    }
#endif
    return name;
}

void UseCodePageOfLanguage([[maybe_unused]] PrimaryLanguage language) {
#ifndef _WIN32
    SetLegacyCodePage(LegacyCodePageFor(language));
#endif
}

}  // namespace tavlin
