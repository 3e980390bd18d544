#pragma once
// A stand-in for the Win32 HID calls: a list of interfaces, and a script of how each overlapped
// transfer goes. It keeps track of open handles and of transfers the system would still own.
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "device/WinHidApi.h"

namespace tavlin::testing {

// The fake's transfer block; the transport sees it only as an opaque WinIoBlock*.
struct FakeIoBlock {
    bool pending = false;
    uint8_t* readBuffer = nullptr;
};

inline FakeIoBlock* Fake(WinIoBlock* block) {
    return reinterpret_cast<FakeIoBlock*>(block);
}

struct FakeWinInterface {
    std::string path;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    WinHidCaps caps{0, 0, 64, 64};
    uint32_t openError = 0;  // CreateFile fails with this code when not 0
    // CreateFile for reading and writing fails with this code when not 0; the open that only
    // queries the attributes still works, as for a collection the user has no rights on.
    uint32_t transferOpenError = 0;
    // How many more listings show it (-1: all): a pulled device leaves the list, perhaps a
    // moment after its transfers failed.
    int listedFor = -1;
    // What the system tells of where the device is plugged (see WinHidApi::LocationPaths).
    std::vector<std::string> locationPaths{};
};

// How one transfer goes: the code WriteFile/ReadFile leaves (0 = done at once, 997 = pending),
// then for a pending one the wait's result and GetOverlappedResult's code.
struct FakeWinIo {
    uint32_t start = 997;
    uint32_t wait = 0;
    uint32_t outcome = 0;
    std::vector<uint8_t> reply;  // what a read delivers
    // The byte count the transfer reports; -1: a write's whole length, a read's reply.
    int64_t bytes = -1;
};

class FakeWinHidApi : public WinHidApi {
  public:
    std::vector<FakeWinInterface> interfaces;
    std::deque<FakeWinIo> script;              // consumed by StartWrite/StartRead in order
    std::vector<std::vector<uint8_t>> writes;  // every output report as handed to WriteFile
    std::vector<size_t> readLengths;           // every ReadFile's buffer size
    std::vector<uint32_t> waits;               // every wait's time-out
    std::set<std::string> gone;                // paths whose device was pulled
    int cancels = 0;
    int flushes = 0;
    int capabilityQueries = 0;
    int locationQueries = 0;
    int listings = 0;
    uint32_t lastError = 0;

    int openHandles() const {
        std::lock_guard lock(mutex_);
        return static_cast<int>(handles_.size());
    }
    int transferHandlesOpened() const { return transferOpens_; }

    std::vector<std::string> InterfacePaths() override {
        std::vector<std::string> paths;
        for (auto& i : interfaces) {
            if (i.listedFor != 0) {
                paths.push_back(i.path);
                i.listedFor -= i.listedFor > 0 ? 1 : 0;
            }
        }
        ++listings;
        return paths;
    }

    WinHandle Open(const std::string& path, bool forTransfers, uint32_t* error) override {
        const FakeWinInterface* i = Find(path);
        if (i == nullptr || i->openError != 0) {
            *error = i == nullptr ? 2 : i->openError;
            return nullptr;
        }
        if (forTransfers && i->transferOpenError != 0) {
            *error = i->transferOpenError;
            return nullptr;
        }
        std::lock_guard lock(mutex_);
        WinHandle h = reinterpret_cast<WinHandle>(static_cast<uintptr_t>(++next_));
        handles_[h] = path;
        transferOpens_ += forTransfers ? 1 : 0;
        return h;
    }

    void Close(WinHandle handle) override {
        std::lock_guard lock(mutex_);
        handles_.erase(handle);
    }

    bool Attributes(WinHandle handle, uint16_t* vendorId, uint16_t* productId) override {
        const FakeWinInterface* i = Find(PathOf(handle));
        if (i == nullptr || gone.count(i->path) != 0) {
            return false;
        }
        *vendorId = i->vendorId;
        *productId = i->productId;
        return true;
    }

    bool Capabilities(WinHandle handle, WinHidCaps* caps) override {
        ++capabilityQueries;
        const FakeWinInterface* i = Find(PathOf(handle));
        if (i == nullptr) {
            return false;
        }
        *caps = i->caps;
        return true;
    }

    void FlushInput(WinHandle) override { ++flushes; }

    std::vector<std::string> LocationPaths(const std::string& interfacePath) override {
        ++locationQueries;
        const FakeWinInterface* i = Find(interfacePath);
        return i == nullptr ? std::vector<std::string>() : i->locationPaths;
    }

    WinIoBlock* NewIoBlock() override { return reinterpret_cast<WinIoBlock*>(new FakeIoBlock); }
    void DeleteIoBlock(WinIoBlock* block) override {
        leakedTransfers_ += Fake(block)->pending ? 1 : 0;
        delete Fake(block);
    }

    uint32_t StartWrite(WinHandle, WinIoBlock* block, const uint8_t* data, size_t length,
                        uint32_t* bytes) override {
        writes.emplace_back(data, data + length);
        currentBytes_ = static_cast<uint32_t>(length);
        return Start(Fake(block), nullptr, bytes);
    }

    uint32_t StartRead(WinHandle, WinIoBlock* block, uint8_t* data, size_t length,
                       uint32_t* bytes) override {
        readLengths.push_back(length);
        return Start(Fake(block), data, bytes);
    }

    uint32_t Wait(WinIoBlock*, uint32_t timeoutMs) override {
        waits.push_back(timeoutMs);
        if (current_.wait == 0xFFFFFFFFu) {
            lastError = 6;
        }
        return current_.wait;
    }

    uint32_t Outcome(WinHandle, WinIoBlock* block, uint32_t* bytes) override {
        Complete(Fake(block));
        *bytes = currentBytes_;
        return current_.outcome;
    }

    void CancelAndReap(WinHandle, WinIoBlock* block) override {
        ++cancels;
        Fake(block)->pending = false;  // cancelled: no late reply lands
        Fake(block)->readBuffer = nullptr;
    }

    uint32_t LastError() override { return lastError; }

    // Transfers that were started and never completed or reaped: the system would still write
    // into their buffers.
    int unreapedTransfers() const { return unreaped_ + leakedTransfers_; }

  private:
    uint32_t Start(FakeIoBlock* block, uint8_t* readBuffer, uint32_t* bytes) {
        if (block->pending) {
            ++unreaped_;  // a block reused while the system still owns it
        }
        current_ = script.empty() ? FakeWinIo{0, 0, 0, {}} : script.front();
        if (!script.empty()) {
            script.pop_front();
        }
        if (readBuffer != nullptr) {
            currentBytes_ = static_cast<uint32_t>(current_.reply.size());
        }
        if (current_.bytes >= 0) {
            currentBytes_ = static_cast<uint32_t>(current_.bytes);
        }
        block->readBuffer = readBuffer;
        if (current_.start == 0) {
            Complete(block);
            *bytes = currentBytes_;
            return 0;
        }
        block->pending = current_.start == 997;
        return current_.start;
    }

    void Complete(FakeIoBlock* block) {
        if (block->readBuffer != nullptr && current_.outcome == 0) {
            std::memcpy(block->readBuffer, current_.reply.data(), current_.reply.size());
        }
        block->pending = false;
        block->readBuffer = nullptr;
    }

    const FakeWinInterface* Find(const std::string& path) const {
        for (const auto& i : interfaces) {
            if (i.path == path) {
                return &i;
            }
        }
        return nullptr;
    }

    std::string PathOf(WinHandle h) const {
        std::lock_guard lock(mutex_);
        auto it = handles_.find(h);
        return it == handles_.end() ? std::string() : it->second;
    }

    mutable std::mutex mutex_;
    std::map<WinHandle, std::string> handles_;
    uintptr_t next_ = 0;
    int transferOpens_ = 0;
    int unreaped_ = 0;
    int leakedTransfers_ = 0;
    FakeWinIo current_;
    uint32_t currentBytes_ = 0;
};

}  // namespace tavlin::testing
