#include "platform/CommandLine.h"

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
#endif

}  // namespace tavlin
