#include "cli/ProgressBoard.h"
#include "cli/OutputFlush.h"

#include <unistd.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/ioctl.h>
#endif

namespace tavlin::cli {
namespace {

constexpr int kDefaultWidth = 80;

// The terminal's columns and rows; 0 for what it does not tell.
struct TerminalSize {
    int columns = 0;
    int rows = 0;
};

TerminalSize SizeOf(std::FILE* out) {
#ifdef _WIN32
    CONSOLE_SCREEN_BUFFER_INFO info;
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(fileno(out)));
    if (GetConsoleScreenBufferInfo(handle, &info)) {
        return {info.srWindow.Right - info.srWindow.Left + 1,
                info.srWindow.Bottom - info.srWindow.Top + 1};
    }
#else
    winsize size{};
    if (::ioctl(fileno(out), TIOCGWINSZ, &size) == 0) {
        return {size.ws_col, size.ws_row};
    }
#endif
    return {};
}

int TerminalWidth(std::FILE* out) {
    const int columns = SizeOf(out).columns;
    return columns > 0 ? columns : kDefaultWidth;
}

// Cut to the columns a line may take without wrapping (a wrapped line would throw the redraw
// off by one). Wide characters (CJK) take two columns.
std::string Fit(const std::string& text, int columns) {
    int used = 0;
    size_t at = 0;
    while (at < text.size()) {
        const unsigned char lead = static_cast<unsigned char>(text[at]);
        const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        const int width = lead >= 0xE0 ? 2 : 1;
        if (used + width > columns) {
            break;
        }
        used += width;
        at += length;
    }
    return text.substr(0, at);
}

}  // namespace

int ProgressPercent(const std::string& line) {
    if (line.size() < 2 || line[0] != '[' || (line[1] != '#' && line[1] != '.')) {
        return -1;
    }
    const size_t close = line.find("] ");
    const size_t percent = line.find('%', close == std::string::npos ? line.size() : close);
    if (close == std::string::npos || percent == std::string::npos) {
        return -1;
    }
    try {
        return std::stoi(line.substr(close + 2, percent - close - 2));
    } catch (...) {
        return -1;
    }
}

bool ProgressBoard::CanRedraw(std::FILE* out, size_t lines) {
    if (isatty(fileno(out)) == 0) {
        return false;
    }
    // The board and the line the cursor rests on must fit: a line scrolled off the top cannot
    // be gone back to, and every redraw would then leave a copy of the board behind. A terminal
    // that does not tell its rows is taken to have room.
    if (const int rows = SizeOf(out).rows; rows > 0 && static_cast<size_t>(rows) <= lines) {
        return false;
    }
#ifdef _WIN32
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(fileno(out)));
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) &&
           SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
#else
    return true;
#endif
}

ProgressBoard::ProgressBoard(std::FILE* out, std::vector<std::string> ports, bool inPlace)
    : out_(out),
      ports_(std::move(ports)),
      inPlace_(inPlace),
      latest_(ports_.size()),
      shownTenth_(ports_.size(), -1) {
    if (inPlace_) {
        std::lock_guard lock(mutex_);
        DrawLocked();
    }
}

void ProgressBoard::Show(size_t device, const std::string& line) {
    std::lock_guard lock(mutex_);
    if (device >= ports_.size() || finished_) {
        return;
    }
    if (inPlace_) {
        latest_[device] = line;
        DrawLocked();
        return;
    }
    if (const int percent = ProgressPercent(line); percent >= 0) {
        if (percent / 10 == shownTenth_[device]) {
            return;
        }
        shownTenth_[device] = percent / 10;
    }
    std::fprintf(out_, "[%s] %s\n", ports_[device].c_str(), line.c_str());
    FlushOutput(out_);
}

void ProgressBoard::DrawLocked() {
    if (drawn_) {
        std::fprintf(out_, "\x1b[%zuA", ports_.size());
    }
    const int columns = TerminalWidth(out_) - 1;
    for (size_t i = 0; i < ports_.size(); ++i) {
        const std::string text = Fit("[" + ports_[i] + "] " + latest_[i], columns);
        std::fprintf(out_, "\r\x1b[2K%s\n", text.c_str());
    }
    FlushOutput(out_);
    drawn_ = true;
}

void ProgressBoard::Finish() {
    std::lock_guard lock(mutex_);
    finished_ = true;
}

}  // namespace tavlin::cli
