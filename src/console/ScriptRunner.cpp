#include "console/ScriptRunner.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "base/StringTable.h"
#include "console/DeviceCheck.h"
#include "console/PreviewStopper.h"
#include "console/ScriptParser.h"
#include "device/CommandThread.h"
#include "device/Requests.h"

namespace tavlin {

void ScriptRunner::Start(const std::string& path) {
    if (!CheckDevicePresent(state_, view_)) {
        return;
    }
    if (path.empty()) {
        view_.AppendOutputText("Please Open The .ini Document First!\n");
        return;
    }
    if (slot_.Running()) {
        // The running script keeps its burst file: clearing the flag now would make its next
        // "brd" start that file afresh and lose what it already holds.
        view_.AppendOutputText("is running,waiting....\n");
        return;
    }
    state_.g_isBurstFileUsed = 0;
    slot_.Start(this, [this, path] { Run(path); });
}

void ScriptRunner::Run(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        view_.AppendOutputText("Script Open Fail!");
        return;
    }
    ScriptParser parser(file);
    bool completed = true;
    while (state_.g_bDevExist != 0 && !slot_.StopRequested()) {
        ScriptCommand command;
        const ScriptParser::Step step = parser.Next(&command);
        if (step == ScriptParser::Step::BadOperand) {
            view_.AppendOutputText(parser.error());
            completed = false;
            break;
        }
        if (step == ScriptParser::Step::Command && !Execute(command)) {
            completed = false;
            break;
        }
        if (step == ScriptParser::Step::End || parser.AtEnd()) {
            break;
        }
    }
    state_.g_ScriptRequestEvent.Reset();
    if (completed) {
        view_.AppendOutputText("Success!\n");
        view_.PostCmdDone();
    }
}

bool ScriptRunner::Request(uint32_t message, const void* block, size_t size, uint32_t timeoutMs,
                           const char* failure) {
    state_.g_ScriptRequestEvent.Set();
    const RequestHandle request = PostRequest(state_, message, block, size);
    const uint32_t result = WaitRequest(request, state_.g_RegAccessDoneEvent, timeoutMs);
    state_.g_ScriptRequestEvent.Reset();
    if (result != WAIT_OBJECT_0) {
        view_.AppendOutputText(failure);
        return false;
    }
    return true;
}

void ScriptRunner::Delay(int32_t ms) {
    const int32_t taken = std::clamp<int32_t>(ms, 0, kMaxDelayMs);
    char line[64];
    std::snprintf(line, sizeof line, "delay %d ms\n", taken);
    view_.AppendOutputText(line);
    view_.PostCmdDone();
    slot_.WaitForStop(static_cast<uint32_t>(taken));
}

bool ScriptRunner::Execute(const ScriptCommand& c) {
    using Kind = ScriptCommand::Kind;
    switch (c.kind) {
        case Kind::PortRead: {
            const RegReadBlock block{c.address, c.count};
            return Request(WM_FPGA_PORT_READ, &block, sizeof block, kRequestTimeoutMs,
                           "PortRead timeout exit, please try again!!\n");
        }
        case Kind::PortWrite: {
            const RegWriteBlock block{c.address, c.count, c.data};
            return Request(WM_FPGA_PORT_WRITE, &block, sizeof block, kRequestTimeoutMs,
                           "PortWrite timeout exit, please try again!!\n");
        }
        case Kind::SingleRead: {
            const SingleReadBlock block{c.address};
            return Request(WM_FPGA_SINGLE_READ, &block, sizeof block, kRequestTimeoutMs,
                           "SingleRead timeout exit, please try again!!\n");
        }
        case Kind::BurstRead:
        case Kind::BurstWrite: {
            BurstBlock block{c.address, c.count, {}};
            std::memcpy(block.fileName, c.fileName.data(),
                        std::min(c.fileName.size(), sizeof block.fileName - 1));
            const bool read = c.kind == Kind::BurstRead;
            return Request(read ? WM_BURST_READ : WM_BURST_WRITE, &block, sizeof block,
                           kRequestTimeoutMs,
                           read ? "BurstRead timeout exit, please try again!!\n"
                                : "BurstWrite timeout exit, please try again!!\n");
        }
        case Kind::Delay:
            Delay(c.delayMs);
            return true;
        case Kind::I2cWrite: {
            if (!StopPreviewWorker(state_, view_)) {
                view_.AppendOutputText("I2CWriteReg failed!\n");
                return false;
            }
            const RegWriteBlock block{c.address, c.count, c.data};
            return Request(WM_I2C_WRITE, &block, sizeof block, kRequestTimeoutMs,
                           "I2CWriteReg failed!\n");
        }
        case Kind::I2cRead: {
            const RegReadBlock block{c.address, c.count};
            return Request(WM_I2C_READ, &block, sizeof block, INFINITE, "I2CReadReg failed!\n");
        }
    }
    return false;
}

}  // namespace tavlin
