#pragma once
// Internal to the command thread: what one request handler works with.
#include <cstdarg>
#include <cstring>
#include <optional>
#include <string>

#include "device/HidDevice.h"
#include "device/RequestRecord.h"
#include "device/Requests.h"
#include "device/SharedState.h"
#include "platform/MessageQueue.h"

namespace tavlin {

class CommandThreadHost;

namespace command {

// The size of the output pane's line buffer: a pane line is cut to 63 characters.
inline constexpr size_t kPaneLineSize = 64;

struct CommandContext {
    SharedState& state;
    HidDevice& device;
    CommandThreadHost& host;
    const ThreadMessage& message;
    const std::string& burstDirectory;
    // Whether the handler signalled the request's completion event for this very message; it
    // goes into the poster's receipt so a stale signal is never taken for this one.
    bool signalled = false;
    // The request's outcome, handed to its poster with the receipt.
    Result result;

    // True when the poster still waits for this request: only then may the handler write the
    // shared result variables. Call it once every transfer is done, just before publishing.
    bool Publish() { return !message.receipt || message.receipt->ClaimForPublishing(); }

    // Signals the completion event, unless the poster has given the request up (a signal
    // nobody waits for would be taken for a later request's completion).
    void Signal(Event& event) {
        if (Publish()) {
            event.Set();
            signalled = true;
        }
    }

    // The usual end of a request: its outcome, its shared results (written only while the
    // poster still waits) and its completion event.
    template <class WriteResults>
    void Finish(Result outcome, Event& event, WriteResults writeResults) {
        result = std::move(outcome);
        if (Publish()) {
            writeResults();
        }
        Signal(event);
    }

    // Appends one output pane line, formatted into the pane's 64-byte buffer.
    __attribute__((format(printf, 2, 3))) void Pane(const char* format, ...);

    // The parameter block as T, or nothing when the poster sent fewer bytes than T holds: a
    // short block is a malformed request and is served as a failure, never read past its end.
    template <class T>
    std::optional<T> Block() const {
        if (message.block.size() < sizeof(T)) {
            return std::nullopt;
        }
        T value;
        std::memcpy(&value, message.block.data(), sizeof(T));
        return value;
    }
};

// The outcome of a request whose parameter block is shorter than its kind needs.
inline Result ShortBlock() {
    return Result::Fail(ResultCode::BadInput, "short request block");
}

inline const char* SensorName(uint32_t addr) {
    return IsSlave(addr) ? "Slave" : "Master";
}

// One handler per request. Each writes its results and signals its event itself.
void ServePortWrite(CommandContext& c);   // WM_FPGA_PORT_WRITE
void ServeI2cWrite(CommandContext& c);    // WM_I2C_WRITE
void ServePortRead(CommandContext& c);    // WM_FPGA_PORT_READ
void ServeSingleRead(CommandContext& c);  // WM_FPGA_SINGLE_READ
void ServeI2cRead(CommandContext& c);     // WM_I2C_READ
void ServeBurstRead(CommandContext& c);
void ServeBurstWrite(CommandContext& c);
void ServeCodePacket(CommandContext& c, bool secondArea);
void ServePreviewData(CommandContext& c);
void ServeSearchStartLine(CommandContext& c);
void ServeConfigStartLine(CommandContext& c);
void ServeSearchColumn(CommandContext& c);
void ServeOptimizeLine(CommandContext& c);
void ServeExposure(CommandContext& c);
void ServeCalInit(CommandContext& c);
void ServeCalPoint(CommandContext& c);
void ServeCalParam(CommandContext& c);
void ServeSwitchMode(CommandContext& c);
void ServeUpdateControl(CommandContext& c);
void ServeReadImageVersion(CommandContext& c);
void ServeAreaWrite(CommandContext& c, uint32_t area, Event& done);  // image version, info
void ServeReadVersionInfo(CommandContext& c);

}  // namespace command
}  // namespace tavlin
