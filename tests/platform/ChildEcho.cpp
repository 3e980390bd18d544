// A child for the child-process tests, told by its first argument what to do:
//   echo ARG...        each argument on a line of its own on stdout
//   flood BYTES        BYTES bytes on stdout while as many go to stderr, as lines, interleaved
//   lines STATUS       a few stderr lines in pieces, the last without a line feed; exit STATUS
//   wait STATUS        after 50 ms its handler, "ready" on stderr, then waits for SIGTERM /
//                      Ctrl+Break; exit STATUS through the handler, 99 when nothing came
//                      within 10 s
//   die                "dying" on stdout, then ends as by a fault: SIGKILL on POSIX, on Windows
//                      the exit code of an access violation
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/CommandLine.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <csignal>
#endif

namespace {

std::atomic<bool> g_asked{false};

#ifdef _WIN32
BOOL WINAPI OnConsoleEvent(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) {
        return FALSE;
    }
    g_asked = true;
    return TRUE;
}
void WatchQuit() {
    SetConsoleCtrlHandler(nullptr, FALSE);  // as the CLI: a group of its own ignored Ctrl+C
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}
#else
void OnSignal(int) {
    g_asked = true;
}
void WatchQuit() {
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGINT, OnSignal);
    sigset_t quit;
    sigemptyset(&quit);
    sigaddset(&quit, SIGTERM);
    sigaddset(&quit, SIGINT);
    sigprocmask(SIG_UNBLOCK, &quit, nullptr);  // the launcher starts us with them blocked
}
#endif

void Write(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

int Run(const std::vector<std::string>& args) {
    const std::string mode = args.size() > 1 ? args[1] : "";
    const int number = args.size() > 2 ? std::atoi(args[2].c_str()) : 0;
    if (mode == "echo") {
        for (size_t i = 2; i < args.size(); ++i) {
            Write(stdout, args[i] + "\n");
        }
        return 0;
    }
    if (mode == "flood") {
        const std::string chunk(4096, 'o');
        for (int written = 0; written < number; written += 4096) {
            Write(stdout, chunk);
            Write(stderr, std::string(4095, 'e') + "\n");
        }
        return 0;
    }
    if (mode == "lines") {
        for (const char* piece : {"first line\nsec", "ond line\n", "third\n", "no line feed"}) {
            Write(stderr, piece);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return number;
    }
    if (mode == "wait") {
        // As a program that takes its time to start: a signal may come before its handler.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        WatchQuit();
        Write(stderr, "ready\n");
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!g_asked && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        if (!g_asked) {
            return 99;
        }
        Write(stdout, "interrupted\n");
        return number;
    }
    if (mode == "die") {
        Write(stdout, "dying\n");
#ifdef _WIN32
        TerminateProcess(GetCurrentProcess(), 0xC0000005u);
#else
        std::raise(SIGKILL);
#endif
        return 97;
    }
    Write(stderr, "unknown mode\n");
    return 98;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    // Byte for byte: the tests compare what they get with what was asked.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    return Run(tavlin::Utf8Arguments(argc, argv).all());
}
#else
int main(int argc, char** argv) {
    return Run(tavlin::Utf8Arguments(argc, argv).all());
}
#endif
