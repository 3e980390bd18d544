#include "base/LogFolder.h"

#include <cerrno>
#include <system_error>

#include "base/FileTexts.h"
#include "base/FillText.h"
#include "base/Log.h"
#include "base/StringTable.h"
#include "platform/FilePath.h"
#include "platform/RegularFile.h"

namespace tavlin {
namespace {

// The log opens its file anew for every entry, so the folder must take a new file now; a probe
// file shows that for every user, root included, where permission bits alone would not. It
// holds a whole entry, written through to the file: an empty file is also made on a full disk.
std::error_code ProbeWrite(const std::filesystem::path& folder) {
    const std::filesystem::path probe = folder / ".Tavlin_log_probe";
    const RegularFile opened = OpenRegularFile(Utf8FromPath(probe), "wb");
    std::FILE* file = opened.file;
    if (file == nullptr) {
        // A FIFO under the probe's name would have held the start until something read it.
        return opened.notAFile ? std::make_error_code(std::errc::file_exists) : opened.error;
    }
    const std::string entry(kLogBufferSize - 1, 'x');
    errno = 0;
    const bool written =
        std::fwrite(entry.data(), 1, entry.size(), file) == entry.size() && std::fflush(file) == 0;
    const int error = errno;
    const bool closed = std::fclose(file) == 0;
    std::error_code ignored;
    std::filesystem::remove(probe, ignored);
    if (!written || !closed) {
        return std::error_code(error != 0 ? error : ENOSPC, std::generic_category());
    }
    return {};
}

// The log's own name taken by a FIFO, a device or a folder: opening it would wait for a reader
// for ever, or take no entry.
Result RefuseLogNotAFile(const std::string& path, std::string* message) {
    if (!IsThereButNotAFile(path)) {
        return Result::Ok();
    }
    *message = FillText(Tr(filetext::kLogNotAFile), {path}) + "\n";
    return Result::Fail(ResultCode::BadInput, "the log file " + path + " is not a regular file");
}

std::string Refusal(const std::string& folder, const std::error_code& why) {
    // A folder named with "%s" in it must not take the reason's place: FillText sees to that.
    return FillText(Tr(BuiltInString(IDS_LOG_DIR_REFUSED)), {folder, ErrorText(why)});
}

}  // namespace

Result CheckLogFolder(const std::string& folder, std::string* message) {
    const std::filesystem::path path = PathFromUtf8(folder.empty() ? "." : folder);
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (!error && !std::filesystem::is_directory(path, error)) {
        error = std::make_error_code(std::errc::not_a_directory);
    }
    if (!error) {
        error = ProbeWrite(path);
    }
    if (error) {
        *message = Refusal(folder, error);
        return Result::Fail(ResultCode::BadInput,
                            "the log folder " + folder + " cannot be written: " + ErrorText(error));
    }
    // A FIFO or a folder under the log's own name would hold every entry until something read it.
    return RefuseLogNotAFile(Utf8FromPath(path / "Tavlin_log.txt"), message);
}

Result UseLogFolder(const std::string& folder, std::string* message) {
    Result checked = CheckLogFolder(folder, message);
    if (checked.ok()) {
        SetLogFilePath(
            Utf8FromPath(PathFromUtf8(folder.empty() ? "." : folder) / "Tavlin_log.txt"));
    }
    return checked;
}

Result CheckLogFile(std::string* message) {
    return RefuseLogNotAFile(LogFilePath(), message);
}

}  // namespace tavlin
