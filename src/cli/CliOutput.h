#pragma once
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

namespace tavlin::cli {

// Where the run's texts for people go: one stream (stdout, or stderr when stdout carries the
// run's JSON object). Every text is printed as it comes and kept, in order, so the JSON object
// can repeat exactly what a person saw. Called from the workers' threads as well.
class CliOutput {
  public:
    explicit CliOutput(std::FILE* stream) : stream_(stream) {}
    CliOutput(const CliOutput&) = delete;
    CliOutput& operator=(const CliOutput&) = delete;

    std::FILE* stream() const { return stream_; }
    // Prints `text` as a line of its own (a line feed added where it ends without one) and
    // keeps it.
    void Line(const std::string& text) { LineTo(stream_, text); }
    // As Line, on another stream: errors that stay on stderr when people read stdout.
    void LineTo(std::FILE* to, const std::string& text);
    // Keeps a text that was drawn in place rather than printed as a line.
    void Keep(const std::string& text);
    // Every text kept so far, without its final line feed.
    std::vector<std::string> messages() const;

  private:
    void KeepLocked(const std::string& text);

    std::FILE* stream_;
    mutable std::mutex mutex_;
    std::vector<std::string> messages_;
};

}  // namespace tavlin::cli
