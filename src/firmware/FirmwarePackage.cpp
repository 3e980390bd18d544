#include "firmware/FirmwarePackage.h"

#include "platform/PrivateProfile.h"
#include "platform/StringConv.h"

namespace tavlin {
namespace {

const char* Name(PackageSection s) {
    return kSectionNames[static_cast<int>(s)];
}

// The name was read into 256 wide characters and then converted into at most 255 bytes; the start
// directory into 128 wide characters. Both include the terminator.
constexpr size_t kImageNameBuffer = 256;
constexpr size_t kImageNameBytes = 255;
constexpr size_t kFileDirBuffer = 128;

}  // namespace

ImageEnables ReadImageEnables(const std::string& packagePath) {
    ImageEnables out;
    for (int i = 0; i < 3; ++i) {
        out.value[i] = static_cast<uint8_t>(
            GetPrivateProfileInt(kSectionNames[i], "Image_en", kImageKeyAbsent, packagePath) &
            0xFF);
    }
    return out;
}

PackageVerdict JudgePackage(const ImageEnables& enables) {
    bool anyPresent = false;
    bool anyEnabled = false;
    for (uint8_t v : enables.value) {
        anyPresent = anyPresent || v != kImageKeyAbsent;
        anyEnabled = anyEnabled || v == kImageEnabled;
    }
    if (!anyPresent) {
        return PackageVerdict::Refused;
    }
    return anyEnabled ? PackageVerdict::Write : PackageVerdict::NothingEnabled;
}

uint32_t ReadImageVersion(const std::string& packagePath, PackageSection section) {
    return GetPrivateProfileInt(Name(section), "Image_version", 0, packagePath);
}

std::string ReadImageName(const std::string& packagePath, PackageSection section) {
    return CutToBytes(
        GetPrivateProfileString(Name(section), "Image_name", "", packagePath, kImageNameBuffer),
        kImageNameBytes);
}

ImageEnables ImageEnablesOf(const std::string& iniBytes) {
    ImageEnables out;
    for (int i = 0; i < 3; ++i) {
        out.value[i] = static_cast<uint8_t>(
            GetProfileIntOf(iniBytes, kSectionNames[i], "Image_en", kImageKeyAbsent) & 0xFF);
    }
    return out;
}

uint32_t ImageVersionOf(const std::string& iniBytes, PackageSection section) {
    return GetProfileIntOf(iniBytes, Name(section), "Image_version", 0);
}

std::string ImageNameOf(const std::string& iniBytes, PackageSection section) {
    return CutToBytes(
        GetProfileStringOf(iniBytes, Name(section), "Image_name", "", kImageNameBuffer),
        kImageNameBytes);
}

std::string ReadStartDirectory(const std::string& section) {
    return GetPrivateProfileString(section, "FileDir", "", "./OpenFile.ini", kFileDirBuffer);
}

}  // namespace tavlin
