// A copy started through ChildProcess (one device's of --all) watches the process that started
// it, as its word in the environment names it: that process's end asks the run to stop. A word
// whose handle is not the process it names asks nothing. Either way the word is taken away, so
// that the copy's own children hear only of the copy.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "cli/QuitSignalWatch.h"
#include "platform/ChildProcess.h"

namespace tavlin::cli {
namespace {

using namespace std::chrono_literals;

bool RequestedWithin(const Interruption& interruption, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!interruption.requested() && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(10ms);
    }
    return interruption.requested();
}

TEST(ParentWatch, TheParentsEndAsksTheRunToStopAndAStaleWordAsksNothing) {
    struct Case {
        const char* name;
        bool word;       // the environment names a parent
        bool sameId;     // the id in the word is the handle's process
        bool requested;  // its end asks the run to stop
    };
    const Case cases[] = {
        {"the parent named", true, true, true},
        {"a handle of another process", true, false, false},
        {"no word", false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A process that stands for the parent: this program, suspended before it ran.
        wchar_t self[MAX_PATH];
        ASSERT_NE(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION parent{};
        ASSERT_TRUE(CreateProcessW(self, nullptr, nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                                   nullptr, nullptr, &startup, &parent));
        CloseHandle(parent.hThread);
        const DWORD id = GetProcessId(parent.hProcess) + (c.sameId ? 0 : 4);
        const std::string word =
            std::to_string(reinterpret_cast<ULONG_PTR>(parent.hProcess)) + ":" + std::to_string(id);
        SetEnvironmentVariableA(kParentProcessVariable, c.word ? word.c_str() : nullptr);

        Interruption interruption;
        {
            QuitSignalWatch watch(interruption);
            EXPECT_EQ(GetEnvironmentVariableA(kParentProcessVariable, nullptr, 0), 0u)
                << "the word stays for this run's own children";
            EXPECT_FALSE(RequestedWithin(interruption, 100ms)) << "asked while the parent lives";
            TerminateProcess(parent.hProcess, 1);
            EXPECT_EQ(RequestedWithin(interruption, c.requested ? 5000ms : 300ms), c.requested);
        }
        if (!c.requested) {
            CloseHandle(parent.hProcess);  // the watch closes only the handle it waited on
        }
    }
}

}  // namespace
}  // namespace tavlin::cli
