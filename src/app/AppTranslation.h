#pragma once
#include <QString>

class QTranslator;

namespace tavlin {

// Loads the translation file for the environment's locale from `folder` and routes every text
// of the string table and every caption through it. Returns false when a non-Chinese locale's
// file is missing or unreadable; Chinese needs no file.
bool InstallLanguage(const QString& folder, QTranslator& translator);

}  // namespace tavlin
