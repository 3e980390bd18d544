#include "device/SharedState.h"

#include <cstring>
#include <new>

namespace tavlin {

SharedState::SharedState() = default;
SharedState::~SharedState() = default;

std::shared_ptr<MessageQueue> SharedState::CommandQueue() const {
    std::lock_guard lock(commandQueueMutex_);
    return commandQueue_;
}

void SharedState::SetCommandQueue(std::shared_ptr<MessageQueue> queue) {
    std::lock_guard lock(commandQueueMutex_);
    commandQueue_ = std::move(queue);
}

bool SharedState::AllocatePreviewBuffers() {
    previewM_.reset(new (std::nothrow) uint8_t[kPreviewBufferSize]);
    if (!previewM_) {
        return false;
    }
    std::memset(previewM_.get(), 0, kPreviewBufferSize);
    g_PreviewBufM = previewM_.get();
    previewS_.reset(new (std::nothrow) uint8_t[kPreviewBufferSize]);
    if (!previewS_) {
        return false;
    }
    std::memset(previewS_.get(), 0, kPreviewBufferSize);
    g_PreviewBufS = previewS_.get();
    return true;
}

void SharedState::ReleasePreviewBuffers() {
    g_PreviewBufM = nullptr;
    g_PreviewBufS = nullptr;
    previewM_.reset();
    previewS_.reset();
}

}  // namespace tavlin
