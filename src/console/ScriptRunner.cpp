#include "console/ScriptRunner.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <sstream>

#include "base/Log.h"
#include "base/StringTable.h"
#include "console/DeviceCheck.h"
#include "console/PreviewStopper.h"
#include "console/ScriptParser.h"
#include "console/ScriptTexts.h"
#include "device/CommandThread.h"
#include "device/Requests.h"
#include "platform/RegularFile.h"

namespace tavlin {
namespace {

// "line 3" or "lines 3, 7".
std::string NameLines(const std::set<int>& lines) {
    std::string text = lines.size() == 1 ? "line " : "lines ";
    const char* separator = "";
    for (const int line : lines) {
        text += separator + std::to_string(line);
        separator = ", ";
    }
    return text;
}

}  // namespace

Result ScriptRunner::Start(const std::string& path) {
    if (!CheckDevicePresent(state_, view_)) {
        return Result::Fail(ResultCode::NoDevice, "no device");
    }
    if (path.empty()) {
        view_.AppendOutputText("Please Open The .ini Document First!\n");
        return Result::Fail(ResultCode::BadInput, "no script chosen");
    }
    if (slot_.Running()) {
        // The running script keeps its burst file: clearing the flag now would make its next
        // "brd" start that file afresh and lose what it already holds.
        view_.AppendOutputText("is running,waiting....\n");
        return Result::Fail(ResultCode::Busy, "a script is running");
    }
    state_.g_isBurstFileUsed = 0;
    slot_.Start(this, [this, path] { outcome_ = Run(path); });
    return Result::Ok();
}

Result ScriptRunner::Run(const std::string& path) {
    firstFailure_ = Result::Ok();
    deviceGone_ = false;
    warnedLines_.clear();
    // Read whole before the first line runs: a folder would read as an empty script and a FIFO
    // would hold the run until somebody writes to it, both are refused.
    RegularFile refused;
    const std::optional<std::string> text = ReadRegularFile(path, &refused);
    if (!text) {
        view_.AppendOutputText("Script Open Fail!");
        const std::string why = RegularFileProblem(refused);
        WriteLog("Script %s cannot be read: %s\n", path.c_str(), why.c_str());
        return Result::Fail(ResultCode::BadInput, "script " + path + " cannot be read: " + why);
    }
    std::istringstream file(*text);
    if (checkFirst_) {
        if (const Result checked = Check(file); !checked) {
            return checked;
        }
        file.clear();
        file.seekg(0);
    }
    ScriptParser parser(file);
    bool completed = true;
    while (state_.g_bDevExist != 0 && !slot_.StopRequested()) {
        ScriptCommand command;
        const ScriptParser::Step step = parser.Next(&command);
        Show(parser.warnings());
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
    if (slot_.StopRequested()) {
        return Result::Fail(ResultCode::Stopped, "the script was stopped");
    }
    if (state_.g_bDevExist == 0 || deviceGone_) {
        view_.AppendOutputText(LoadString(IDS_NO_DEVICE));
        return Result::Fail(ResultCode::DeviceGone, "the device went away during the script");
    }
    if (!completed) {
        return firstFailure_ ? Result::Fail(ResultCode::Failed, "the script stopped")
                             : firstFailure_;
    }
    view_.AppendOutputText("Success!\n");
    view_.PostCmdDone();
    if (firstFailure_ && !warnedLines_.empty()) {
        return Result::Fail(ResultCode::BadInput,
                            "script " + NameLines(warnedLines_) + " not read as written");
    }
    return firstFailure_;
}

Result ScriptRunner::Check(std::istream& file) {
    ScriptParser parser(file);
    std::set<int> lines;
    bool runnable = true;
    for (;;) {
        ScriptCommand command;
        const ScriptParser::Step step = parser.Next(&command);
        Show(parser.warnings());
        if (step == ScriptParser::Step::BadOperand) {
            view_.AppendOutputText(parser.error());
            lines.insert(parser.errorLine());
            runnable = false;
            break;
        }
        if (step == ScriptParser::Step::End || parser.AtEnd()) {
            break;
        }
    }
    lines.insert(warnedLines_.begin(), warnedLines_.end());
    if (lines.empty()) {
        return Result::Ok();
    }
    view_.AppendOutputText(Tr(scripttext::kNotRun));
    const std::string reason =
        "script " + NameLines(lines) +
        (runnable ? " not read as written" : " not read as written or unusable") +
        "; nothing was sent";
    WriteLog("Script not run: %s\n", reason.c_str());
    return Result::Fail(ResultCode::BadInput, reason);
}

void ScriptRunner::Show(const std::vector<ScriptWarning>& warnings) {
    for (const ScriptWarning& w : warnings) {
        const char* logFormat = "Script line %d: unknown command '%s'\n";
        const char* paneFormat = scripttext::kUnknownCommand;
        if (w.kind == ScriptWarning::Kind::NotANumber) {
            logFormat = "Script line %d: operand '%s' is not a number\n";
            paneFormat = scripttext::kNotANumber;
        } else if (w.kind == ScriptWarning::Kind::Negative) {
            logFormat = "Script line %d: operand '%s' is negative\n";
            paneFormat = scripttext::kNegative;
        }
        WriteLog(logFormat, w.line, w.token.c_str());
        char line[256];
        std::snprintf(line, sizeof line, Tr(paneFormat).c_str(), w.line, w.token.c_str());
        view_.AppendOutputText(line);
        warnedLines_.insert(w.line);
    }
}

// `name` names the request in a line that gives a failure's cause instead of `failure`; without
// it `failure` is shown for every failure.
bool ScriptRunner::Request(uint32_t message, const void* block, size_t size, uint32_t timeoutMs,
                           const char* failure, const char* name) {
    state_.g_ScriptRequestEvent.Set();
    const RequestHandle request = PostScriptRequest(state_, message, block, size);
    const uint32_t waitCode = WaitRequest(request, state_.g_RegAccessDoneEvent, timeoutMs);
    state_.g_ScriptRequestEvent.Reset();
    const Result result = RequestOutcome(request, waitCode);
    deviceGone_ = deviceGone_ || result.code() == ResultCode::DeviceGone;
    if (waitCode != WAIT_OBJECT_0) {
        if (name != nullptr && result.code() == ResultCode::BadInput) {
            view_.AppendOutputText(std::string(name) + " failed: " + result.reason() + "\n");
        } else {
            view_.AppendOutputText(failure);
        }
        if (firstFailure_) {
            firstFailure_ = result;
        }
        return false;
    }
    if (!result && firstFailure_) {
        firstFailure_ = result;  // its pane line says "error"; the script goes on
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
                                : "BurstWrite timeout exit, please try again!!\n",
                           read ? "BurstRead" : "BurstWrite");
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
            return Request(WM_I2C_READ, &block, sizeof block, kRequestWaitLimitMs,
                           "I2CReadReg failed!\n");
        }
    }
    return false;
}

}  // namespace tavlin
