#include "language/ProgramEnvironment.h"

#include <system_error>

#include "language/Language.h"
#include "platform/LegacyCodePage.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tavlin {

std::filesystem::path ExecutableFolder(const char* argv0) {
#ifdef _WIN32
    // Under Wine /proc/self/exe exists too, but names Wine's own loader.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) {
            break;
        }
        if (n < path.size()) {
            path.resize(n);
            return std::filesystem::path(path).parent_path();
        }
        path.resize(path.size() * 2);
    }
#else
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        return self.parent_path();
    }
#endif
    std::error_code error2;
    const auto absolute = std::filesystem::absolute(argv0 != nullptr ? argv0 : "", error2);
    return error2 ? std::filesystem::path() : absolute.parent_path();
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
