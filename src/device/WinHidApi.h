#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "device/DeviceChangeWatch.h"

namespace tavlin {

// The Win32 calls behind WinHidTransport, one function per call or fixed sequence of calls, so
// the transport's enumeration and I/O logic can be checked against a stand-in. Handles and
// transfer blocks are opaque here; only WinHidSystemApi.cpp includes <windows.h>.
using WinHandle = void*;
struct WinIoBlock;  // an OVERLAPPED with its own manual-reset event

struct WinHidCaps {
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    uint16_t inputReportLength = 0;   // report id included
    uint16_t outputReportLength = 0;  // report id included
    // The report ids of the input values on the vendor usage page (0xFF00) in this interface's
    // data; empty when there are none or they could not be read.
    std::vector<uint8_t> vendorInputReportIds{};
};

class WinHidApi {
  public:
    virtual ~WinHidApi() = default;

    // The device paths of the HID interface class (SetupDiGetClassDevs with DIGCF_PRESENT |
    // DIGCF_DEVICEINTERFACE, then SetupDiEnumDeviceInterfaces / ...GetDeviceInterfaceDetail).
    virtual std::vector<std::string> InterfacePaths() = 0;
    // CreateFile. `forTransfers`: read and write access with FILE_FLAG_OVERLAPPED; otherwise no
    // access at all (enough for attributes and capabilities, and granted for devices the system
    // keeps to itself such as keyboards). nullptr on failure, *error = GetLastError().
    virtual WinHandle Open(const std::string& path, bool forTransfers, uint32_t* error) = 0;
    virtual void Close(WinHandle handle) = 0;
    // HidD_GetAttributes.
    virtual bool Attributes(WinHandle handle, uint16_t* vendorId, uint16_t* productId) = 0;
    // HidD_GetPreparsedData, HidP_GetCaps, HidP_GetSpecificValueCaps, HidD_FreePreparsedData.
    virtual bool Capabilities(WinHandle handle, WinHidCaps* caps) = 0;
    // HidD_FlushQueue: drops the input reports the system has queued for this handle.
    virtual void FlushInput(WinHandle handle) = 0;
    // The location paths (DEVPKEY_Device_LocationPaths) of the device behind the interface, or
    // of the nearest of its parents that has them (the USB device, or a composite device's USB
    // interface), a few levels up at most; empty when none says where it is.
    virtual std::vector<std::string> LocationPaths(const std::string& interfacePath) = 0;

    virtual WinIoBlock* NewIoBlock() = 0;  // nullptr when no event could be made
    virtual void DeleteIoBlock(WinIoBlock* block) = 0;
    // WriteFile / ReadFile on the block (its event reset first). 0 when the transfer completed at
    // once, and then *bytes its byte count; otherwise GetLastError() (997 while it is pending).
    virtual uint32_t StartWrite(WinHandle handle, WinIoBlock* block, const uint8_t* data,
                                size_t length, uint32_t* bytes) = 0;
    virtual uint32_t StartRead(WinHandle handle, WinIoBlock* block, uint8_t* data, size_t length,
                               uint32_t* bytes) = 0;
    // WaitForSingleObject on the block's event: 0, 258 (time-out) or 0xFFFFFFFF (failed).
    virtual uint32_t Wait(WinIoBlock* block, uint32_t timeoutMs) = 0;
    // GetOverlappedResult without waiting, for a transfer whose event is signalled: 0 and the
    // byte count when it succeeded, otherwise GetLastError().
    virtual uint32_t Outcome(WinHandle handle, WinIoBlock* block, uint32_t* bytes) = 0;
    // CancelIoEx for the block, then GetOverlappedResult with waiting: when this returns the
    // system no longer touches the block or the buffer.
    virtual void CancelAndReap(WinHandle handle, WinIoBlock* block) = 0;
    virtual uint32_t LastError() = 0;  // GetLastError()
    // The system's device notices (see DeviceChangeWatch.h); nullptr where there are none.
    virtual std::unique_ptr<DeviceChangeWatch> WatchDeviceChanges(std::function<void()> onChange) {
        static_cast<void>(onChange);
        return nullptr;
    }
};

}  // namespace tavlin
