// The private-profile (INI) reader on any file: packages and OpenFile.ini go through it. The
// first line of the input names the section and key to look up; the rest is the file.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/LegacyCodePage.h"
#include "platform/PrivateProfile.h"
#include "platform/StringConv.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The reader takes a path; a file in memory keeps the executions fast. It goes at exit.
    struct ScratchFile {
        std::string path = std::string(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                           "/tavlin-fuzz-profile-" + std::to_string(::getpid());
        ~ScratchFile() { std::remove(path.c_str()); }
    };
    static const ScratchFile scratch;
    const std::string& path = scratch.path;
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t eol = input.find('\n');
    const std::string names = eol == std::string::npos ? std::string() : input.substr(0, eol);
    const size_t space = names.find(' ');
    const std::string section = names.substr(0, space);
    const std::string key = space == std::string::npos ? "FileName" : names.substr(space + 1);
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file << (eol == std::string::npos ? input : input.substr(eol + 1));
    }
    // A file without a byte-order mark that is not UTF-8 is read in the legacy code page: each
    // input in one of the three the front ends choose.
    constexpr unsigned kCodePages[] = {tavlin::kCodePageWestern, tavlin::kCodePageCyrillic,
                                       tavlin::kCodePageChinese};
    tavlin::SetLegacyCodePage(kCodePages[size % 3]);
    for (size_t buffer : {size_t{1}, size_t{2}, size_t{16}, size_t{256}}) {
        const std::string value = tavlin::GetPrivateProfileString(section, key, "-", path, buffer);
        if (value != "-" && tavlin::CutToUtf16Units(value, buffer - 1) != value) {
            std::abort();  // more than the buffer would hold
        }
        if (!tavlin::IsValidUtf8(value)) {
            std::abort();  // values are UTF-8 whatever the file held: they become paths
        }
    }
    tavlin::GetPrivateProfileInt(section, key, -1, path);
    tavlin::GetPrivateProfileString("Version", "Master", "", path);
    tavlin::GetPrivateProfileInt("Image", "Size", 0, path);
    return 0;
}
