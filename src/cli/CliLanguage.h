#pragma once

namespace tavlin::cli {

// Installs the CLI's language as the string table's translator: the same choice and the same .qm
// files as the window, looked for where the window looks (LanguageFolders), read with QmCatalog in
// every build, so the Linux and the Windows CLI cannot drift apart. A missing file leaves the
// built-in texts, because a station script must still run. The translator keeps the catalog.
void InstallCliLanguage(char** argv);

}  // namespace tavlin::cli
