#include "cli/ProgressBar.h"
#include "cli/OutputFlush.h"

#include <unistd.h>

#include <cstdlib>

namespace tavlin::cli {

ProgressBar::ProgressBar(std::FILE* out)
    : out_(out),
      enabled_(isatty(fileno(out)) != 0 || std::getenv(kProgressLinesVariable) != nullptr),
      lines_(isatty(fileno(out)) == 0) {}

void ProgressBar::Update(long done, long total) {
    if (!enabled_ || total <= 0) {
        return;
    }
    std::lock_guard lock(mutex_);
    const int percent = static_cast<int>(100 * done / total);
    if (percent == lastPercent_) {
        return;
    }
    lastPercent_ = percent;
    constexpr int kWidth = 40;
    const int filled = kWidth * percent / 100;
    std::fprintf(out_, lines_ ? "[" : "\r[");
    for (int i = 0; i < kWidth; ++i) {
        std::fputc(i < filled ? '#' : '.', out_);
    }
    std::fprintf(out_, lines_ ? "] %3d%% (%ld/%ld)\n" : "] %3d%% (%ld/%ld)", percent, done, total);
    FlushOutput(out_);
    drawn_ = !lines_;
}

void ProgressBar::Interrupt() {
    Finish();
}

void ProgressBar::Finish() {
    std::lock_guard lock(mutex_);
    if (drawn_) {
        std::fputc('\n', out_);
        FlushOutput(out_);
        drawn_ = false;
        lastPercent_ = -1;
    }
}

}  // namespace tavlin::cli
