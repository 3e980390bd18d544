#include <windows.h>

#include "platform/ProgramPath.h"
#include "platform/StringConv.h"

namespace tavlin {

std::string CurrentProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) {
            return {};
        }
        if (n < path.size()) {
            path.resize(n);
            return WideToMultiByte(path);
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace tavlin
