#pragma once

namespace tavlin::cli {

// The CLI's language: the same choice and the same .qm files as the window, looked for where the
// window looks (LanguageFolders), read with QmCatalog in every build, so the Linux and the Windows
// CLI cannot drift apart. A missing file leaves the built-in texts, because a station script must
// still run. The translator it installs keeps the catalog.
class CliLanguage {
  public:
    explicit CliLanguage(char** argv);
    CliLanguage(const CliLanguage&) = delete;
    CliLanguage& operator=(const CliLanguage&) = delete;
};

}  // namespace tavlin::cli
