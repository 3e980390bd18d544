#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/StringTable.h"
#include "cli/CliLanguage.h"
#include "language/Language.h"
#include "language/ProgramEnvironment.h"
#include "language/QmCatalog.h"

namespace tavlin::cli {

struct CliLanguage::Loaded {};

CliLanguage::CliLanguage(int&, char** argv) {
    const std::string file = LanguageFileFor(PrimaryLanguageOfLocale(UserLocaleName()));
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
