// Output that nobody reads any more: each writer of the run's texts goes on, and the log tells
// it once per stream.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "base/Log.h"
#include "cli/CliOutput.h"
#include "cli/ProgressBar.h"
#include "cli/ProgressBoard.h"
#include "device/LogCapture.h"

namespace tavlin::cli {
namespace {

// A stream on a pipe, its reader gone or still there; unbuffered as stderr is (a write fails at
// once, and the flush after it has nothing left to fail on) or buffered as stdout on a pipe.
// Kept open for the whole test program: a descriptor number used again would be another stream
// to the log, which tells each once.
std::FILE* PipeStream(bool readerGone, bool buffered) {
    static std::vector<std::FILE*> kept;
    int ends[2];
    if (::pipe(ends) != 0) {
        return nullptr;
    }
    if (readerGone) {
        ::close(ends[0]);
    }
    std::FILE* stream = ::fdopen(ends[1], "w");
    if (stream != nullptr && !buffered) {
        std::setvbuf(stream, nullptr, _IONBF, 0);
    }
    kept.push_back(stream);
    return stream;
}

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

TEST(OutputFlush, EachWriterGoesOnAndTheLogTellsAClosedStreamOnce) {
    struct Writer {
        const char* name;
        std::function<void(std::FILE*)> writeTwice;
    };
    ::setenv(kProgressLinesVariable, "1", 1);  // the bar draws lines on a pipe too
    const std::vector<Writer> writers = {
        {"a line",
         [](std::FILE* f) {
             CliOutput output(f);
             output.Line("one");
             output.Line("two\n");
             EXPECT_EQ(output.messages(), (std::vector<std::string>{"one", "two"}));
         }},
        {"the progress bar",
         [](std::FILE* f) {
             ProgressBar bar(f);
             bar.Update(1, 10);
             bar.Update(5, 10);
         }},
        {"the progress board",
         [](std::FILE* f) {
             ProgressBoard board(f, {"sim-1"}, false);
             board.Show(0, "one");
             board.Show(0, "two");
         }},
    };
    const auto previous = std::signal(SIGPIPE, SIG_IGN);  // as the program from its start
    for (const Writer& writer : writers) {
        for (const bool readerGone : {true, false}) {
            for (const bool buffered : {true, false}) {
                SCOPED_TRACE(std::string(writer.name) + (readerGone ? ", reader gone" : ", read") +
                             (buffered ? ", buffered" : ", unbuffered"));
                testing::LogCapture log;
                LogStart();
                std::FILE* stream = PipeStream(readerGone, buffered);
                ASSERT_NE(stream, nullptr);
                writer.writeTwice(stream);
                const std::string note =
                    "Output closed: descriptor " + std::to_string(::fileno(stream)) + " (";
                EXPECT_EQ(Count(log.Text(), note), readerGone ? 1 : 0) << log.Text();
                EXPECT_EQ(Count(log.Text(), "; the run goes on\n"), readerGone ? 1 : 0);
            }
        }
    }
    std::signal(SIGPIPE, previous);
    ::unsetenv(kProgressLinesVariable);
}

}  // namespace
}  // namespace tavlin::cli
