#pragma once
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <system_error>

namespace tavlin {

// What became of opening a file by name.
struct RegularFile {
    std::FILE* file = nullptr;  // the open file, or nullptr; the caller closes it
    bool notAFile = false;      // the name is there but is a FIFO, a device, a folder, ...
    std::error_code error;      // why it could not be opened otherwise
    uint64_t size = 0;          // the file's size when it was opened ("w": 0)

    explicit operator bool() const { return file != nullptr; }
};

// fopen of a UTF-8 name ("rb", "wb", "ab", with "+" too) that never waits and opens only a
// regular file. Opening a FIFO waits for its other end, for ever when there is none, and a
// device or a folder is no file to keep a log, a recording or a picture in: the name is opened
// without waiting (O_NONBLOCK; on Windows the wide API, which does not wait either), what it
// names is looked at through the open handle, so it cannot be swapped in between, and anything
// but a regular file is closed again and refused. "w" empties the file only once it is known to
// be one.
RegularFile OpenRegularFile(const std::string& utf8, const char* mode);

// The bytes of a regular file, read whole, or nothing (with `why`, when given, saying why).
std::optional<std::string> ReadRegularFile(const std::string& utf8, RegularFile* why = nullptr);

// Why a file could not be had, in English for logs and results: "not a regular file" or the
// system's reason.
std::string RegularFileProblem(const RegularFile& refused);

// Whether the name is there but is no regular file, asked without opening it. A missing name
// is not refused: it becomes a regular file when written.
bool IsThereButNotAFile(const std::string& utf8);

}  // namespace tavlin
