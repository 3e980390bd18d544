#include "firmware/PackageCheck.h"

#include "firmware/LoadedPackage.h"
#include "platform/RegularFile.h"

namespace tavlin {

bool ImageFileUsable(const std::string& name, uint64_t* size, std::string* why) {
    const RegularFile opened = OpenRegularFile(name, "rb");
    if (!opened) {
        if (why != nullptr) {
            *why = RegularFileProblem(opened);
        }
        return false;
    }
    *size = opened.size;
    std::fclose(opened.file);
    return true;
}

Result CheckPackage(const std::string& packagePath, const char** statusText) {
    LoadedPackage package;
    return LoadPackage(packagePath, &package, statusText);
}

}  // namespace tavlin
