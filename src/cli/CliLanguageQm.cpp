#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/StringTable.h"
#include "cli/CliLanguage.h"
#include "language/Language.h"
#include "language/QmCatalog.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tavlin::cli {
namespace {

std::filesystem::path ProgramFolder(char** argv) {
#ifdef _WIN32
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n > 0 && n < MAX_PATH) {
        return std::filesystem::path(path).parent_path();
    }
#endif
    return std::filesystem::absolute(argv[0]).parent_path();
}

// The environment's locale when one is set (as on Linux: it lets a user or a test choose),
// otherwise the user's locale of the system, "fr-FR" say.
std::string LocaleName() {
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

}  // namespace

struct CliLanguage::Loaded {};

CliLanguage::CliLanguage(int&, char** argv) {
#ifdef _WIN32
    // The texts are UTF-8 (Chinese among them); the console shows them only in that code page.
    SetConsoleOutputCP(CP_UTF8);
#endif
    const std::string file = LanguageFileFor(PrimaryLanguageOfLocale(LocaleName()));
    if (file.empty()) {
        SetStringTranslator({});
        return;
    }
    auto catalog = std::make_shared<QmCatalog>();
    if (!catalog->Load((ProgramFolder(argv) / file).string())) {
        return;
    }
    SetStringTranslator([catalog](const char* builtIn) {
        auto translated = catalog->Translate("Tavlin", builtIn);
        return translated ? *translated : std::string(builtIn);
    });
}

CliLanguage::~CliLanguage() = default;

}  // namespace tavlin::cli
