#pragma once
#include <string>
#include <vector>

#include "base/Result.h"
#include "firmware/FirmwarePackage.h"

namespace tavlin {

// One enabled image of a package with the bytes that will go to the device.
struct LoadedImage {
    PackageSection section = PackageSection::HInfo;
    std::string name;  // as the package names it (relative to the current directory)
    uint32_t version = 0;
    std::string bytes;
};

// Who vouched for a package: the signing key's id (as the signing tool prints it) and the
// signature's trusted comment; nobody when it was not signed (or not checked).
struct PackageTrust {
    bool isSigned = false;
    std::string keyId;
    std::string comment;
};

// A package read whole into memory: the package file and every image it enables, each file
// read once. What is checked (hashes, signature) and what is written to the device are these
// same bytes, so a file changed on disk after the check never reaches the device.
struct LoadedPackage {
    std::string path;      // the package file as named
    std::string iniBytes;  // its bytes; enables, names and versions are read from them
    ImageEnables enables;
    std::vector<LoadedImage> images;  // the enabled ones, in section order
    PackageTrust trust;               // set by the check (PackageTrust.h)
};

// Reads the package at `path` and its enabled images. Refused (BadInput) as the update would
// refuse it - a package that cannot be read or has no image section, one with no image enabled,
// an image file that cannot be read - with *statusText the firmware window's text for it
// (untranslated) and the same log lines.
Result LoadPackage(const std::string& path, LoadedPackage* out, const char** statusText);

}  // namespace tavlin
