#include "device/WinDeviceNotifier.h"

#include <future>

#include "base/Log.h"  // before windows.h, whose macros would rename our constants
#include "base/Unexpected.h"

// dbt.h needs the types of windows.h first.
// clang-format off
#include <windows.h>
#include <dbt.h>
// clang-format on

namespace tavlin {
namespace {

constexpr wchar_t kWindowClass[] = L"TavlinDeviceNotices";
// GUID_DEVINTERFACE_HID. With DEVICE_NOTIFY_ALL_INTERFACE_CLASSES the class is not a filter:
// interfaces of every class are reported (any of them may be ours; the detection decides).
constexpr GUID kHidInterfaceClass = {
    0x4d1e55b2, 0xf16f, 0x11cf, {0x88, 0xcb, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DEVICECHANGE) {
        auto* notifier =
            reinterpret_cast<WinDeviceNotifier*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (notifier != nullptr) {
            notifier->Notify(static_cast<unsigned>(wParam));
        }
        return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The system's frames lie between the message loop and this procedure, and an exception must
// not try to pass through them: it ends the run here, as at the edge of any other thread.
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    RunGuarded([&] { result = HandleMessage(window, message, wParam, lParam); });
    return result;
}

bool RegisterWindowClass() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

WinDeviceNotifier::WinDeviceNotifier(std::function<void()> onChange)
    : onChange_(std::move(onChange)) {}

WinDeviceNotifier::~WinDeviceNotifier() {
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    if (thread_.joinable()) {
        // The loop ends on WM_QUIT; the thread unregisters and destroys its window itself.
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
}

unsigned WinDeviceNotifier::Start() {
    std::promise<unsigned> started;
    std::future<unsigned> result = started.get_future();
    thread_ = std::thread([this, &started] { RunGuarded([this, &started] { Run(&started); }); });
    const unsigned error = result.get();
    if (error != 0) {
        thread_.join();
    }
    return error;
}

void WinDeviceNotifier::Run(std::promise<unsigned>* started) {
    threadId_ = GetCurrentThreadId();
    // The thread's message queue exists before anyone may post it the quit.
    MSG message;
    PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    HWND window = nullptr;
    if (RegisterWindowClass()) {
        window = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    }
    if (window == nullptr) {
        started->set_value(GetLastError() != 0 ? GetLastError() : ERROR_INVALID_HANDLE);
        return;
    }
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kHidInterfaceClass;
    HDEVNOTIFY registration = RegisterDeviceNotificationW(
        window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE | DEVICE_NOTIFY_ALL_INTERFACE_CLASSES);
    if (registration == nullptr) {
        const DWORD error = GetLastError();
        DestroyWindow(window);
        started->set_value(error != 0 ? error : ERROR_INVALID_HANDLE);
        return;
    }
    started->set_value(0);  // `started` is gone after this
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    UnregisterDeviceNotification(registration);
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
}

bool WinDeviceNotifier::Notify(unsigned event) {
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) {
        return false;
    }
    std::lock_guard lock(mutex_);
    if (stopped_) {
        return false;
    }
    onChange_();
    return true;
}

std::unique_ptr<DeviceChangeWatch> WatchDeviceChanges(std::function<void()> onChange) {
    auto watch = std::make_unique<WinDeviceNotifier>(std::move(onChange));
    if (const unsigned error = watch->Start(); error != 0) {
        WriteLog("RegisterDeviceNotification failed! ret=%u\n", error);
        return nullptr;
    }
    return watch;
}

}  // namespace tavlin
