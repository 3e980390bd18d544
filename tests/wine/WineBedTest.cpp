#include "WineBedTest.h"

namespace tavlin::e2e {

void WineBedTest::SetUp() {
    // These programs exist to run these cases: a bed that cannot run them fails.
    if (const std::string why = MockEnvironmentMissing(); !why.empty()) {
        FAIL() << "umockdev not available: " << why;
    }
    if (const std::string why = settings.Missing(); !why.empty()) {
        FAIL() << why;
    }
    CheckMore();
    if (HasFatalFailure() || IsSkipped()) {
        return;
    }
    dir = std::filesystem::temp_directory_path() / FolderName();
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    bed = std::make_unique<UmockdevBed>();
    bed->ServeWine(true);
    session = std::make_unique<WineSession>(settings.prefix);
}

void WineBedTest::TearDown() {
    // Wine's device host reads the bed's node: it goes before the bed does.
    session.reset();
    bed.reset();
    if (!dir.empty() && !HasFailure()) {
        std::filesystem::remove_all(dir);
    }
}

size_t CountOf(const std::string& text, const std::string& needle) {
    size_t n = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) {
        ++n;
    }
    return n;
}

}  // namespace tavlin::e2e
