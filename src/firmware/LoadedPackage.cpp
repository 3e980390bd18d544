#include "firmware/LoadedPackage.h"

#include "base/Log.h"
#include "firmware/FirmwareTexts.h"
#include "platform/RegularFile.h"

namespace tavlin {

Result LoadPackage(const std::string& path, LoadedPackage* out, const char** statusText) {
    *out = LoadedPackage{};
    out->path = path;
    // A package that is not there reads as one without sections; say which it is.
    RegularFile refused;
    std::optional<std::string> ini = ReadRegularFile(path, &refused);
    if (!ini) {
        const std::string why = RegularFileProblem(refused);
        WriteLog("Update FW: package file \"%s\" cannot be read (%s)!\n", path.c_str(),
                 why.c_str());
        *statusText = fw::kPackageRefused;
        return Result::Fail(ResultCode::BadInput, "cannot read the package " + path + ": " + why);
    }
    out->iniBytes = std::move(*ini);
    out->enables = ImageEnablesOf(out->iniBytes);
    switch (JudgePackage(out->enables)) {
        case PackageVerdict::Refused:
            *statusText = fw::kPackageRefused;
            return Result::Fail(ResultCode::BadInput, "no image section in " + path);
        case PackageVerdict::NothingEnabled:
            *statusText = fw::kNothingToUpdate;
            return Result::Fail(ResultCode::BadInput, "no image enabled in " + path);
        case PackageVerdict::Write:
            break;
    }
    // Every enabled image is read before the first packet, so a missing LInfo or RInfo file
    // cannot leave the two sensors with mixed firmware.
    for (PackageSection s : {PackageSection::HInfo, PackageSection::LInfo, PackageSection::RInfo}) {
        if (!out->enables.enabled(s)) {
            continue;
        }
        LoadedImage image{s, ImageNameOf(out->iniBytes, s), ImageVersionOf(out->iniBytes, s), {}};
        std::optional<std::string> bytes = ReadRegularFile(image.name, &refused);
        if (!bytes) {
            const std::string why = RegularFileProblem(refused);
            WriteLog("Update FW: image file \"%s\" cannot be opened (%s)!\n", image.name.c_str(),
                     why.c_str());
            *statusText = fw::kImageOpenFailed;
            return Result::Fail(ResultCode::BadInput,
                                "cannot open image " + image.name + ": " + why);
        }
        image.bytes = std::move(*bytes);
        out->images.push_back(std::move(image));
    }
    return Result::Ok();
}

}  // namespace tavlin
