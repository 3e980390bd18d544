#include <cstdlib>
#include <filesystem>

#include "platform/FilePath.h"
#include "platform/KeyFolder.h"
#include "platform/ProgramPath.h"
#include "platform/StringConv.h"

namespace tavlin {

std::string TrustedKeyFolder() {
    // The wide environment: the ANSI one cannot hold every folder name.
    const std::wstring name(kKeyFolderVariable, kKeyFolderVariable + std::char_traits<char>::length(
                                                                         kKeyFolderVariable));
    if (const wchar_t* given = _wgetenv(name.c_str()); given != nullptr && *given != L'\0') {
        return WideToMultiByte(given);
    }
    const std::string program = CurrentProgramPath();
    if (program.empty()) {
        return "keys";
    }
    return Utf8FromPath(PathFromUtf8(program).parent_path() / "keys");
}

}  // namespace tavlin
