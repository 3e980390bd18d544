#include "app/AppTranslation.h"

#include <QCoreApplication>
#include <QDir>
#include <QTranslator>

#include "app/Language.h"
#include "base/StringTable.h"

namespace tavlin {

bool InstallLanguage(const QString& folder, QTranslator& translator) {
    const std::string file = LanguageFileFor(PrimaryLanguageOfLocale(LocaleFromEnvironment()));
    if (file.empty()) {
        SetStringTranslator({});
        return true;
    }
    if (!translator.load(QDir(folder).filePath(QString::fromStdString(file)))) {
        return false;
    }
    QCoreApplication::installTranslator(&translator);
    SetStringTranslator([](const char* builtIn) {
        return QCoreApplication::translate("Tavlin", builtIn).toStdString();
    });
    return true;
}

}  // namespace tavlin
