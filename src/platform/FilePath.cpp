#include "platform/FilePath.h"

#include "platform/StringConv.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tavlin {

std::filesystem::path PathFromUtf8(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::FILE* OpenFile(const std::string& utf8, const char* mode) {
#ifdef _WIN32
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(PathFromUtf8(utf8).c_str(), wideMode.c_str());
#else
    return std::fopen(utf8.c_str(), mode);
#endif
}

std::string ErrorText(const std::error_code& error) {
#ifdef _WIN32
    if (error.category() == std::system_category()) {
        wchar_t* text = nullptr;
        const DWORD length =
            FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, static_cast<DWORD>(error.value()), 0,
                           reinterpret_cast<wchar_t*>(&text), 0, nullptr);
        if (length > 0 && text != nullptr) {
            std::wstring wide(text, length);
            LocalFree(text);
            while (!wide.empty() &&
                   (wide.back() == L'\n' || wide.back() == L'\r' || wide.back() == L' ' ||
                    wide.back() == L'.' || wide.back() == L'\u3002')) {
                wide.pop_back();  // the line end, and the full stop the sentence of ours has
            }
            return WideToMultiByte(wide);
        }
    }
#endif
    return ToValidUtf8(error.message());
}

}  // namespace tavlin
