#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/Result.h"
#include "firmware/LoadedPackage.h"

namespace tavlin {

// Beside PKG.ini: PKG.ini.sha256 lists the package file and its images with their SHA-256
// (PackageManifest.h), and PKG.ini.sha256.minisig is the firmware team's signature of that list.
inline constexpr const char* kManifestSuffix = ".sha256";
inline constexpr const char* kSignatureSuffix = ".sha256.minisig";
// A file of this name in the key folder makes the station refuse unsigned packages.
inline constexpr const char* kRequireSignedFile = "require-signed";
// What a key file in the key folder is named like.
inline constexpr const char* kPublicKeySuffix = ".pub";

// Whom a station trusts, and whether it takes unsigned packages.
struct TrustSettings {
    std::vector<std::string> keyFiles;  // given one by one (--trusted-key)
    std::string keyFolder;              // every *.pub in it; kRequireSignedFile in it
    bool requireSigned = false;         // --require-signed
};

// One file of a checked package: the bytes hashed are the bytes the update writes.
struct CheckedFile {
    std::string path;  // as named (the package file, or the name the package gives an image)
    std::string sha256;
    uint64_t size = 0;
};

struct CheckedPackage {
    LoadedPackage package;           // with the signer found (package.trust)
    std::vector<CheckedFile> files;  // the package file, then its enabled images
};

// Whether the settings (or the policy file in the key folder) refuse unsigned packages.
bool SignaturesRequired(const TrustSettings& settings);

// Reads the package and its enabled images once (LoadPackage) and checks them before any device
// is asked for anything. Signed: the signature must be valid and by a trusted key, every file of
// the manifest must be there with its hash, and the package file and every enabled image must be
// among them. Unsigned: refused when signatures are required, otherwise taken (the update logs
// it).
// Refused with BadInput and a reason that names the file and what is wrong with it; *statusText
// is then the firmware window's text for it (untranslated; a "%s" in it takes the reason).
Result CheckPackageTrust(const std::string& path, const TrustSettings& settings,
                         CheckedPackage* out, const char** statusText);

// Writes PKG.ini.sha256 for the package at `path`: its own hash and those of the images it names
// (every section's Image_name, enabled or not; a file named by a section that is off and is not
// there is left out), paths relative to its folder. Written to a
// temporary file and renamed, so a reader never sees half of it. Refused when the package or an
// image cannot be read, or an image lies outside the package's folder.
Result WritePackageManifest(const std::string& path, std::string* manifestPath);

}  // namespace tavlin
