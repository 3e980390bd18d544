#include "device/WinDeviceNotifier.h"

#include "base/Log.h"  // before windows.h, whose macros would rename our constants

// cfgmgr32.h needs the types of windows.h first.
// clang-format off
#include <windows.h>
#include <cfgmgr32.h>
// clang-format on

// Debian 12's mingw-w64 has the filter and event types and libcfgmgr32.a exports the functions,
// but the header lacks the callback type and the prototypes. These are the documented ones.
using TavCmNotificationCallback = DWORD(CALLBACK*)(HCMNOTIFICATION, PVOID, CM_NOTIFY_ACTION,
                                                   PCM_NOTIFY_EVENT_DATA, DWORD);
extern "C" CMAPI CONFIGRET WINAPI CM_Register_Notification(PCM_NOTIFY_FILTER pFilter,
                                                           PVOID pContext,
                                                           TavCmNotificationCallback pCallback,
                                                           PHCMNOTIFICATION pNotifyContext);
extern "C" CMAPI CONFIGRET WINAPI CM_Unregister_Notification(HCMNOTIFICATION NotifyContext);

namespace tavlin {
namespace {

DWORD CALLBACK OnNotification(HCMNOTIFICATION, PVOID context, CM_NOTIFY_ACTION action,
                              PCM_NOTIFY_EVENT_DATA, DWORD) {
    static_cast<WinDeviceNotifier*>(context)->Notify(static_cast<int>(action));
    return ERROR_SUCCESS;
}

// Wine (8.0 in Debian 12) exports CM_Register_Notification as a stub that raises an exception
// when called; it delivers no device notifications at all. Its ntdll is recognisable by an
// export of its own.
bool RunsUnderWineWithoutNotifications() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace

WinDeviceNotifier::WinDeviceNotifier(std::function<void()> onChange)
    : onChange_(std::move(onChange)) {}

WinDeviceNotifier::~WinDeviceNotifier() {
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    if (registration_ != nullptr) {
        CM_Unregister_Notification(static_cast<HCMNOTIFICATION>(registration_));
    }
}

unsigned WinDeviceNotifier::Register() {
    if (RunsUnderWineWithoutNotifications()) {
        return CR_CALL_NOT_IMPLEMENTED;
    }
    CM_NOTIFY_FILTER filter{};
    filter.cbSize = sizeof filter;
    filter.Flags = CM_NOTIFY_FILTER_FLAG_ALL_INTERFACE_CLASSES;
    filter.FilterType = CM_NOTIFY_FILTER_TYPE_DEVICEINTERFACE;
    HCMNOTIFICATION handle = nullptr;
    const CONFIGRET ret = CM_Register_Notification(&filter, this, OnNotification, &handle);
    if (ret == CR_SUCCESS) {
        registration_ = handle;
    }
    return ret;
}

bool WinDeviceNotifier::Notify(int action) {
    if (action != CM_NOTIFY_ACTION_DEVICEINTERFACEARRIVAL &&
        action != CM_NOTIFY_ACTION_DEVICEINTERFACEREMOVAL) {
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
    if (const unsigned ret = watch->Register(); ret != CR_SUCCESS) {
        WriteLog("CM_Register_Notification failed! ret=%u\n", ret);
        return nullptr;
    }
    return watch;
}

}  // namespace tavlin
