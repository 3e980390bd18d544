#include "app/CTavlinApp.h"
#include "base/Unexpected.h"
#include "platform/CommandLine.h"

#ifndef _WIN32
#include <csignal>
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
#else
    // A reader of our output gone (`tavlin --help | head -n 1`) is a failed write, not the end.
    // The quit signals keep their default action until the window's signal pipe takes them:
    // before it nothing is under way that an end would leave half-done, and a signal held back
    // would leave the missing language file's message box deaf to it.
    std::signal(SIGPIPE, SIG_IGN);
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
