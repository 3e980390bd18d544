#include "platform/RegularFile.h"

#include <cerrno>
#include <filesystem>
#include <string_view>

#include "platform/FilePath.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tavlin {
namespace {

struct Mode {
    bool read = false;
    bool write = false;
    bool create = false;
    bool truncate = false;
    bool append = false;
    bool text = true;
};

std::optional<Mode> ParseMode(std::string_view text) {
    Mode mode;
    const bool plus = text.find('+') != std::string_view::npos;
    mode.text = text.find('b') == std::string_view::npos;
    switch (text.empty() ? '\0' : text[0]) {
        case 'r':
            mode.read = true;
            mode.write = plus;
            break;
        case 'w':
            mode.write = mode.create = mode.truncate = true;
            mode.read = plus;
            break;
        case 'a':
            mode.write = mode.create = mode.append = true;
            mode.read = plus;
            break;
        default:
            return std::nullopt;
    }
    return mode;
}

RegularFile Refused(bool notAFile, std::error_code error = {}) {
    RegularFile refused;
    refused.notAFile = notAFile;
    refused.error = error;
    return refused;
}

}  // namespace

bool IsThereButNotAFile(const std::string& utf8) {
    std::error_code error;
    const auto status = std::filesystem::status(PathFromUtf8(utf8), error);
    return !error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
}

std::string RegularFileProblem(const RegularFile& refused) {
    return refused.notAFile ? "not a regular file" : ErrorText(refused.error);
}

#ifdef _WIN32

RegularFile OpenRegularFile(const std::string& utf8, const char* modeText) {
    const auto mode = ParseMode(modeText);
    if (!mode) {
        return Refused(false, std::make_error_code(std::errc::invalid_argument));
    }
    const DWORD access = (mode->read ? GENERIC_READ : 0) | (mode->write ? GENERIC_WRITE : 0);
    // Shared as fopen shares, and for deleting too: the log renames its kept runs.
    HANDLE handle = CreateFileW(
        PathFromUtf8(utf8).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, mode->create ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const std::error_code error(static_cast<int>(GetLastError()), std::system_category());
        // A folder refuses to be opened as a file ("access denied"): say what the name is.
        return Refused(IsThereButNotAFile(utf8), error);
    }
    // A pipe, a console or a device name such as NUL or COM1 is no disk file.
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        return Refused(true);
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle, &size)) {
        const std::error_code error(static_cast<int>(GetLastError()), std::system_category());
        CloseHandle(handle);
        return Refused(false, error);
    }
    if (mode->truncate && !SetEndOfFile(handle)) {
        const std::error_code error(static_cast<int>(GetLastError()), std::system_category());
        CloseHandle(handle);
        return Refused(false, error);
    }
    int flags = mode->text ? _O_TEXT : 0;
    if (mode->append) {
        flags |= _O_APPEND;
    }
    if (!mode->write) {
        flags |= _O_RDONLY;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags);
    if (fd < 0) {
        CloseHandle(handle);
        return Refused(false, std::make_error_code(std::errc::too_many_files_open));
    }
    RegularFile opened;
    opened.size = mode->truncate ? 0 : static_cast<uint64_t>(size.QuadPart);
    opened.file = _fdopen(fd, modeText);
    if (opened.file == nullptr) {
        opened.error = std::error_code(errno, std::generic_category());
        _close(fd);  // closes the handle too
    }
    return opened;
}

#else

RegularFile OpenRegularFile(const std::string& utf8, const char* modeText) {
    const auto mode = ParseMode(modeText);
    if (!mode) {
        return Refused(false, std::make_error_code(std::errc::invalid_argument));
    }
    int flags = mode->read && mode->write ? O_RDWR : mode->write ? O_WRONLY : O_RDONLY;
    if (mode->create) {
        flags |= O_CREAT;
    }
    if (mode->append) {
        flags |= O_APPEND;
    }
    int fd;
    do {
        fd = ::open(utf8.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const std::error_code error(errno, std::generic_category());
        // A FIFO nobody reads refuses a writer (ENXIO), a folder too (EISDIR): say what the
        // name is rather than the symptom.
        return Refused(IsThereButNotAFile(utf8), error);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const std::error_code error(errno, std::generic_category());
        ::close(fd);
        return Refused(false, error);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return Refused(true);
    }
    // From here on a read or write of the file waits as it does for any file.
    const int status = ::fcntl(fd, F_GETFL);
    if (status < 0 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0 ||
        (mode->truncate && ::ftruncate(fd, 0) != 0)) {
        const std::error_code error(errno, std::generic_category());
        ::close(fd);
        return Refused(false, error);
    }
    RegularFile opened;
    opened.size = mode->truncate ? 0 : static_cast<uint64_t>(info.st_size);
    opened.file = ::fdopen(fd, modeText);
    if (opened.file == nullptr) {
        opened.error = std::error_code(errno, std::generic_category());
        ::close(fd);
    }
    return opened;
}

#endif

std::optional<std::string> ReadRegularFile(const std::string& utf8, RegularFile* why) {
    RegularFile opened = OpenRegularFile(utf8, "rb");
    if (!opened) {
        if (why != nullptr) {
            *why = opened;
        }
        return std::nullopt;
    }
    std::string bytes;
    // Room for what the file holds now, so a large image is not copied over as it grows.
    bytes.reserve(static_cast<size_t>(opened.size));
    char chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, opened.file)) > 0) {
        bytes.append(chunk, got);
    }
    const bool failed = std::ferror(opened.file) != 0;
    const int error = errno;
    std::fclose(opened.file);
    if (failed) {
        if (why != nullptr) {
            *why =
                Refused(false, std::error_code(error != 0 ? error : EIO, std::generic_category()));
        }
        return std::nullopt;
    }
    return bytes;
}

}  // namespace tavlin
