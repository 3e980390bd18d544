#include "app/CTavlinApp.h"
#include "base/Unexpected.h"
#include "platform/CommandLine.h"

#ifndef _WIN32
#include "platform/QuitSignalPipe.h"

// Before any shared library's constructor (Qt's among them): a quit signal that comes while the
// program loads waits until the window's signal pipe takes it.
__attribute__((section(".preinit_array"), used)) static void (*const kHoldQuitSignals)(
    int, char**, char**) = tavlin::HoldQuitSignalsAtStart;
#endif

#ifdef _WIN32
#include <windows.h>

#include <cstdio>

namespace {

// tavlin.exe is a windowed program, so Windows gives it no console. Started from a console
// (tavlin --help, --version, a refused option) it writes to that console; with its output
// redirected it keeps the handles it was given.
void UseParentConsoleForOutput() {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if ((out == nullptr || out == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::freopen("CONOUT$", "w", stdout);
        std::freopen("CONOUT$", "w", stderr);
        tavlin::UseUtf8ConsoleOutput();  // the help and the messages are UTF-8
    }
}

}  // namespace
#endif

// No exception leaves the program: one nobody expected ends the run with a message on stderr, a
// line in the log and exit status 1.
int main(int argc, char** argv) {
#ifdef _WIN32
    UseParentConsoleForOutput();
#endif
    tavlin::InstallUnexpectedTerminate();
    try {
        tavlin::CTavlinApp app;
        return app.Run(argc, argv);
    } catch (...) {
        tavlin::ReportUnexpected(tavlin::CurrentExceptionText());
        return tavlin::kUnexpectedExitStatus;
    }
}
