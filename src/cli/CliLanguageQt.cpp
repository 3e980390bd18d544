#include <QCoreApplication>
#include <QTranslator>

#include "app/AppTranslation.h"
#include "cli/CliLanguage.h"

namespace tavlin::cli {

struct CliLanguage::Loaded {
    Loaded(int& argc, char** argv) : app(argc, argv) {}
    QCoreApplication app;
    QTranslator translator;
};

CliLanguage::CliLanguage(int& argc, char** argv) : loaded_(std::make_unique<Loaded>(argc, argv)) {
    InstallLanguage(QCoreApplication::applicationDirPath(), loaded_->translator);
}

CliLanguage::~CliLanguage() = default;

}  // namespace tavlin::cli
