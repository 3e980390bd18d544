// Burst transfers between a block of FPGA registers and a file of the working directory.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/Log.h"
#include "device/CommandContext.h"
#include "device/DeviceProtocol.h"
#include "platform/RegularFile.h"

namespace tavlin::command {
namespace {

constexpr uint32_t kBurstBufferSize = 128;
constexpr size_t kNameField = sizeof(BurstBlock::fileName);

// The name field need not end in a NUL when all 16 bytes are used.
std::string NameOf(const char* field) {
    return std::string(field, strnlen(field, kNameField));
}

// Burst files live in the working directory: a name that leaves it, or no name, is refused.
bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string::npos;
}

// Only FPGA register blocks have a length; a sensor register or a device area would move one
// byte or a fixed record whatever the length says, and the file would hold bytes that were
// never read. Longer than the buffer is refused rather than split: a split transfer that fails
// halfway would leave part of the data in the file or the device.
// The refusal's log line and its reason are one text.
Result Refused(const char* what, const std::string& why) {
    WriteLog("%s refused: %s\n", what, why.c_str());
    return Result::Fail(ResultCode::BadInput, why);
}

Result CheckBurst(const char* what, const std::optional<BurstBlock>& block, std::string* name) {
    if (!block) {
        return Refused(what, "short request");
    }
    *name = NameOf(block->fileName);
    if (!IsPlainFileName(*name)) {
        return Refused(what, "bad file name \"" + *name + "\"");
    }
    char text[96];
    if (KindOf(block->addr) != AddressKind::Fpga) {
        std::snprintf(text, sizeof text, "address 0x%08x is not an FPGA register", block->addr);
        return Refused(what, text);
    }
    if (block->length > kBurstBufferSize) {
        std::snprintf(text, sizeof text, "length %u above %u bytes", block->length,
                      kBurstBufferSize);
        return Refused(what, text);
    }
    return Result::Ok();
}

// Opens the file by the naming rule. The remembered name moves only once the file is open, so
// a file that could not be opened does not turn the next request into an append.
std::FILE* OpenBurstFile(CommandContext& c, const std::string& name, bool forWriting,
                         Result* failure) {
    SharedState& s = c.state;
    const bool sameFile = s.g_isBurstFileUsed != 0 && NameOf(s.g_BurstFileName) == name;
    const char* mode = forWriting ? (sameFile ? "ab" : "wb") : "rb";
    const std::string path = c.burstDirectory.empty() ? name : c.burstDirectory + "/" + name;
    // A FIFO under the name would hold the command thread, and every request behind it.
    const RegularFile opened = OpenRegularFile(path, mode);
    std::FILE* file = opened.file;
    if (file == nullptr) {
        const std::string why = RegularFileProblem(opened);
        WriteLog("Burst file %s cannot be opened (%s): %s\n", name.c_str(), mode, why.c_str());
        *failure =
            Result::Fail(ResultCode::BadInput, "burst file " + name + " cannot be opened: " + why);
        return nullptr;
    }
    std::memset(s.g_BurstFileName, 0, kNameField);
    std::memcpy(s.g_BurstFileName, name.data(), name.size());
    s.g_isBurstFileUsed = 1;
    return file;
}

}  // namespace

void ServeBurstRead(CommandContext& c) {
    const auto block = c.Block<BurstBlock>();
    std::string name;
    if (Result r = CheckBurst("BurstRead", block, &name); !r) {
        c.result = r;
        return;
    }
    uint8_t buffer[kBurstBufferSize];
    if (Result r = RegisterRead(c.device, block->addr, static_cast<int32_t>(block->length), buffer,
                                sizeof buffer);
        !r) {
        c.result = r;
        return;
    }
    std::FILE* file = OpenBurstFile(c, name, true, &c.result);
    if (file == nullptr) {
        return;
    }
    const size_t written = std::fwrite(buffer, 1, block->length, file);
    const bool closed = std::fclose(file) == 0;
    if (written == block->length && closed) {
        c.Signal(c.state.g_RegAccessDoneEvent);
    } else {
        WriteLog("BurstRead: writing %s failed\n", name.c_str());
        c.result = Result::Fail(ResultCode::IoError, "writing burst file " + name + " failed");
    }
}

// A burst write always sends the file's first `length` bytes, also when it names the file of
// the previous burst request: appending has no meaning for a file that is read, and data from
// wherever an earlier request stopped would depend on the history of the script.
void ServeBurstWrite(CommandContext& c) {
    const auto block = c.Block<BurstBlock>();
    std::string name;
    if (Result r = CheckBurst("BurstWrite", block, &name); !r) {
        c.result = r;
        return;
    }
    std::FILE* file = OpenBurstFile(c, name, false, &c.result);
    if (file == nullptr) {
        return;
    }
    uint8_t buffer[kBurstBufferSize];
    const size_t got = std::fread(buffer, 1, block->length, file);
    std::fclose(file);
    if (got != block->length) {
        // Sending a short file would write stale buffer bytes to the registers.
        WriteLog("BurstWrite: %s holds %zu of %u bytes\n", name.c_str(), got, block->length);
        c.result = Result::Fail(ResultCode::BadInput, "burst file " + name + " holds " +
                                                          std::to_string(got) + " of " +
                                                          std::to_string(block->length) + " bytes");
        return;
    }
    c.result = RegisterWrite(c.device, block->addr, static_cast<int32_t>(block->length), buffer,
                             sizeof buffer);
    if (c.result) {
        c.Signal(c.state.g_RegAccessDoneEvent);
    }
}

}  // namespace tavlin::command
