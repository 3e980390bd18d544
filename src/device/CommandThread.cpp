#include "device/CommandThread.h"

#include <cassert>
#include <cstdio>
#include <utility>

#include "base/Unexpected.h"
#include "device/CommandContext.h"

namespace tavlin {
namespace {

// The poster learns that its request is done with, and whether its event was signalled for
// it; a request that was never served (thread gone) is settled the same way, unsignalled.
void Settle(const ThreadMessage& message, bool signalled, Result result = Result::Ok()) {
    if (message.receipt) {
        message.receipt->result = std::move(result);
        message.receipt->signalled = signalled;
        message.receipt->handled.Set();
    }
}

// The preview data and the line optimisation come many times a second from the preview
// worker; the window is not asked to refresh for them.
bool RefreshesWindow(uint32_t id) {
    return id != WM_GET_PREVIEW_DATA && id != WM_OPTIMIZE_LINE;
}

void Dispatch(command::CommandContext& c) {
    using namespace command;
    SharedState& s = c.state;
    switch (c.message.id) {
        case WM_FPGA_PORT_WRITE:
            return ServePortWrite(c);
        case WM_FPGA_PORT_READ:
            return ServePortRead(c);
        case WM_FPGA_SINGLE_READ:
            return ServeSingleRead(c);
        case WM_I2C_WRITE:
            return ServeI2cWrite(c);
        case WM_I2C_READ:
            return ServeI2cRead(c);
        case WM_SWITCH_MODE:
            return ServeSwitchMode(c);
        case WM_BURST_READ:
            return ServeBurstRead(c);
        case WM_BURST_WRITE:
            return ServeBurstWrite(c);
        case WM_CODE_PACKET:
            return ServeCodePacket(c, false);
        case WM_CODE_PACKET_2:
            return ServeCodePacket(c, true);
        case WM_GET_PREVIEW_DATA:
            return ServePreviewData(c);
        case WM_SEARCH_START_LINE:
            return ServeSearchStartLine(c);
        case WM_CONFIG_START_LINE:
            return ServeConfigStartLine(c);
        case WM_SEARCH_COLUMN:
            return ServeSearchColumn(c);
        case WM_OPTIMIZE_LINE:
            return ServeOptimizeLine(c);
        case WM_EXPOSURE:
            return ServeExposure(c);
        case WM_CAL_INIT:
            return ServeCalInit(c);
        case WM_CAL_POINT:
            return ServeCalPoint(c);
        case WM_CAL_PARAM:
            return ServeCalParam(c);
        case WM_UPDATE_CONTROL:
            return ServeUpdateControl(c);
        case WM_READ_IMAGE_VERSION:
            return ServeReadImageVersion(c);
        case WM_WRITE_IMAGE_VERSION:
            return ServeAreaWrite(c, kAreaImageVersion, s.g_WriteImageVersionEvent);
        case WM_READ_VERSION_INFO:
            return ServeReadVersionInfo(c);
        case WM_WRITE_VERSION_INFO:
            return ServeAreaWrite(c, kAreaVersionInfo, s.g_WriteVersionInfoEvent);
        default:
            return;  // unknown: nothing to do but the refresh
    }
}

}  // namespace

namespace command {

void CommandContext::Pane(const char* format, ...) {
    char line[kPaneLineSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    host.AppendOutputText(line);
}

}  // namespace command

CommandThread::CommandThread(SharedState& state, HidDevice& device, CommandThreadHost& host)
    : state_(state), device_(device), host_(host) {}

CommandThread::~CommandThread() {
    if (thread_.joinable()) {
        ThreadMessage exit;
        exit.id = WM_EXIT_CMD_THREAD;
        queue_->Post(std::move(exit));  // fails harmlessly when the thread is already ending
        thread_.join();
    }
}

void CommandThread::Start() {
    // The queue exists before anyone can find the thread, so no early post is lost.
    queue_->Open();
    state_.SetCommandQueue(queue_);
    state_.g_CmdThread = this;
    thread_ = std::thread([this] { RunGuarded([this] { Run(); }); });
}

void CommandThread::Join() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

void CommandThread::Run() {
    for (;;) {
        ThreadMessage message;
        if (!queue_->Get(message)) {
            Settle(message, false);  // a quit does not end this thread
            continue;
        }
        if (message.id == WM_EXIT_CMD_THREAD) {
            CommandThread* self = this;
            state_.g_CmdThread.compare_exchange_strong(self, nullptr);
            // Later posts fail from here on; whatever is still queued will never be served.
            for (const ThreadMessage& left : queue_->Close()) {
                Settle(left, false);
            }
            state_.g_CmdThreadExitEvent.Set();
            Settle(message, true);
            return;
        }
        Serve(message);
    }
}

void CommandThread::Serve(const ThreadMessage& message) {
    command::CommandContext context{state_, device_, host_, message, burstDirectory_, false, {}};
    Dispatch(context);
    if (RefreshesWindow(message.id)) {
        host_.PostCmdDone();
    }
    // Last, so a poster that sees its request handled also sees everything it caused.
    Settle(message, context.signalled, std::move(context.result));
}

namespace {

RequestHandle Post(SharedState& state, uint32_t message, const RequestMeaning& meaning,
                   const void* block, size_t blockSize, uint32_t lParam) {
    const std::shared_ptr<MessageQueue> queue = state.CommandQueue();
    if (queue == nullptr) {
        return nullptr;
    }
    ThreadMessage posted;
    posted.id = message;
    if (block != nullptr && blockSize > 0) {
        const auto* bytes = static_cast<const uint8_t*>(block);
        posted.block.assign(bytes, bytes + blockSize);
    }
    posted.lParam = lParam;
    posted.meaning = meaning;
    posted.receipt = std::make_shared<RequestRecord>();
    RequestHandle receipt = posted.receipt;
    if (!queue->Post(std::move(posted))) {
        return nullptr;
    }
    return receipt;
}

}  // namespace

bool NeedsMeaning(uint32_t message) {
    switch (message) {
        case WM_CODE_PACKET:
        case WM_CODE_PACKET_2:
        case WM_CONFIG_START_LINE:
        case WM_SEARCH_COLUMN:
        case WM_READ_IMAGE_VERSION:
        case WM_WRITE_IMAGE_VERSION:
        case WM_READ_VERSION_INFO:
        case WM_WRITE_VERSION_INFO:
            return true;
        default:
            return false;
    }
}

RequestHandle PostRequest(SharedState& state, uint32_t message, const RequestMeaning& meaning,
                          const void* block, size_t blockSize, uint32_t lParam) {
    return Post(state, message, meaning, block, blockSize, lParam);
}

RequestHandle PostRequest(SharedState& state, uint32_t message, const void* block, size_t blockSize,
                          uint32_t lParam) {
    assert(!NeedsMeaning(message) && "this request's poster must say what it means");
    return Post(state, message, RequestMeaning{}, block, blockSize, lParam);
}

RequestHandle PostScriptRequest(SharedState& state, uint32_t message, const void* block,
                                size_t blockSize) {
    RequestMeaning meaning;
    meaning.forScript = true;
    return Post(state, message, meaning, block, blockSize, 0);
}

uint32_t WaitRequest(const RequestHandle& request, Event& event, uint32_t timeoutMs) {
    if (!request) {
        return WAIT_FAILED;
    }
    if (request->handled.Wait(timeoutMs) != WAIT_OBJECT_0) {
        if (request->GiveUp()) {
            return WAIT_TIMEOUT;
        }
        // Served just as the limit ran out: its results are being published (no transfer is
        // left to make), so the record is settled in a moment.
        request->handled.Wait(INFINITE);
    }
    if (!request->signalled) {
        return WAIT_TIMEOUT;
    }
    // The event was set for this request before it was marked handled; take that signal so
    // the next poster of this kind does not find it.
    event.Wait(0);
    return WAIT_OBJECT_0;
}

}  // namespace tavlin

namespace tavlin {

Result RequestOutcome(const RequestHandle& request, uint32_t waitCode) {
    if (!request) {
        return Result::Fail(ResultCode::NoDevice, "no command thread to serve the request");
    }
    if (waitCode == WAIT_OBJECT_0) {
        return request->result;
    }
    if (request->handled.IsSignalled() && !request->result.ok()) {
        return request->result;
    }
    if (request->handled.IsSignalled()) {
        return Result::Fail(ResultCode::Failed, "the request ended without completing");
    }
    return Result::Fail(ResultCode::Timeout, "no answer within the time limit");
}

}  // namespace tavlin
