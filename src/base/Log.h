#pragma once
#include <cstdarg>
#include <ctime>
#include <functional>
#include <string>

namespace tavlin {

// The program's log, "Tavlin_log.txt" in the current directory (or in the folder --log-dir
// names, see LogFolder.h). Each entry is the local time
// "(Y-M-D hh:mm:ss) " followed by the message; it is formatted into a fixed buffer (longer
// entries are cut, never overrun), written with one write and the file is closed again. When the
// file cannot be opened the entry is dropped without a word: the log must never stop the program.

inline constexpr size_t kLogBufferSize = 256;
inline constexpr size_t kHidLogBufferSize = 260;  // the HID transport formats into 260 bytes
inline constexpr int kKeptLogRuns = 5;

// mingw's C runtime takes the GNU conversions only when asked, so GCC checks them as such there;
// clang knows only the plain printf check.
#if defined(__GNUC__) && !defined(__clang__)
#define TAVLIN_PRINTF_CHECK(f, a) __attribute__((format(gnu_printf, f, a)))
#else
#define TAVLIN_PRINTF_CHECK(f, a) __attribute__((format(printf, f, a)))
#endif

TAVLIN_PRINTF_CHECK(1, 2) void WriteLog(const char* format, ...);
// As WriteLog, with the buffer size of the caller.
TAVLIN_PRINTF_CHECK(2, 3) void WriteLogSized(size_t bufferSize, const char* format, ...);
void WriteLogV(size_t bufferSize, const char* format, va_list args);

// Empties the log and writes "Tavlin log start!". The previous run's log is kept first as
// Tavlin_log.1.txt (older ones move up to Tavlin_log.5.txt) so a restart after a failure does not
// wipe the evidence. The run owns the log's name from here to its end (a lock on
// "Tavlin_log.txt.lock"); a run that finds the name owned by another live run leaves that log
// and its kept ones alone and writes Tavlin_log-<process id>.txt instead: LogFilePath names it.
void LogStart();
// Appends "Tavlin log end!".
void LogEnd();
// False once an entry since LogStart did not reach the file (a full disk, a folder gone): the
// log never stops the program, but the run can say that its log is not whole.
bool LogComplete();
// Whether a log was started in this process (a run refused early writes none).
bool LogStarted();

// The file this run's log goes to, relative to the current directory unless an absolute path is
// set. Setting it names the log the next LogStart starts under.
std::string LogFilePath();
void SetLogFilePath(std::string path);  // tests, and the front ends' --log-dir

// The clock behind the timestamp; tests replace it to check the prefix.
using LogClock = std::function<std::tm()>;
void SetLogClock(LogClock clock);  // an empty function restores the local clock

// The prefix for a given time, "(2026-3-7 09:05:03) ".
std::string LogPrefix(const std::tm& t);

}  // namespace tavlin
