#pragma once
#include <cstdio>
#include <mutex>

namespace tavlin::cli {

// A one-line progress bar redrawn in place on a terminal; silent when the output is not one
// (a station script's log must not fill with carriage returns) - unless the run is one device's
// of `--all`, whose parent shows each device's progress: then every change is a line of its own.
inline constexpr const char* kProgressLinesVariable = "TAVLIN_PROGRESS_LINES";
class ProgressBar {
  public:
    explicit ProgressBar(std::FILE* out);
    void Update(long done, long total);
    void Finish();
    // Ends a drawn bar's line so other output starts on a line of its own; the next update
    // draws the bar again below it.
    void Interrupt();

  private:
    std::FILE* out_;
    bool enabled_;
    bool lines_;  // a line per change instead of a bar in place
    int lastPercent_ = -1;
    bool drawn_ = false;
    std::mutex mutex_;
};

}  // namespace tavlin::cli
