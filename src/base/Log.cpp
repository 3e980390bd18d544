#include "base/Log.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <vector>

#include "platform/FileLock.h"
#include "platform/FilePath.h"
#include "platform/RegularFile.h"

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace tavlin {
namespace {

std::mutex g_configMutex;                  // guards only the path and the clock, never the writes
std::string g_logPath = "Tavlin_log.txt";  // the file entries go to
std::string g_namedPath = g_logPath;       // the name asked for; a second run's log differs
LogClock g_clock;

std::tm LocalNow() {
    std::time_t now = std::time(nullptr);
    std::tm t{};
#ifdef _WIN32
    localtime_s(&t, &now);  // the thread-safe form of localtime on Windows
#else
    localtime_r(&now, &t);
#endif
    return t;
}

std::tm Now() {
    std::lock_guard lock(g_configMutex);
    return g_clock ? g_clock() : LocalNow();
}

// Formats prefix + message into a buffer of bufferSize bytes (terminator included) and returns
// the bytes to write. vsnprintf cuts what does not fit.
std::string FormatEntry(size_t bufferSize, const char* format, va_list args) {
    std::vector<char> buffer(bufferSize, '\0');
    const std::string prefix = LogPrefix(Now());
    int used = std::snprintf(buffer.data(), buffer.size(), "%s", prefix.c_str());
    if (used < 0) {
        return {};
    }
    size_t offset = std::min(static_cast<size_t>(used), bufferSize - 1);
    if (offset < bufferSize - 1) {
        std::vsnprintf(buffer.data() + offset, bufferSize - offset, format, args);
    }
    return std::string(buffer.data());
}

#ifdef _WIN32
// Windows' C runtime appends by moving to the end and then writing, two steps, so entries of
// two threads could land on the same place and one would be lost; Linux appends in one step.
std::mutex g_windowsAppendMutex;
#endif

// Binary modes: the entries' line feeds reach the file as they are on every platform (a Windows
// text mode would turn them into CR LF).
// Set by the first entry that did not reach the file since the log started.
std::atomic<bool> g_entryLost{false};
std::atomic<bool> g_started{false};  // LogStart has run in this process

void WriteWhole(const char* mode, const std::string& entry) {
#ifdef _WIN32
    std::lock_guard appendLock(g_windowsAppendMutex);
#endif
    // A FIFO under the log's name would hold the entry, and the thread writing it, for ever.
    FILE* f = OpenRegularFile(LogFilePath(), mode).file;
    if (f == nullptr) {
        g_entryLost = true;
        return;
    }
    const bool written = std::fwrite(entry.data(), 1, entry.size(), f) == entry.size();
    if (std::fclose(f) != 0 || !written) {
        g_entryLost = true;
    }
}

std::string KeptName(const std::string& path, int run) {
    const auto dot = path.rfind('.');
    const auto slash = path.rfind('/');
    const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string stem = hasExt ? path.substr(0, dot) : path;
    const std::string ext = hasExt ? path.substr(dot) : "";
    return stem + "." + std::to_string(run) + ext;
}

std::string SideName(const std::string& path, const std::string& tag) {
    const auto dot = path.rfind('.');
    const auto slash = path.rfind('/');
    const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return hasExt ? path.substr(0, dot) + "-" + tag + path.substr(dot) : path + "-" + tag;
}

// Whatever holds the name, a FIFO or a folder too, takes it: looked at, not opened, since
// opening a FIFO waits for a writer.
bool Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(PathFromUtf8(path), error);
}

// The log reopens its file by name for every entry, so whoever rotates or empties the file
// while another run writes to it splits that run's log. A run therefore owns its log's name
// for its whole life through a lock on "<log>.lock"; a run that finds the name owned by
// another live run leaves that log alone and writes "<stem>-<process id><ext>" instead (a
// counter added when a dead run of the same id left one). Without a lock file (a folder that
// takes none) there is no other run to keep out, and the log is written as always.
std::mutex g_startMutex;
FileLock g_nameLock;
std::string g_lockedName;  // the name g_nameLock owns, empty while it owns none

std::string ChooseLogName() {
    const std::string named = [] {
        std::lock_guard lock(g_configMutex);
        return g_namedPath;
    }();
    if (g_lockedName == named) {
        return named;  // this process started its log here before
    }
    g_lockedName.clear();
    const FileLock::Outcome outcome = g_nameLock.TryLock(named + ".lock");
    if (outcome == FileLock::Outcome::Locked) {
        g_lockedName = named;
    }
    if (outcome != FileLock::Outcome::HeldElsewhere) {
        return named;
    }
#ifdef _WIN32
    const std::string id = std::to_string(_getpid());
#else
    const std::string id = std::to_string(getpid());
#endif
    std::string side = SideName(named, id);
    for (int count = 2; Exists(side); ++count) {
        side = SideName(named, id + "-" + std::to_string(count));
    }
    return side;
}

void KeepPreviousRuns() {
    const std::string path = LogFilePath();
    FILE* current = OpenRegularFile(path, "rb").file;
    if (current == nullptr) {
        return;
    }
    std::fclose(current);
    std::error_code ignored;  // a run that was never kept has nothing to move
    std::filesystem::remove(PathFromUtf8(KeptName(path, kKeptLogRuns)), ignored);
    for (int run = kKeptLogRuns - 1; run >= 1; --run) {
        std::filesystem::rename(PathFromUtf8(KeptName(path, run)),
                                PathFromUtf8(KeptName(path, run + 1)), ignored);
    }
    std::filesystem::rename(PathFromUtf8(path), PathFromUtf8(KeptName(path, 1)), ignored);
}

}  // namespace

std::string LogPrefix(const std::tm& t) {
    char text[64];
    std::snprintf(text, sizeof text, "(%d-%d-%d %02d:%02d:%02d) ", t.tm_year + 1900, t.tm_mon + 1,
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    return text;
}

void WriteLogV(size_t bufferSize, const char* format, va_list args) {
    WriteWhole("ab", FormatEntry(bufferSize, format, args));
}

void WriteLog(const char* format, ...) {
    va_list args;
    va_start(args, format);
    WriteLogV(kLogBufferSize, format, args);
    va_end(args);
}

void WriteLogSized(size_t bufferSize, const char* format, ...) {
    va_list args;
    va_start(args, format);
    WriteLogV(bufferSize, format, args);
    va_end(args);
}

void LogStart() {
    g_entryLost = false;
    g_started = true;
    std::lock_guard startLock(g_startMutex);
    const std::string name = ChooseLogName();
    bool owner;
    {
        std::lock_guard lock(g_configMutex);
        g_logPath = name;
        owner = name == g_namedPath;
    }
    if (owner) {
        KeepPreviousRuns();  // only the owner of the name may move the logs kept under it
    }
    const char* message = "Tavlin log start!\n";
    WriteWhole("wb", LogPrefix(Now()) + message);
}

void LogEnd() {
    WriteLog("Tavlin log end!\n");
}

bool LogStarted() {
    return g_started;
}

bool LogComplete() {
    return !g_entryLost;
}

std::string LogFilePath() {
    std::lock_guard lock(g_configMutex);
    return g_logPath;
}

void SetLogFilePath(std::string path) {
    std::lock_guard startLock(g_startMutex);
    if (path != g_lockedName) {  // a log under another name gives up the name owned so far
        g_nameLock.Release();
        g_lockedName.clear();
    }
    std::lock_guard lock(g_configMutex);
    g_logPath = path;
    g_namedPath = std::move(path);
}

void SetLogClock(LogClock clock) {
    std::lock_guard lock(g_configMutex);
    g_clock = std::move(clock);
}

}  // namespace tavlin
