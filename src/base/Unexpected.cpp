#include "base/Unexpected.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <thread>

#include "base/FillText.h"
#include "base/FrontEndTexts.h"
#include "base/Log.h"
#include "base/StringTable.h"
#include "platform/StringConv.h"

namespace tavlin {
namespace {

std::mutex g_reportMutex;  // guards the front end's report only while it is read or set
UnexpectedReport g_report;
std::atomic<bool> g_reported{false};
std::atomic<bool> g_reportDone{false};

// A second thread failing while the first one still reports waits for that report (the first
// one ends the process), but not for ever: the first may be the main thread unwinding, waiting
// for this very thread.
constexpr auto kOtherReportWait = std::chrono::seconds(2);

void OnTerminate() {
    std::string what = "std::terminate";
    if (const std::exception_ptr current = std::current_exception()) {
        try {
            std::rethrow_exception(current);
        } catch (...) {
            what = CurrentExceptionText();
        }
    }
    ReportUnexpected(what);
    std::fflush(nullptr);
    std::_Exit(kUnexpectedExitStatus);
}

}  // namespace

std::string CurrentExceptionText() {
    try {
        throw;
    } catch (const std::exception& e) {
        // Texts of the C++ library may carry bytes of the ANSI code page (a path, a system
        // message): the run's outputs (the JSON object above all) take UTF-8 only.
        return ToValidUtf8(e.what());
    } catch (...) {
        return "unknown exception";
    }
}

std::string UnexpectedErrorText(const std::string& what) {
    return FillText(Tr(frontend::kUnexpectedError), {what});
}

void SetUnexpectedReport(UnexpectedReport report) {
    std::lock_guard lock(g_reportMutex);
    g_report = std::move(report);
}

bool ReportUnexpected(const std::string& what) noexcept {
    try {
        const std::string text = ToValidUtf8(what);
        WriteLog("Unexpected error, the run ends: %s\n", text.c_str());
        if (g_reported.exchange(true)) {
            return false;
        }
        UnexpectedReport report;
        {
            std::lock_guard lock(g_reportMutex);
            report = g_report;
        }
        if (report) {
            report(text);
        } else {
            std::fprintf(stderr, "tavlin: %s\n", UnexpectedErrorText(text).c_str());
        }
    } catch (...) {
        std::fputs("tavlin: unexpected error\n", stderr);
    }
    std::fflush(stdout);
    std::fflush(stderr);
    g_reportDone = true;
    return true;
}

void EndOnUnexpected() noexcept {
    std::string what;
    try {
        what = CurrentExceptionText();
    } catch (...) {
        what = "unknown exception";
    }
    if (!ReportUnexpected(what)) {
        const auto until = std::chrono::steady_clock::now() + kOtherReportWait;
        while (!g_reportDone && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    std::fflush(nullptr);
    std::_Exit(kUnexpectedExitStatus);
}

void InstallUnexpectedTerminate() {
    std::set_terminate(OnTerminate);
}

}  // namespace tavlin
