#pragma once
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

namespace tavlin::cli {

// What `--all` shows while its devices run: on a terminal one line per device, redrawn in place
// with that device's latest line; elsewhere each line as it comes, led by "[PORT] " (a device's
// progress only every tenth, so a station's log stays readable). Lines come from the children's
// reader threads.
class ProgressBoard {
  public:
    ProgressBoard(std::FILE* out, std::vector<std::string> ports, bool inPlace);
    ProgressBoard(const ProgressBoard&) = delete;
    ProgressBoard& operator=(const ProgressBoard&) = delete;

    // Whether `out` is a terminal that can redraw `lines` lines in place: it has more rows
    // than that (or does not tell how many).
    static bool CanRedraw(std::FILE* out, size_t lines);

    void Show(size_t device, const std::string& line);
    // The last state stays on screen; later output starts below it.
    void Finish();

  private:
    void DrawLocked();

    std::FILE* out_;
    const std::vector<std::string> ports_;
    const bool inPlace_;
    std::mutex mutex_;
    std::vector<std::string> latest_;
    std::vector<int> shownTenth_;  // per device, the last progress tenth printed (lines only)
    bool drawn_ = false;
    bool finished_ = false;
};

// The percentage of a progress bar's line ("[####....]  37% (12/32)"), or -1 for another line.
int ProgressPercent(const std::string& line);

}  // namespace tavlin::cli
