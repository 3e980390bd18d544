#pragma once
#include <windows.h>

namespace tavlin {

// The routine Windows starts in a process to hand a console event to its handlers: kernelbase's
// CtrlRoutine, which Wine has too. It is not documented, so it is looked up by name, in one
// place; nullptr where the system has none. Windows maps kernelbase at the same address in every
// process until the next boot, so the address is good in a child as well.
using ConsoleCtrlRoutine = DWORD(WINAPI*)(void* event);

inline ConsoleCtrlRoutine SystemConsoleCtrlRoutine() {
    const HMODULE kernelbase = GetModuleHandleW(L"kernelbase.dll");
    return kernelbase == nullptr ? nullptr
                                 : reinterpret_cast<ConsoleCtrlRoutine>(reinterpret_cast<void*>(
                                       GetProcAddress(kernelbase, "CtrlRoutine")));
}

}  // namespace tavlin
