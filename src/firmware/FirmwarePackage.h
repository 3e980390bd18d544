#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace tavlin {

// The package description file: which of the three images to write, from which files, with
// which versions. Read anew each time an update starts; never written.
enum class PackageSection { HInfo = 0, LInfo = 1, RInfo = 2 };

inline constexpr const char* kSectionNames[] = {"Tavlin HInfo", "Tavlin LInfo", "Tavlin RInfo"};
inline constexpr uint8_t kImageEnabled = 1;
inline constexpr uint8_t kImageKeyAbsent = 255;

// The "Image_en" bytes (low 8 bits of the value) of the three sections.
struct ImageEnables {
    std::array<uint8_t, 3> value{kImageKeyAbsent, kImageKeyAbsent, kImageKeyAbsent};
    bool enabled(PackageSection s) const { return value[static_cast<int>(s)] == kImageEnabled; }
};

enum class PackageVerdict {
    Refused,         // no section present at all
    NothingEnabled,  // present, but no image to write
    Write,
};

ImageEnables ReadImageEnables(const std::string& packagePath);
PackageVerdict JudgePackage(const ImageEnables& enables);

uint32_t ReadImageVersion(const std::string& packagePath, PackageSection section);
// The image's file name as written, cut to 255 bytes at whole characters; relative names are
// relative to the current directory (not to the package file).
std::string ReadImageName(const std::string& packagePath, PackageSection section);

// The same readings of the package file's bytes, read once and held (LoadedPackage.h).
ImageEnables ImageEnablesOf(const std::string& iniBytes);
uint32_t ImageVersionOf(const std::string& iniBytes, PackageSection section);
std::string ImageNameOf(const std::string& iniBytes, PackageSection section);

// "FileDir" of section "Image", "FPGA" or "SCRIPT" in .\OpenFile.ini, at most 127 wide characters
// (whole characters); empty when absent.
std::string ReadStartDirectory(const std::string& section);

}  // namespace tavlin
