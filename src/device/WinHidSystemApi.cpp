// The Win32 side of WinHidTransport: SetupDi for the interface list, HidD/HidP for attributes and
// capabilities, overlapped files for the reports.
// Our headers before windows.h: its macros (WAIT_TIMEOUT, INFINITE, ...) would rename our
// constants of the same names.
#include "device/SystemTransport.h"
#include "device/WinHidTransport.h"

// The HID headers need the types of windows.h first, and mingw-w64's declare their functions
// without C linkage; hidsdi.h brings hidpi.h in the order it needs.
// clang-format off
#include <windows.h>
extern "C" {
#include <hidsdi.h>
}
#include <setupapi.h>
// clang-format on

#include <cstring>
#include <memory>
#include <vector>

struct tavlin::WinIoBlock {
    OVERLAPPED overlapped{};
};

namespace tavlin {
namespace {

std::wstring Widen(const std::string& utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring wide(n > 0 ? n : 1, L'\0');
    if (n > 0) {
        MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), n);
    }
    wide.resize(wcslen(wide.c_str()));
    return wide;
}

std::string Narrow(const wchar_t* wide) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(n > 0 ? n : 1, '\0');
    if (n > 0) {
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), n, nullptr, nullptr);
    }
    utf8.resize(std::strlen(utf8.c_str()));
    return utf8;
}

class WinHidSystemApi final : public WinHidApi {
  public:
    std::vector<std::string> InterfacePaths() override {
        std::vector<std::string> paths;
        GUID hidGuid;
        HidD_GetHidGuid(&hidGuid);
        HDEVINFO set =
            SetupDiGetClassDevsW(&hidGuid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
        if (set == INVALID_HANDLE_VALUE) {
            return paths;
        }
        SP_DEVICE_INTERFACE_DATA data{};
        data.cbSize = sizeof data;
        for (DWORD index = 0; SetupDiEnumDeviceInterfaces(set, nullptr, &hidGuid, index, &data);
             ++index) {
            // One interface whose detail cannot be read does not hide the ones after it.
            if (std::string path; ReadInterfaceDetail(set, &data, &path, nullptr)) {
                paths.push_back(std::move(path));
            }
        }
        SetupDiDestroyDeviceInfoList(set);
        return paths;
    }

    WinHandle Open(const std::string& path, bool forTransfers, uint32_t* error) override {
        const DWORD access = forTransfers ? GENERIC_READ | GENERIC_WRITE : 0;
        const DWORD flags =
            forTransfers ? FILE_FLAG_OVERLAPPED | FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_NORMAL;
        HANDLE handle = CreateFileW(Widen(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, flags, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            *error = GetLastError();
            return nullptr;
        }
        *error = 0;
        return handle;
    }

    void Close(WinHandle handle) override { CloseHandle(handle); }

    bool Attributes(WinHandle handle, uint16_t* vendorId, uint16_t* productId) override {
        HIDD_ATTRIBUTES attributes{};
        attributes.Size = sizeof attributes;
        if (!HidD_GetAttributes(handle, &attributes)) {
            return false;
        }
        *vendorId = attributes.VendorID;
        *productId = attributes.ProductID;
        return true;
    }

    bool Capabilities(WinHandle handle, WinHidCaps* caps) override {
        PHIDP_PREPARSED_DATA preparsed = nullptr;
        if (!HidD_GetPreparsedData(handle, &preparsed)) {
            return false;
        }
        HIDP_CAPS hidCaps{};
        const bool ok = HidP_GetCaps(preparsed, &hidCaps) == HIDP_STATUS_SUCCESS;
        if (ok) {
            caps->usagePage = hidCaps.UsagePage;
            caps->usage = hidCaps.Usage;
            caps->inputReportLength = hidCaps.InputReportByteLength;
            caps->outputReportLength = hidCaps.OutputReportByteLength;
            caps->vendorInputReportIds = VendorInputReportIds(preparsed, hidCaps);
        }
        HidD_FreePreparsedData(preparsed);
        return ok;
    }

    void FlushInput(WinHandle handle) override { HidD_FlushQueue(handle); }

    std::vector<std::string> LocationPaths(const std::string& interfacePath) override {
        std::vector<std::string> paths;
        HDEVINFO set = SetupDiCreateDeviceInfoList(nullptr, nullptr);
        if (set == INVALID_HANDLE_VALUE) {
            return paths;
        }
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof device;
        if (OpenInterfaceDevice(set, interfacePath, &device)) {
            // The HID device itself has none; its parent is the USB device, or the USB
            // interface of a composite one, whose parent is the device. Wine 8 keeps neither
            // property (and does not open an interface by its path): no port there.
            for (int level = 0; level < kLocationLevels; ++level) {
                paths = StringProperty(set, &device, kLocationPathsKey);
                if (!paths.empty()) {
                    break;
                }
                const std::vector<std::string> parent = StringProperty(set, &device, kParentKey);
                device = SP_DEVINFO_DATA{};
                device.cbSize = sizeof device;
                if (parent.empty() || !SetupDiOpenDeviceInfoW(set, Widen(parent.front()).c_str(),
                                                              nullptr, 0, &device)) {
                    break;
                }
            }
        }
        SetupDiDestroyDeviceInfoList(set);
        return paths;
    }

    WinIoBlock* NewIoBlock() override {
        auto block = std::make_unique<WinIoBlock>();
        block->overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        return block->overlapped.hEvent != nullptr ? block.release() : nullptr;
    }

    void DeleteIoBlock(WinIoBlock* block) override {
        CloseHandle(block->overlapped.hEvent);
        delete block;
    }

    uint32_t StartWrite(WinHandle handle, WinIoBlock* block, const uint8_t* data, size_t length,
                        uint32_t* bytes) override {
        Prepare(block);
        if (!WriteFile(handle, data, static_cast<DWORD>(length), nullptr, &block->overlapped)) {
            return GetLastError();
        }
        return Outcome(handle, block, bytes);
    }

    uint32_t StartRead(WinHandle handle, WinIoBlock* block, uint8_t* data, size_t length,
                       uint32_t* bytes) override {
        Prepare(block);
        if (!ReadFile(handle, data, static_cast<DWORD>(length), nullptr, &block->overlapped)) {
            return GetLastError();
        }
        return Outcome(handle, block, bytes);
    }

    uint32_t Wait(WinIoBlock* block, uint32_t timeoutMs) override {
        return WaitForSingleObject(block->overlapped.hEvent, timeoutMs);
    }

    // Also for a transfer that completed at once: an overlapped WriteFile or ReadFile leaves its
    // byte count in the block, not in the count it is given.
    uint32_t Outcome(WinHandle handle, WinIoBlock* block, uint32_t* bytes) override {
        DWORD n = 0;
        if (!GetOverlappedResult(handle, &block->overlapped, &n, FALSE)) {
            return GetLastError();
        }
        *bytes = n;
        return 0;
    }

    void CancelAndReap(WinHandle handle, WinIoBlock* block) override {
        CancelIoEx(handle, &block->overlapped);
        DWORD n = 0;
        GetOverlappedResult(handle, &block->overlapped, &n, TRUE);
    }

    uint32_t LastError() override { return GetLastError(); }
    std::unique_ptr<DeviceChangeWatch> WatchDeviceChanges(std::function<void()> onChange) override {
        return ::tavlin::WatchDeviceChanges(std::move(onChange));
    }

  private:
    // DEVPKEY_Device_LocationPaths and DEVPKEY_Device_Parent, spelled out here: devpkey.h
    // defines its keys only in the one file that includes it after initguid.h.
    static constexpr DEVPROPKEY kLocationPathsKey{
        {0xa45c254e, 0xdf1c, 0x4efd, {0x80, 0x20, 0x67, 0xd1, 0x46, 0xa8, 0x50, 0xe0}}, 37};
    static constexpr DEVPROPKEY kParentKey{
        {0x4340a6c5, 0x93fa, 0x4706, {0x97, 0x2c, 0x7b, 0x64, 0x80, 0x08, 0xa5, 0xa7}}, 8};
    // HID device, USB interface, USB device, and one more for a driver that stacks another.
    static constexpr int kLocationLevels = 4;

    static bool OpenInterfaceDevice(HDEVINFO set, const std::string& interfacePath,
                                    SP_DEVINFO_DATA* device) {
        SP_DEVICE_INTERFACE_DATA data{};
        data.cbSize = sizeof data;
        return SetupDiOpenDeviceInterfaceW(set, Widen(interfacePath).c_str(), 0, &data) &&
               ReadInterfaceDetail(set, &data, nullptr, device);
    }

    // An interface's detail, whose size is asked first: its path and its device, each where
    // wanted.
    static bool ReadInterfaceDetail(HDEVINFO set, SP_DEVICE_INTERFACE_DATA* data, std::string* path,
                                    SP_DEVINFO_DATA* device) {
        DWORD size = 0;
        SetupDiGetDeviceInterfaceDetailW(set, data, nullptr, 0, &size, nullptr);
        if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) {
            return false;
        }
        std::vector<uint8_t> storage(size);
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        if (!SetupDiGetDeviceInterfaceDetailW(set, data, detail, size, nullptr, device)) {
            return false;
        }
        if (path != nullptr) {
            *path = Narrow(detail->DevicePath);
        }
        return true;
    }

    // A string or string-list property as its strings; empty when the device has none.
    static std::vector<std::string> StringProperty(HDEVINFO set, SP_DEVINFO_DATA* device,
                                                   const DEVPROPKEY& key) {
        std::vector<std::string> strings;
        DEVPROPTYPE type = 0;
        DWORD size = 0;
        SetupDiGetDevicePropertyW(set, device, &key, &type, nullptr, 0, &size, 0);
        if (size < sizeof(wchar_t) ||
            (type != DEVPROP_TYPE_STRING && type != DEVPROP_TYPE_STRING_LIST)) {
            return strings;
        }
        // One more terminator than a well-formed value needs, so a value without its own ends.
        std::vector<wchar_t> text(size / sizeof(wchar_t) + 2, L'\0');
        if (!SetupDiGetDevicePropertyW(set, device, &key, &type,
                                       reinterpret_cast<PBYTE>(text.data()), size, nullptr, 0)) {
            return strings;
        }
        for (const wchar_t* item = text.data(); *item != L'\0'; item += wcslen(item) + 1) {
            strings.push_back(Narrow(item));
        }
        return strings;
    }

    static std::vector<uint8_t> VendorInputReportIds(PHIDP_PREPARSED_DATA preparsed,
                                                     const HIDP_CAPS& hidCaps) {
        std::vector<uint8_t> ids;
        USHORT count = hidCaps.NumberInputValueCaps;
        if (count == 0) {
            return ids;
        }
        std::vector<HIDP_VALUE_CAPS> values(count);
        // Link collection 0 and usage 0: every input value of the vendor page.
        if (HidP_GetSpecificValueCaps(HidP_Input, kVendorUsagePage, 0, 0, values.data(), &count,
                                      preparsed) != HIDP_STATUS_SUCCESS) {
            return ids;
        }
        for (USHORT i = 0; i < count; ++i) {
            ids.push_back(values[i].ReportID);
        }
        return ids;
    }

    static void Prepare(WinIoBlock* block) {
        HANDLE event = block->overlapped.hEvent;
        ResetEvent(event);
        block->overlapped = OVERLAPPED{};
        block->overlapped.hEvent = event;
    }
};

}  // namespace

std::unique_ptr<WinHidApi> CreateWinHidSystemApi() {
    return std::make_unique<WinHidSystemApi>();
}

}  // namespace tavlin

namespace tavlin {

std::unique_ptr<HidTransport> CreateSystemTransport() {
    return std::make_unique<WinHidTransport>(CreateWinHidSystemApi());
}

}  // namespace tavlin
