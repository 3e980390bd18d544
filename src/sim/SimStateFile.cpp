#include "sim/SimStateFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/FilePath.h"
#include "platform/RegularFile.h"

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tavlin::sim {
namespace {

constexpr char kMagic[8] = {'T', 'A', 'V', 'L', 'N', 'S', 'I', 'M'};
constexpr uint32_t kFormat = 1;
constexpr size_t kHeaderSize = sizeof kMagic + 4 + 8;
constexpr size_t kCrcSize = 4;
// Far beyond any image of the device; a length past it is damage, not a bigger flash.
constexpr uint32_t kMaxImageBytes = 64u << 20;

uint32_t Crc32(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void Put(std::vector<uint8_t>* out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out->push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

// Reads the payload without ever reading past it.
class Reader {
  public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Take(int bytes, uint64_t* value) {
        if (size_ - at_ < static_cast<size_t>(bytes)) {
            return false;
        }
        *value = 0;
        for (int i = 0; i < bytes; ++i) {
            *value |= uint64_t(data_[at_++]) << (8 * i);
        }
        return true;
    }
    bool TakeBytes(size_t n, uint8_t* out) {
        if (size_ - at_ < n) {
            return false;
        }
        // An empty vector's data() may be null, and memcpy must never see a null pointer.
        if (n > 0) {
            std::memcpy(out, data_ + at_, n);
        }
        at_ += n;
        return true;
    }
    bool atEnd() const { return at_ == size_; }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

bool DecodePayload(Reader& in, SimFlash* flash) {
    uint64_t v = 0;
    if (!in.Take(2, &v) || !IsOurProduct(static_cast<uint16_t>(v))) {
        return false;
    }
    flash->bootProductId = static_cast<uint16_t>(v);
    if (!in.Take(1, &v) || (v != 0x22 && v != 0xFF && v != 0xEE)) {
        return false;
    }
    flash->mode = static_cast<uint8_t>(v);
    for (SimFlash::Sensor& sensor : flash->sensors) {
        if (!in.Take(4, &v)) {
            return false;
        }
        sensor.imageVersion = static_cast<uint32_t>(v);
        if (!in.TakeBytes(sensor.versionInfo.size(), sensor.versionInfo.data())) {
            return false;
        }
        for (SimFlash::Image& image : sensor.images) {
            uint64_t state = 0;
            uint64_t packets = 0;
            uint64_t length = 0;
            if (!in.Take(1, &state) || state > 2 || !in.Take(4, &packets) || packets > INT32_MAX ||
                !in.Take(4, &length) || length > kMaxImageBytes) {
                return false;
            }
            image.state = static_cast<SimFlash::State>(state);
            image.packets = static_cast<int>(packets);
            image.bytes.resize(length);
            if (!in.TakeBytes(length, image.bytes.data())) {
                return false;
            }
        }
    }
    return in.atEnd();
}

bool Fail(SimStateProblem* problem, SimStateProblem::Kind kind, std::string detail) {
    if (problem != nullptr) {
        *problem = {kind, std::move(detail)};
    }
    return false;
}

bool SyncAndClose(std::FILE* file) {
    bool ok = std::fflush(file) == 0;
#ifdef _WIN32
    ok = ok && _commit(_fileno(file)) == 0;
#else
    ok = ok && fsync(fileno(file)) == 0;
#endif
    return std::fclose(file) == 0 && ok;
}

// The rename itself lives in the folder: on POSIX it is durable once the folder is synced.
void SyncFolderOf(const std::filesystem::path& path) {
#ifndef _WIN32
    std::filesystem::path folder = path.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    const int fd = open(folder.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
#else
    (void)path;
#endif
}

}  // namespace

std::vector<uint8_t> EncodeSimState(const SimFlash& flash) {
    std::vector<uint8_t> payload;
    Put(&payload, flash.bootProductId, 2);
    Put(&payload, flash.mode, 1);
    for (const SimFlash::Sensor& sensor : flash.sensors) {
        Put(&payload, sensor.imageVersion, 4);
        payload.insert(payload.end(), sensor.versionInfo.begin(), sensor.versionInfo.end());
        for (const SimFlash::Image& image : sensor.images) {
            Put(&payload, static_cast<uint8_t>(image.state), 1);
            Put(&payload, static_cast<uint32_t>(image.packets), 4);
            Put(&payload, image.bytes.size(), 4);
            payload.insert(payload.end(), image.bytes.begin(), image.bytes.end());
        }
    }
    std::vector<uint8_t> out(std::begin(kMagic), std::end(kMagic));
    Put(&out, kFormat, 4);
    Put(&out, payload.size(), 8);
    out.insert(out.end(), payload.begin(), payload.end());
    Put(&out, Crc32(payload.data(), payload.size()), 4);
    return out;
}

std::optional<SimFlash> DecodeSimState(const std::vector<uint8_t>& bytes,
                                       SimStateProblem* problem) {
    using Kind = SimStateProblem::Kind;
    const size_t magicSeen = std::min(bytes.size(), sizeof kMagic);
    if (bytes.empty() || std::memcmp(bytes.data(), kMagic, magicSeen) != 0) {
        Fail(problem, Kind::Foreign, "no simulated device state file");
        return std::nullopt;
    }
    if (bytes.size() < kHeaderSize + kCrcSize) {
        Fail(problem, Kind::Damaged, "cut short in its header");
        return std::nullopt;
    }
    Reader header(bytes.data() + sizeof kMagic, kHeaderSize - sizeof kMagic);
    uint64_t format = 0;
    uint64_t length = 0;
    header.Take(4, &format);
    header.Take(8, &length);
    if (format != kFormat) {
        Fail(problem, Kind::Newer, "format " + std::to_string(format) + ", this program reads 1");
        return std::nullopt;
    }
    const size_t room = bytes.size() - kHeaderSize - kCrcSize;
    if (length != room) {
        Fail(problem, Kind::Damaged,
             length > room ? "cut short: " + std::to_string(room) + " of " +
                                 std::to_string(length) + " payload bytes"
                           : "longer than its header says");
        return std::nullopt;
    }
    const uint8_t* payload = bytes.data() + kHeaderSize;
    Reader tail(payload + length, kCrcSize);
    uint64_t crc = 0;
    tail.Take(4, &crc);
    if (Crc32(payload, length) != crc) {
        Fail(problem, Kind::Damaged, "checksum does not match its contents");
        return std::nullopt;
    }
    SimFlash flash;
    Reader in(payload, length);
    if (!DecodePayload(in, &flash)) {
        Fail(problem, Kind::Damaged, "contents out of their ranges");
        return std::nullopt;
    }
    if (problem != nullptr) {
        *problem = {};
    }
    return flash;
}

std::optional<SimFlash> ReadSimState(const std::string& path, SimStateProblem* problem) {
    using Kind = SimStateProblem::Kind;
    std::error_code error;
    if (!std::filesystem::exists(PathFromUtf8(path), error) && !error) {
        Fail(problem, Kind::Absent, "no file yet");
        return std::nullopt;
    }
    RegularFile why;
    const std::optional<std::string> text = ReadRegularFile(path, &why);
    if (!text) {
        Fail(problem, why.notAFile ? Kind::NotAFile : Kind::Unreadable, RegularFileProblem(why));
        return std::nullopt;
    }
    return DecodeSimState(std::vector<uint8_t>(text->begin(), text->end()), problem);
}

bool WriteSimState(const std::string& path, const SimFlash& flash, SimStateProblem* problem) {
    using Kind = SimStateProblem::Kind;
    const std::vector<uint8_t> bytes = EncodeSimState(flash);
    const std::string temporary = path + ".tmp";
    RegularFile opened = OpenRegularFile(temporary, "wb");
    if (!opened) {
        return Fail(problem, Kind::Unwritable, temporary + ": " + RegularFileProblem(opened));
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), opened.file) == bytes.size();
    if (!SyncAndClose(opened.file) || !written) {
        std::error_code ignored;
        std::filesystem::remove(PathFromUtf8(temporary), ignored);
        return Fail(problem, Kind::Unwritable, temporary + ": not written whole");
    }
    std::error_code error;
    std::filesystem::rename(PathFromUtf8(temporary), PathFromUtf8(path), error);
    if (error) {
        std::filesystem::remove(PathFromUtf8(temporary), error);
        return Fail(problem, Kind::Unwritable, "not renamed to " + path);
    }
    SyncFolderOf(PathFromUtf8(path));
    if (problem != nullptr) {
        *problem = {};
    }
    return true;
}

}  // namespace tavlin::sim
