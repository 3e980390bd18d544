#pragma once
#include <QString>
#include <QStringList>

class QTranslator;

namespace tavlin {

// Where the language files are looked for, in order: beside the program (the build folder),
// then the installed data folder next to it (<prefix>/bin -> <prefix>/share/tavlin/translations).
QStringList TranslationFolders(const QString& programFolder);

// The folder of the running executable, known before any QCoreApplication exists.
QString ProgramFolder(const char* argv0);

// Loads the translation file for the environment's locale from the first of `folders` that has
// it and routes every text of the string table and every caption through it (no application
// object is needed, so option texts can be translated before the window exists). Returns false
// when a non-Chinese locale's file is missing or unreadable, with its name in `missingFile`;
// Chinese needs no file. Packages saved as "ANSI" are read in that language's code page from
// then on (UseCodePageOfLanguage).
bool InstallLanguage(const QStringList& folders, QTranslator& translator,
                     QString* missingFile = nullptr);
bool InstallLanguage(const QString& folder, QTranslator& translator);

// The diagnostic for a missing language file. It cannot come from a language file (that file
// is the one missing), so it is written in English, as the message box text is.
QString MissingLanguageFileMessage(const QString& file, const QStringList& folders);

// Loads Qt's own translations (file and message dialogs, context menus) for the environment's
// language from Qt's translation folder and installs them; needs the application object.
// Returns false when Qt has none for that language.
bool InstallQtTranslations(QTranslator& translator);

}  // namespace tavlin
