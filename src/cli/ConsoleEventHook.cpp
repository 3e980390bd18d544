// The test build's hook, for what no program can make Windows (or Wine) do: close the console
// window, log the user off, shut the system down. Linked into tavlin-cli-testhooks only, never
// into the product: a variable in the environment must not be able to end a station's run.
//
// TAVLIN_TEST_CONSOLE_EVENT=close|logoff|shutdown:MS sends that event MS milliseconds after the
// watch starts, from a thread of its own, through the system's own dispatch of console events
// (kernelbase's CtrlRoutine, the routine Windows starts in the process for an event) when there
// is one, otherwise to the handler directly. Like Windows, it then ends the process as soon as
// the handlers have returned, and says on stderr how long they took.
#include "base/Unexpected.h"
#include "cli/QuitSignalWatch.h"

// After our headers: the macros of windows.h would rename their constants.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/ConsoleCtrlRoutine.h"

namespace tavlin::cli {
namespace {

void StartConsoleEventHook() {
    const char* hook = std::getenv("TAVLIN_TEST_CONSOLE_EVENT");
    if (hook == nullptr) {
        return;
    }
    const std::string asked = hook;
    const size_t colon = asked.find(':');
    const std::string name = asked.substr(0, colon);
    const DWORD event = name == "close"      ? CTRL_CLOSE_EVENT
                        : name == "logoff"   ? CTRL_LOGOFF_EVENT
                        : name == "shutdown" ? CTRL_SHUTDOWN_EVENT
                                             : CTRL_C_EVENT;
    const int delayMs = colon == std::string::npos ? 0 : std::atoi(asked.c_str() + colon + 1);
    std::thread([event, delayMs] {
        RunGuarded([event, delayMs] {
            Sleep(static_cast<DWORD>(delayMs));
            const ConsoleCtrlRoutine dispatch = SystemConsoleCtrlRoutine();
            const ULONGLONG start = GetTickCount64();
            if (dispatch != nullptr) {
                dispatch(reinterpret_cast<void*>(static_cast<ULONG_PTR>(event)));
            } else {
                QuitSignalWatch::OnConsoleEvent(event);
            }
            std::fprintf(stderr, "console event %lu: the handlers returned after %llu ms (%s)\n",
                         event, GetTickCount64() - start,
                         dispatch != nullptr ? "CtrlRoutine" : "handler");
            std::fflush(stderr);
            if (event != CTRL_C_EVENT) {  // close, logoff, shutdown: Windows ends the process
                TerminateProcess(GetCurrentProcess(), STATUS_CONTROL_C_EXIT);
            }
        });
    }).detach();
}

// Before main: the executable's own object, so it is always linked in.
const bool g_hookSet = (QuitSignalWatch::SetStartHook(StartConsoleEventHook), true);

}  // namespace
}  // namespace tavlin::cli
