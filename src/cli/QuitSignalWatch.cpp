#include "cli/QuitSignalWatch.h"

#ifdef _WIN32

#include <windows.h>

#include <atomic>

namespace tavlin::cli {
namespace {

std::atomic<Interruption*> g_interruption{nullptr};

// Windows calls this on a thread of its own, where waiting on locks is allowed.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    Interruption* target = g_interruption;
    if (target == nullptr || (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)) {
        return FALSE;
    }
    target->Request();
    return TRUE;
}

}  // namespace

QuitSignalWatch::QuitSignalWatch(Interruption& interruption) : interruption_(interruption) {
    g_interruption = &interruption_;
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

QuitSignalWatch::~QuitSignalWatch() {
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
    g_interruption = nullptr;
}

}  // namespace tavlin::cli

#else

namespace tavlin::cli {
namespace {
constexpr char kEndWatch = 'e';
}  // namespace

QuitSignalWatch::QuitSignalWatch(Interruption& interruption) : interruption_(interruption) {
    if (!pipe_.Open(QuitSignalPipe::Reading::Blocking)) {
        return;  // without a pipe the signals keep their default effect
    }
    reader_ = std::thread([this] {
        while (pipe_.Next() == QuitSignalPipe::kSignalled) {
            interruption_.Request();
        }
    });
}

QuitSignalWatch::~QuitSignalWatch() {
    if (!reader_.joinable()) {
        return;
    }
    pipe_.Send(kEndWatch);
    reader_.join();
    // The exit path has run: a late signal changes nothing any more.
    pipe_.Close(QuitSignalPipe::Afterwards::Ignore);
}

}  // namespace tavlin::cli

#endif
