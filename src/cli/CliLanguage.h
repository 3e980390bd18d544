#pragma once
#include <memory>

namespace tavlin::cli {

// The CLI's language: the same choice and the same .qm files as the window, looked for beside the
// executable. A missing file leaves the built-in texts, because a station script must still run.
// Built over QtCore where there is one (CliLanguageQt.cpp), otherwise over QmCatalog
// (CliLanguage.cpp, the Windows cross build). Lives as long as the program's texts are used.
class CliLanguage {
  public:
    CliLanguage(int& argc, char** argv);
    ~CliLanguage();
    CliLanguage(const CliLanguage&) = delete;
    CliLanguage& operator=(const CliLanguage&) = delete;

  private:
    struct Loaded;
    std::unique_ptr<Loaded> loaded_;
};

}  // namespace tavlin::cli
