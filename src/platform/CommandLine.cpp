#include "platform/CommandLine.h"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "platform/StringConv.h"
#endif

namespace tavlin {

Utf8Arguments::Utf8Arguments(std::vector<std::string> arguments) : texts_(std::move(arguments)) {
    for (std::string& text : texts_) {
        pointers_.push_back(text.data());
    }
    pointers_.push_back(nullptr);
    argc_ = static_cast<int>(texts_.size());
}

namespace {

std::vector<std::string> Copy(int argc, char** argv) {
    std::vector<std::string> out;
    for (int i = 0; i < argc && argv != nullptr && argv[i] != nullptr; ++i) {
        out.emplace_back(argv[i]);
    }
    return out;
}

#ifdef _WIN32
std::vector<std::string> Convert(int argc, wchar_t** argv) {
    std::vector<std::string> out;
    for (int i = 0; i < argc && argv != nullptr && argv[i] != nullptr; ++i) {
        out.push_back(WideToMultiByte(argv[i]));
    }
    return out;
}
#endif

}  // namespace

Utf8Arguments::Utf8Arguments(int argc, char** argv) : Utf8Arguments(Copy(argc, argv)) {}

#ifdef _WIN32
Utf8Arguments::Utf8Arguments(int argc, wchar_t** argv) : Utf8Arguments(Convert(argc, argv)) {}

namespace {
UINT g_consoleCodePage = 0;
}  // namespace

void UseUtf8ConsoleOutput() {
    const UINT before = GetConsoleOutputCP();
    if (before == 0 || before == CP_UTF8 || !SetConsoleOutputCP(CP_UTF8)) {
        return;  // no console, or one that shows UTF-8 already
    }
    g_consoleCodePage = before;
    std::atexit([] { SetConsoleOutputCP(g_consoleCodePage); });
}

Utf8Arguments Utf8Arguments::OfProcess() {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        return Utf8Arguments(std::vector<std::string>{});
    }
    std::vector<std::string> texts = Convert(count, wide);
    LocalFree(wide);
    return Utf8Arguments(std::move(texts));
}
#else
void UseUtf8ConsoleOutput() {}
#endif

}  // namespace tavlin
