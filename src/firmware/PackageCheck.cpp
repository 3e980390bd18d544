#include "firmware/PackageCheck.h"

#include "base/Log.h"
#include "firmware/FirmwarePackage.h"
#include "firmware/FirmwareTexts.h"
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
    uint64_t size = 0;
    // A package that is not there reads as one without sections; say which it is.
    std::string why;
    if (!ImageFileUsable(packagePath, &size, &why)) {
        WriteLog("Update FW: package file \"%s\" cannot be read (%s)!\n", packagePath.c_str(),
                 why.c_str());
        *statusText = fw::kPackageRefused;
        return Result::Fail(ResultCode::BadInput,
                            "cannot read the package " + packagePath + ": " + why);
    }
    const ImageEnables enables = ReadImageEnables(packagePath);
    switch (JudgePackage(enables)) {
        case PackageVerdict::Refused:
            *statusText = fw::kPackageRefused;
            return Result::Fail(ResultCode::BadInput, "no image section in " + packagePath);
        case PackageVerdict::NothingEnabled:
            *statusText = fw::kNothingToUpdate;
            return Result::Fail(ResultCode::BadInput, "no image enabled in " + packagePath);
        case PackageVerdict::Write:
            break;
    }
    for (PackageSection s : {PackageSection::HInfo, PackageSection::LInfo, PackageSection::RInfo}) {
        const std::string name = ReadImageName(packagePath, s);
        if (enables.enabled(s) && !ImageFileUsable(name, &size, &why)) {
            WriteLog("Update FW: image file \"%s\" cannot be opened (%s)!\n", name.c_str(),
                     why.c_str());
            *statusText = fw::kImageOpenFailed;
            return Result::Fail(ResultCode::BadInput, "cannot open image " + name + ": " + why);
        }
    }
    return Result::Ok();
}

}  // namespace tavlin
