#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavlin::cli {

// Whether this build can make PNG files at all (a Windows build without libpng and without Qt
// cannot).
bool CanEncodePng();

// `pixels` (width x height, 0xAARRGGBB, row 0 at the top) as the bytes of a PNG file, 8-bit RGB
// without alpha, as the window's pictures are opaque. Without a result `*error` says why.
// The bytes are made in memory so that the caller opens the file as it opens every other.
std::optional<std::vector<unsigned char>> EncodePng(int width, int height,
                                                    const std::vector<uint32_t>& pixels,
                                                    std::string* error);

// The same bytes as the file `utf8Path`, replaced when it exists. False with `*error` saying
// why when the picture cannot be made or the file not wholly written.
bool WritePngFile(const std::string& utf8Path, int width, int height,
                  const std::vector<uint32_t>& pixels, std::string* error);

}  // namespace tavlin::cli
