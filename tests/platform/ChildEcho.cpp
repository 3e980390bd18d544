// A child for the child-process tests, told by its first argument what to do:
//   echo ARG...        each argument on a line of its own on stdout
//   flood BYTES        BYTES bytes on stdout while as many go to stderr, as lines, interleaved
//   lines STATUS       a few stderr lines in pieces, the last without a line feed; exit STATUS
//   wait STATUS        after 50 ms its handler, "ready" on stderr, then waits for SIGTERM /
//                      Ctrl+Break; exit STATUS through the handler, 99 when nothing came
//                      within 10 s
//   die                "dying" on stdout, then ends as by a fault: SIGKILL on POSIX, on Windows
//                      the exit code of an access violation
//   parent STATUS      (Linux) starts a copy of itself in "wait STATUS" mode, hands its lines on
//                      to stderr, says "ids PARENT CHILD" on stderr and waits to be killed
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/ChildProcess.h"
#include "platform/CommandLine.h"
#include "platform/ProgramPath.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <sys/syscall.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
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
    std::signal(SIGPIPE, SIG_IGN);             // as the CLI: a reader gone is no reason to end
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
#ifndef _WIN32
    if (mode == "parent") {
        std::string error;
        const auto child = tavlin::ChildProcess::Start(
            tavlin::CurrentProgramPath(), {"wait", args[2]},
            [](const std::string& line) { Write(stderr, line + "\n"); }, &error);
        if (!child) {
            Write(stderr, error + "\n");
            return 97;
        }
        // The children of the thread that started it: the one just started.
        std::ifstream children("/proc/self/task/" + std::to_string(::syscall(SYS_gettid)) +
                               "/children");
        long id = 0;
        children >> id;
        Write(stderr, "ids " + std::to_string(::getpid()) + " " + std::to_string(id) + "\n");
        std::this_thread::sleep_for(std::chrono::seconds(30));
        return 96;
    }
#endif
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
