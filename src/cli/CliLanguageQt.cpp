#include <QCoreApplication>
#include <QTranslator>

#include "cli/CliLanguage.h"
#include "language/QtTranslation.h"

namespace tavlin::cli {

struct CliLanguage::Loaded {
    Loaded(int& argc, char** argv) : app(argc, argv) {}
    QCoreApplication app;
    QTranslator translator;
};

CliLanguage::CliLanguage(int& argc, char** argv) : loaded_(std::make_unique<Loaded>(argc, argv)) {
    // Beside the program first (the build folder), then the installed share folder; a missing
    // file falls back to the built-in texts, because a station script must still run.
    InstallLanguage(TranslationFolders(QCoreApplication::applicationDirPath()),
                    loaded_->translator);
}

CliLanguage::~CliLanguage() = default;

}  // namespace tavlin::cli
