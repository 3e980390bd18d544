#include "platform/ProcessIdentity.h"

#include <windows.h>

#include <string>

namespace tavlin {

std::int64_t CurrentProcessId() {
    return static_cast<std::int64_t>(::GetCurrentProcessId());
}

std::string ProcessStartIdentity(std::int64_t pid) {
    if (pid <= 0) {
        return {};
    }
    HANDLE process =
        ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (process == nullptr) {
        return {};
    }
    std::string identity;
    DWORD exitCode = 0;
    FILETIME created{}, exited{}, kernel{}, user{};
    // A handle may still be had to a process that has ended while others hold one.
    if (::GetExitCodeProcess(process, &exitCode) && exitCode == STILL_ACTIVE &&
        ::GetProcessTimes(process, &created, &exited, &kernel, &user)) {
        const unsigned long long ticks =
            (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
        identity = std::to_string(ticks);
    }
    ::CloseHandle(process);
    return identity;
}

std::string HostName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    if (!::GetComputerNameW(name, &size)) {
        return {};
    }
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, name, static_cast<int>(size), nullptr, 0,
                                            nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, name, static_cast<int>(size), utf8.data(), bytes, nullptr,
                          nullptr);
    return utf8;
}

}  // namespace tavlin
