#include <memory>
#include <string>

#include "base/StringTable.h"
#include "cli/CliLanguage.h"
#include "language/Language.h"
#include "language/ProgramEnvironment.h"
#include "language/QmCatalog.h"

namespace tavlin::cli {

void InstallCliLanguage(char** argv) {
    const PrimaryLanguage language = PrimaryLanguageOfLocale(UserLocaleName());
    UseCodePageOfLanguage(language);
    const std::string file = LanguageFileFor(language);
    if (file.empty()) {
        SetStringTranslator({});
        return;
    }
    // The window's folders, in its order. A missing file leaves the built-in texts: unlike the
    // window, a station script must still run.
    auto catalog = std::make_shared<QmCatalog>();
    bool loaded = false;
    for (const auto& folder : LanguageFolders(ExecutableFolder(argv[0]))) {
        if (catalog->Load(folder / file)) {
            loaded = true;
            break;
        }
    }
    if (!loaded) {
        return;
    }
    SetStringTranslator([catalog](const char* builtIn) {
        auto translated = catalog->Translate("Tavlin", builtIn);
        return translated ? *translated : std::string(builtIn);
    });
}

}  // namespace tavlin::cli
