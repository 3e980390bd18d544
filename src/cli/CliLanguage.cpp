#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/StringTable.h"
#include "cli/CliLanguage.h"
#include "language/Language.h"
#include "language/ProgramEnvironment.h"
#include "language/QmCatalog.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tavlin::cli {

struct CliLanguage::Loaded {};

CliLanguage::CliLanguage(int&, char** argv) {
#ifdef _WIN32
    // The texts are UTF-8 (Chinese among them); the console shows them only in that code page.
    SetConsoleOutputCP(CP_UTF8);
#endif
    const PrimaryLanguage language = PrimaryLanguageOfLocale(UserLocaleName());
    UseCodePageOfLanguage(language);
    const std::string file = LanguageFileFor(language);
    if (file.empty()) {
        SetStringTranslator({});
        return;
    }
    auto catalog = std::make_shared<QmCatalog>();
    if (!catalog->Load(ExecutableFolder(argv[0]) / file)) {
        return;
    }
    SetStringTranslator([catalog](const char* builtIn) {
        auto translated = catalog->Translate("Tavlin", builtIn);
        return translated ? *translated : std::string(builtIn);
    });
}

CliLanguage::~CliLanguage() = default;

}  // namespace tavlin::cli
