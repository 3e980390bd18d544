#include "firmware/PackageManifest.h"

#include <algorithm>

namespace tavlin {
namespace {

constexpr std::size_t kHexDigits = 64;

bool IsHex(std::string_view text) {
    return text.size() == kHexDigits && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
           });
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'F') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

Result LineRefused(std::size_t number, const std::string& why) {
    return Result::Fail(ResultCode::BadInput,
                        "manifest line " + std::to_string(number) + ": " + why);
}

}  // namespace

std::string ManifestPathProblem(std::string_view path) {
    if (path.empty()) {
        return "no file name";
    }
    if (path.front() == '/') {
        return "an absolute path";
    }
    if (path.find('\\') != std::string_view::npos) {
        return "a backslash in the path";
    }
    if (path.find(':') != std::string_view::npos) {
        return "a drive letter or a colon in the path";
    }
    if (std::any_of(path.begin(), path.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; })) {
        return "a control character in the path";
    }
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        if (path.substr(start, end - start) == "..") {
            return "a path that leaves the package's folder (..)";
        }
        start = end + 1;
    }
    if (path.back() == '/') {
        return "a folder, not a file";
    }
    return {};
}

Result ParseManifest(std::string_view text, std::vector<ManifestEntry>* out) {
    out->clear();
    std::size_t number = 0;
    while (!text.empty()) {
        ++number;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty()) {
            continue;
        }
        // sha256sum marks a name it had to escape with a leading backslash.
        if (line.front() == '\\') {
            return LineRefused(number, "an escaped file name");
        }
        if (line.size() < kHexDigits + 2 || !IsHex(line.substr(0, kHexDigits)) ||
            line[kHexDigits] != ' ' ||
            (line[kHexDigits + 1] != ' ' && line[kHexDigits + 1] != '*')) {
            return LineRefused(number, "not \"<SHA-256>  <file>\"");
        }
        ManifestEntry entry{Lower(line.substr(0, kHexDigits)),
                            std::string(line.substr(kHexDigits + 2))};
        if (const std::string problem = ManifestPathProblem(entry.path); !problem.empty()) {
            return LineRefused(number, problem + " (" + entry.path + ")");
        }
        const bool twice = std::any_of(
            out->begin(), out->end(), [&](const ManifestEntry& e) { return e.path == entry.path; });
        if (twice) {
            return LineRefused(number, entry.path + " is listed twice");
        }
        out->push_back(std::move(entry));
    }
    if (out->empty()) {
        return Result::Fail(ResultCode::BadInput, "the manifest lists no file");
    }
    return Result::Ok();
}

std::string ManifestLine(const ManifestEntry& entry) {
    return entry.sha256 + "  " + entry.path + "\n";
}

}  // namespace tavlin
