#include "records/RecordedUpdateJournal.h"

#include <filesystem>
#include <system_error>

#include "crypto/Sha256.h"
#include "platform/FilePath.h"

namespace tavlin {

const char* ImageNameOf(PackageSection section) {
    switch (section) {
        case PackageSection::LInfo:
            return "LInfo";
        case PackageSection::RInfo:
            return "RInfo";
        default:
            return "HInfo";
    }
}

UpdateProgress ProgressOfPackage(const LoadedPackage& package) {
    UpdateProgress progress;
    std::error_code ignored;
    progress.package = Utf8FromPath(
        std::filesystem::absolute(PathFromUtf8(package.path), ignored).lexically_normal());
    progress.folder = Utf8FromPath(std::filesystem::current_path(ignored));
    progress.packageSha256 = Sha256Hex(package.iniBytes);
    progress.files.push_back({"package", package.path, progress.packageSha256,
                              static_cast<std::int64_t>(package.iniBytes.size())});
    for (const LoadedImage& image : package.images) {
        progress.files.push_back({"package", image.name, Sha256Hex(image.bytes),
                                  static_cast<std::int64_t>(image.bytes.size())});
    }
    progress.stage = "restart-in";
    progress.imageCount = static_cast<int>(PlanUpdate(package.enables).size());
    return progress;
}

std::string PackageDifference(const std::vector<ArtefactRecord>& kept,
                              const LoadedPackage& package) {
    const std::vector<ArtefactRecord> now = ProgressOfPackage(package).files;
    if (kept.empty()) {
        return package.path + ": no files were kept for it";
    }
    if (kept.front().sha256 != now.front().sha256) {
        return package.path + ": its SHA-256 differs";
    }
    for (size_t i = 1; i < kept.size(); ++i) {
        bool found = false;
        for (size_t j = 1; j < now.size() && !found; ++j) {
            if (now[j].path == kept[i].path) {
                found = true;
                if (now[j].sha256 != kept[i].sha256) {
                    return kept[i].path + ": its SHA-256 differs";
                }
            }
        }
        if (!found) {
            return kept[i].path + ": no longer in the package";
        }
    }
    for (size_t j = 1; j < now.size(); ++j) {
        bool found = false;
        for (size_t i = 1; i < kept.size() && !found; ++i) {
            found = kept[i].path == now[j].path;
        }
        if (!found) {
            return now[j].path + ": not in the package the update had";
        }
    }
    return {};
}

RecordedUpdateJournal::RecordedUpdateJournal(std::string storePath, std::string runUuid)
    : keeper_(std::move(storePath), std::move(runUuid)) {}

Result RecordedUpdateJournal::Starting(const LoadedPackage& package) {
    return keeper_.Begin(track_.Start(package));
}

void RecordedUpdateJournal::Writing(ImageWrite write, uint64_t packet) {
    keeper_.Note(track_.Writing(write, packet));
}

void RecordedUpdateJournal::Leaving() {
    keeper_.Note(track_.Leaving());
}

}  // namespace tavlin
