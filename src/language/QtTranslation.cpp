#include "language/QtTranslation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>

#include "base/StringTable.h"
#include "language/Language.h"
#include "language/ProgramEnvironment.h"

namespace tavlin {

QStringList TranslationFolders(const QString& programFolder) {
    return {QDir::cleanPath(programFolder),
            QDir::cleanPath(programFolder + QStringLiteral("/../share/tavlin/translations"))};
}

QString ProgramFolder(const char* argv0) {
#ifdef _WIN32
    return QDir::fromNativeSeparators(QString::fromStdWString(ExecutableFolder(argv0).wstring()));
#else
    return QFile::decodeName(ExecutableFolder(argv0).c_str());
#endif
}

bool InstallLanguage(const QStringList& folders, QTranslator& translator, QString* missingFile) {
    const PrimaryLanguage language = PrimaryLanguageOfLocale(UserLocaleName());
    UseCodePageOfLanguage(language);
    const std::string file = LanguageFileFor(language);
    if (file.empty()) {
        SetStringTranslator({});
        return true;
    }
    const QString name = QString::fromStdString(file);
    for (const QString& folder : folders) {
        if (translator.load(QDir(folder).filePath(name))) {
            SetStringTranslator([&translator](const char* builtIn) {
                const QString text = translator.translate("Tavlin", builtIn);
                return text.isEmpty() ? std::string(builtIn) : text.toStdString();
            });
            return true;
        }
    }
    if (missingFile != nullptr) {
        *missingFile = name;
    }
    return false;
}

bool InstallLanguage(const QString& folder, QTranslator& translator) {
    return InstallLanguage(QStringList{folder}, translator);
}

QString MissingLanguageFileMessage(const QString& file, const QStringList& folders) {
    return QStringLiteral("language file %1 not found; looked in: %2\n")
        .arg(file, folders.join(QStringLiteral(", ")));
}

bool InstallQtTranslations(QTranslator& translator) {
    const std::string file = QtTranslationFileFor(PrimaryLanguageOfLocale(UserLocaleName()));
    if (file.empty() || !translator.load(QString::fromStdString(file),
                                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    return QCoreApplication::installTranslator(&translator);
}

}  // namespace tavlin
