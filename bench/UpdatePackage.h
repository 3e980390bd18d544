#pragma once
// The package the update benchmarks write: three 64 KiB images (HInfo to both sensors, LInfo,
// RInfo), 256 KiB through the link in all.
#include <filesystem>
#include <fstream>
#include <string>

namespace tavlin::bench {

inline constexpr size_t kImageSize = 64 * 1024;

// Writes the images and the package file into `dir` (made when missing); the package's path.
inline std::string WriteUpdatePackage(const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir);
    std::string package;
    for (const char* section : {"HInfo", "LInfo", "RInfo"}) {
        const auto image = dir / (std::string(section) + ".bin");
        std::ofstream(image, std::ios::binary) << std::string(kImageSize, section[0]);
        package += std::string("[Tavlin ") + section +
                   "]\nImage_en=1\nImage_version=1\nImage_name=" + image.string() + "\n";
    }
    std::ofstream(dir / "pkg.ini") << package;
    return (dir / "pkg.ini").string();
}

}  // namespace tavlin::bench
