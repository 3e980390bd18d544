#include "firmware/PackageTrust.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <future>
#include <optional>

#include "base/Log.h"
#include "crypto/Minisign.h"
#include "crypto/Sha256.h"
#include "firmware/FirmwareTexts.h"
#include "firmware/PackageManifest.h"
#include "firmware/PackageTexts.h"
#include "platform/FilePath.h"
#include "platform/RegularFile.h"

namespace tavlin {
namespace {

namespace fs = std::filesystem;

// Far above any real list or signature; a larger file is no manifest or signature of ours.
constexpr uint64_t kMaxManifestBytes = 1 << 20;
constexpr uint64_t kMaxSignatureBytes = 1 << 16;
constexpr uint64_t kMaxKeyBytes = 1 << 16;

Result Refuse(const std::string& why) {
    return Result::Fail(ResultCode::BadInput, why);
}

// The file's bytes when it is a regular file of at most `limit` bytes.
Result ReadSmallFile(const std::string& path, uint64_t limit, std::string* bytes) {
    RegularFile refused;
    std::optional<std::string> read = ReadRegularFile(path, &refused);
    if (!read) {
        return Refuse(path + ": " + RegularFileProblem(refused));
    }
    if (read->size() > limit) {
        return Refuse(path + ": larger than " + std::to_string(limit) + " bytes");
    }
    *bytes = std::move(*read);
    return Result::Ok();
}

// One path for one file, however it was named: the same file named two ways compares equal.
fs::path SameFile(const fs::path& path) {
    std::error_code ignored;
    const fs::path absolute = fs::absolute(path, ignored);
    const fs::path canonical = fs::weakly_canonical(absolute, ignored);
    return canonical.empty() ? absolute.lexically_normal() : canonical;
}

Result LoadKey(const std::string& path, std::vector<MinisignKey>* keys) {
    std::string text;
    if (Result read = ReadSmallFile(path, kMaxKeyBytes, &text); !read.ok()) {
        return Refuse("trusted key " + read.reason());
    }
    MinisignKey key;
    if (Result parsed = ParseMinisignKey(text, &key); !parsed.ok()) {
        return Refuse("trusted key " + path + ": " + parsed.reason());
    }
    keys->push_back(key);
    return Result::Ok();
}

// The keys given one by one (each must be one) and every *.pub of the key folder (one that is
// not is logged and passed over: a stray file must not stop the line).
Result TrustedKeys(const TrustSettings& settings, std::vector<MinisignKey>* keys) {
    for (const std::string& file : settings.keyFiles) {
        if (Result loaded = LoadKey(file, keys); !loaded.ok()) {
            return loaded;
        }
    }
    if (settings.keyFolder.empty()) {
        return Result::Ok();
    }
    std::error_code error;
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(PathFromUtf8(settings.keyFolder), error)) {
        if (entry.path().extension() == kPublicKeySuffix) {
            found.push_back(entry.path());
        }
    }
    std::sort(found.begin(), found.end());
    for (const fs::path& path : found) {
        if (Result loaded = LoadKey(Utf8FromPath(path), keys); !loaded.ok()) {
            WriteLog("Update FW: %s, passed over\n", loaded.reason().c_str());
        }
    }
    return Result::Ok();
}

Result VerifySignature(const std::string& manifest, const std::string& signatureText,
                       const std::string& signaturePath, const TrustSettings& settings,
                       PackageTrust* trust) {
    MinisignSignature signature;
    if (Result parsed = ParseMinisignSignature(signatureText, &signature); !parsed.ok()) {
        return Refuse(signaturePath + ": " + parsed.reason());
    }
    std::vector<MinisignKey> keys;
    if (Result loaded = TrustedKeys(settings, &keys); !loaded.ok()) {
        return loaded;
    }
    const auto key = std::find_if(keys.begin(), keys.end(),
                                  [&](const MinisignKey& k) { return k.keyId == signature.keyId; });
    const std::string keyId = MinisignKeyIdText(signature.keyId);
    if (key == keys.end()) {
        return Refuse(signaturePath + ": signed by key " + keyId +
                      ", which this station does not trust");
    }
    if (Result verified = VerifyMinisign(signature, *key, manifest); !verified.ok()) {
        return Refuse(signaturePath + ": " + verified.reason());
    }
    trust->isSigned = true;
    trust->keyId = keyId;
    trust->comment = signature.trustedComment;
    return Result::Ok();
}

// The package's own files with the hashes of the bytes held for the update, each hashed once.
// The images are hashed side by side: SHA-256 in libsodium takes about 5 ms a megabyte on one
// core, and a station checks the package on every run.
void ListFiles(CheckedPackage* out) {
    const LoadedPackage& p = out->package;
    std::vector<std::future<std::string>> hashes;
    for (const LoadedImage& image : p.images) {
        hashes.push_back(
            std::async(std::launch::async, [&bytes = image.bytes] { return Sha256Hex(bytes); }));
    }
    out->files.push_back({p.path, Sha256Hex(p.iniBytes), p.iniBytes.size()});
    for (std::size_t i = 0; i < p.images.size(); ++i) {
        out->files.push_back({p.images[i].name, hashes[i].get(), p.images[i].bytes.size()});
    }
}

// Every entry's file has its listed hash; the package file and each enabled image are listed.
// The package's own files are compared by the hashes of the bytes held for the update.
Result CheckManifest(const std::vector<ManifestEntry>& entries, const std::string& manifestPath,
                     const CheckedPackage& checked) {
    const LoadedPackage& package = checked.package;
    const fs::path folder = PathFromUtf8(package.path).parent_path();
    struct Held {
        fs::path file;
        const CheckedFile* checked;
        bool listed = false;
    };
    std::vector<Held> held;
    for (const CheckedFile& file : checked.files) {
        held.push_back({SameFile(PathFromUtf8(file.path)), &file});
    }
    for (const ManifestEntry& entry : entries) {
        const fs::path file = SameFile(folder / PathFromUtf8(entry.path));
        std::string hash;
        bool found = false;
        for (Held& h : held) {
            if (h.file == file) {
                hash = h.checked->sha256;
                h.listed = found = true;
            }
        }
        if (!found) {
            std::int64_t size = 0;
            if (!Sha256OfFile(Utf8FromPath(file), &hash, &size).ok()) {
                return Refuse(manifestPath + " lists " + entry.path + ", which cannot be read");
            }
        }
        if (hash != entry.sha256) {
            return Refuse(entry.path + ": its SHA-256 is not the one " + manifestPath + " lists");
        }
    }
    for (const Held& h : held) {
        if (!h.listed) {
            return Refuse(h.checked->path + " is not listed in " + manifestPath);
        }
    }
    return Result::Ok();
}

}  // namespace

bool SignaturesRequired(const TrustSettings& settings) {
    if (settings.requireSigned) {
        return true;
    }
    std::error_code ignored;
    return !settings.keyFolder.empty() &&
           fs::exists(PathFromUtf8(settings.keyFolder) / kRequireSignedFile, ignored);
}

Result CheckPackageTrust(const std::string& path, const TrustSettings& settings,
                         CheckedPackage* out, const char** statusText) {
    *out = CheckedPackage{};
    if (Result loaded = LoadPackage(path, &out->package, statusText); !loaded.ok()) {
        return loaded;
    }
    const std::string manifestPath = path + kManifestSuffix;
    const std::string signaturePath = path + kSignatureSuffix;
    std::error_code ignored;
    if (!fs::exists(PathFromUtf8(signaturePath), ignored)) {
        if (SignaturesRequired(settings)) {
            WriteLogSized(path.size() + 96,
                          "Update FW: package \"%s\" is not signed, and this station takes "
                          "signed packages only!\n",
                          path.c_str());
            *statusText = pkg::kUnsignedRefused;
            return Refuse(path + " is not signed (no " + signaturePath +
                          "), and this station takes signed packages only");
        }
        ListFiles(out);
        return Result::Ok();
    }
    *statusText = pkg::kPackageNotTrusted;
    std::string signature;
    std::string manifest;
    if (Result read = ReadSmallFile(signaturePath, kMaxSignatureBytes, &signature); !read.ok()) {
        return read;
    }
    if (Result read = ReadSmallFile(manifestPath, kMaxManifestBytes, &manifest); !read.ok()) {
        return read;
    }
    Result checked =
        VerifySignature(manifest, signature, signaturePath, settings, &out->package.trust);
    std::vector<ManifestEntry> entries;
    if (checked.ok()) {
        if (Result parsed = ParseManifest(manifest, &entries); !parsed.ok()) {
            checked = Refuse(manifestPath + ": " + parsed.reason());
        }
    }
    if (checked.ok()) {
        ListFiles(out);
        checked = CheckManifest(entries, manifestPath, *out);
    }
    if (!checked.ok()) {
        out->package.trust = PackageTrust{};
        out->files.clear();
        WriteLogSized(path.size() + checked.reason().size() + 64,
                      "Update FW: package \"%s\" refused: %s!\n", path.c_str(),
                      checked.reason().c_str());
        return checked;
    }
    return Result::Ok();
}

Result WritePackageManifest(const std::string& path, std::string* manifestPath) {
    std::string ini;
    if (Result read = ReadSmallFile(path, kMaxManifestBytes, &ini); !read.ok()) {
        return read;
    }
    std::error_code ignored;
    const fs::path folder = SameFile(fs::absolute(PathFromUtf8(path), ignored).parent_path());
    std::string text = ManifestLine({Sha256Hex(ini), Utf8FromPath(PathFromUtf8(path).filename())});
    const ImageEnables enables = ImageEnablesOf(ini);
    for (PackageSection s : {PackageSection::HInfo, PackageSection::LInfo, PackageSection::RInfo}) {
        const std::string name = ImageNameOf(ini, s);
        if (name.empty()) {
            continue;
        }
        // '/' between folders on every system, as the manifest is read.
        std::string listed;
        for (const fs::path& part : SameFile(PathFromUtf8(name)).lexically_relative(folder)) {
            listed += (listed.empty() ? "" : "/") + Utf8FromPath(part);
        }
        if (listed.empty() || !ManifestPathProblem(listed).empty()) {
            return Refuse("image " + name + " lies outside the folder of " + path);
        }
        std::string hash;
        std::int64_t size = 0;
        if (Result hashed = Sha256OfFile(name, &hash, &size); !hashed.ok()) {
            // A section that is off may name a file the package does not ship.
            if (!enables.enabled(s)) {
                continue;
            }
            return Refuse("image " + hashed.reason());
        }
        text += ManifestLine({hash, listed});
    }
    *manifestPath = path + kManifestSuffix;
    const std::string temporary = *manifestPath + ".new";
    RegularFile opened = OpenRegularFile(temporary, "wb");
    if (!opened) {
        return Result::Fail(ResultCode::IoError, temporary + ": " + RegularFileProblem(opened));
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), opened.file) == text.size();
    const bool closed = std::fclose(opened.file) == 0;
    std::error_code error;
    if (!written || !closed) {
        fs::remove(PathFromUtf8(temporary), error);
        return Result::Fail(ResultCode::IoError, "cannot write " + temporary);
    }
    fs::rename(PathFromUtf8(temporary), PathFromUtf8(*manifestPath), error);
    if (error) {
        fs::remove(PathFromUtf8(temporary), error);
        return Result::Fail(ResultCode::IoError, "cannot rename " + temporary + " to " +
                                                     *manifestPath + ": " + ErrorText(error));
    }
    return Result::Ok();
}

}  // namespace tavlin
