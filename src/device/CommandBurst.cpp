// Burst transfers between a block of FPGA registers and a file of the working directory.
#include <cstdio>
#include <cstring>
#include <string>

#include "base/Log.h"
#include "device/CommandContext.h"
#include "device/DeviceProtocol.h"

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
bool CheckBurst(const char* what, const std::optional<BurstBlock>& block, std::string* name) {
    if (!block) {
        WriteLog("%s refused: short request\n", what);
        return false;
    }
    *name = NameOf(block->fileName);
    if (!IsPlainFileName(*name)) {
        WriteLog("%s refused: bad file name \"%s\"\n", what, name->c_str());
        return false;
    }
    if (KindOf(block->addr) != AddressKind::Fpga) {
        WriteLog("%s refused: address 0x%08x is not an FPGA register\n", what, block->addr);
        return false;
    }
    if (block->length > kBurstBufferSize) {
        WriteLog("%s refused: length %u above %u bytes\n", what, block->length, kBurstBufferSize);
        return false;
    }
    return true;
}

// Opens the file by the naming rule. The remembered name moves only once the file is open, so
// a file that could not be opened does not turn the next request into an append.
std::FILE* OpenBurstFile(CommandContext& c, const std::string& name, bool forWriting) {
    SharedState& s = c.state;
    const bool sameFile = s.g_isBurstFileUsed != 0 && NameOf(s.g_BurstFileName) == name;
    const char* mode = forWriting ? (sameFile ? "ab" : "wb") : "rb";
    const std::string path = c.burstDirectory.empty() ? name : c.burstDirectory + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), mode);
    if (file == nullptr) {
        WriteLog("Burst file %s cannot be opened (%s)\n", name.c_str(), mode);
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
    if (!CheckBurst("BurstRead", block, &name)) {
        return;
    }
    uint8_t buffer[kBurstBufferSize];
    if (!RegisterRead(c.device, block->addr, static_cast<int32_t>(block->length), buffer,
                      sizeof buffer)) {
        return;
    }
    std::FILE* file = OpenBurstFile(c, name, true);
    if (file == nullptr) {
        return;
    }
    const size_t written = std::fwrite(buffer, 1, block->length, file);
    const bool closed = std::fclose(file) == 0;
    if (written == block->length && closed) {
        c.Signal(c.state.g_RegAccessDoneEvent);
    } else {
        WriteLog("BurstRead: writing %s failed\n", name.c_str());
    }
}

// A burst write always sends the file's first `length` bytes, also when it names the file of
// the previous burst request: appending has no meaning for a file that is read, and data from
// wherever an earlier request stopped would depend on the history of the script.
void ServeBurstWrite(CommandContext& c) {
    const auto block = c.Block<BurstBlock>();
    std::string name;
    if (!CheckBurst("BurstWrite", block, &name)) {
        return;
    }
    std::FILE* file = OpenBurstFile(c, name, false);
    if (file == nullptr) {
        return;
    }
    uint8_t buffer[kBurstBufferSize];
    const size_t got = std::fread(buffer, 1, block->length, file);
    std::fclose(file);
    if (got != block->length) {
        // Sending a short file would write stale buffer bytes to the registers.
        WriteLog("BurstWrite: %s holds %zu of %u bytes\n", name.c_str(), got, block->length);
        return;
    }
    if (RegisterWrite(c.device, block->addr, static_cast<int32_t>(block->length), buffer,
                      sizeof buffer)) {
        c.Signal(c.state.g_RegAccessDoneEvent);
    }
}

}  // namespace tavlin::command
