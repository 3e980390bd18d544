// The recording's file: what the writer puts there reads back the same, nothing queued is lost
// when the writer closes, and a file that is not a recording is refused with the line at fault.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

#include "trace/TraceFormat.h"
#include "trace/TraceReader.h"
#include "trace/TraceWriter.h"

namespace tavlin {
namespace {

class TraceFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path_ = (std::filesystem::temp_directory_path() /
                 ("trace-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                  "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name()))
                    .string();
    }
    void TearDown() override { std::filesystem::remove(path_); }

    void WriteLines(const std::vector<std::string>& lines) {
        std::ofstream out(path_);
        for (const std::string& line : lines) {
            out << line << "\n";
        }
    }

    std::string path_;
};

TraceEvent Report(TraceEvent::Kind kind, std::vector<uint8_t> bytes) {
    TraceEvent event;
    event.kind = kind;
    event.bytes = std::move(bytes);
    return event;
}

TEST_F(TraceFileTest, EveryKindOfEventReadsBackAsWritten) {
    std::vector<TraceEvent> written;
    TraceEvent arrival = Report(TraceEvent::Kind::Arrival, {0x05, 0x0D, 0xC0});
    arrival.info = {"/dev/hidraw3", kVendorId, kProductIdUpdate, kVendorUsagePage, kVendorUsage};
    arrival.look = 4;
    written.push_back(arrival);
    written.push_back(Report(TraceEvent::Kind::Out, {0x03, 0x2D, 0x00, 0xFF}));
    written.push_back(Report(TraceEvent::Kind::In, {0x01, 0x2D, 0x22}));
    TraceEvent failed = Report(TraceEvent::Kind::Out, {0x03, 0x0E});
    failed.outcome = IoResult::Error(31);
    written.push_back(failed);
    TraceEvent gone = Report(TraceEvent::Kind::Out, {0x03, 0x0F});
    gone.outcome = IoResult::Gone();
    written.push_back(gone);
    TraceEvent removal;
    removal.kind = TraceEvent::Kind::Removal;
    removal.info.path = "/dev/hidraw3";
    removal.look = 5;
    written.push_back(removal);
    written.push_back(Report(TraceEvent::Kind::Notice, {}));
    TraceEvent port = Report(TraceEvent::Kind::Port, {});
    port.info.port = "1-1.4";
    written.push_back(port);
    {
        auto writer = TraceWriter::Create(path_, "9.9");
        ASSERT_NE(writer, nullptr);
        for (const TraceEvent& event : written) {
            writer->Add(event);
        }
    }
    std::ifstream in(path_);
    std::string header;
    std::getline(in, header);
    EXPECT_EQ(header.rfind(R"({"format":"tavlin-trace","version":1,"tool":"9.9","platform":)", 0),
              0u)
        << header;

    TraceProblem problem;
    const auto read = ReadTrace(path_, &problem);
    ASSERT_TRUE(read.has_value()) << problem.detail;
    // Closing adds the end line: the recording holds the whole run.
    ASSERT_EQ(read->size(), written.size() + 1);
    EXPECT_EQ(read->back().kind, TraceEvent::Kind::End);
    EXPECT_TRUE(read->back().complete);
    uint64_t previous = 0;
    for (size_t i = 0; i < written.size(); ++i) {
        const TraceEvent& a = written[i];
        const TraceEvent& b = (*read)[i];
        EXPECT_EQ(b.kind, a.kind) << i;
        EXPECT_EQ(b.bytes, a.bytes) << i;
        EXPECT_EQ(b.outcome.status, a.outcome.status) << i;
        EXPECT_EQ(b.outcome.code, a.outcome.code) << i;
        EXPECT_EQ(b.info.path, a.info.path) << i;
        EXPECT_EQ(b.info.productId, a.info.productId) << i;
        EXPECT_EQ(b.info.usagePage, a.info.usagePage) << i;
        EXPECT_EQ(b.info.port, a.info.port) << i;
        EXPECT_EQ(b.line, static_cast<int>(i) + 2) << i;
        EXPECT_EQ(b.look, a.look) << i;
        EXPECT_GE(b.us, previous) << "times run backwards at " << i;
        previous = b.us;
    }
}

TEST_F(TraceFileTest, ClosingWritesEverythingQueuedFromEveryThread) {
    constexpr int kPerThread = 20000;
    {
        auto writer = TraceWriter::Create(path_, "1");
        ASSERT_NE(writer, nullptr);
        auto add = [&writer] {
            for (int i = 0; i < kPerThread; ++i) {
                writer->Add(Report(TraceEvent::Kind::In, {0x03, static_cast<uint8_t>(i)}));
            }
        };
        std::thread other(add);
        add();
        other.join();
        writer->Close();  // at once, with most events still queued
    }
    TraceProblem problem;
    const auto read = ReadTrace(path_, &problem);
    ASSERT_TRUE(read.has_value()) << problem.detail;
    ASSERT_EQ(read->size(), 2u * kPerThread + 1);
    EXPECT_EQ(read->back().kind, TraceEvent::Kind::End);
}

#ifndef _WIN32
// A recording that ends early (the file cannot grow, the writer falls behind) says so, and what
// it holds is whole up to where it ended: it reads back as the first of the events added.
TEST_F(TraceFileTest, ARecordingCutShortSaysWhyAndReadsBackUpToWhereItEnded) {
    const auto addMany = [](TraceWriter& writer) {
        for (int i = 0; i < 2000; ++i) {
            writer.Add(Report(TraceEvent::Kind::In, std::vector<uint8_t>(64, uint8_t(i))));
        }
    };
    struct Case {
        const char* name;
        rlim_t fileLimit;  // bytes; RLIM_INFINITY: none
        size_t maxQueued;
        const char* reason;
        bool endLine;  // a file that can still be written says at its end that it is cut short
    };
    const Case cases[] = {
        {"file full", 16 * 1024, TraceWriter::kMaxQueued, "writing the file failed", false},
        {"queue full", RLIM_INFINITY, 100, "the writer fell behind", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        rlimit saved{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);  // a failed write, as on a full disk
        rlimit limited = saved;
        limited.rlim_cur = c.fileLimit;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
        TraceWriter::Status status;
        {
            auto writer = TraceWriter::Create(path_, "test", c.maxQueued);
            ASSERT_NE(writer, nullptr);
            addMany(*writer);
            writer->Close();
            status = writer->status();
        }
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);

        EXPECT_FALSE(status.complete);
        EXPECT_NE(status.reason.find(c.reason), std::string::npos) << status.reason;
        TraceProblem problem;
        const auto read = ReadTrace(path_, &problem);
        ASSERT_TRUE(read.has_value()) << problem.detail << " at line " << problem.line;
        ASSERT_GT(read->size(), 1u);
        EXPECT_LT(read->size(), 2000u);
        const bool ended = read->back().kind == TraceEvent::Kind::End;
        EXPECT_EQ(ended, c.endLine);
        if (ended) {
            EXPECT_FALSE(read->back().complete);
            EXPECT_NE(read->back().reason.find(c.reason), std::string::npos);
        }
        for (size_t i = 0; i + (ended ? 1 : 0) < read->size(); ++i) {
            ASSERT_EQ((*read)[i].bytes, std::vector<uint8_t>(64, uint8_t(i))) << i;
        }
    }
}
#endif

// An overflow leaves a gap: what comes once the writer has caught up must not be written after
// it, where a replay would take it for what followed the last event before the gap.
TEST_F(TraceFileTest, AfterAnOverflowNothingMoreIsTakenOnceTheQueueHasDrained) {
    TraceWriter::Status status;
    {
        auto writer = TraceWriter::Create(path_, "test", 4);
        ASSERT_NE(writer, nullptr);
        for (int i = 0; i < 200; ++i) {
            writer->Add(Report(TraceEvent::Kind::In, {0x03, static_cast<uint8_t>(i)}));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(300));  // several write periods
        for (int i = 0; i < 3; ++i) {
            writer->Add(Report(TraceEvent::Kind::In, {0x04, static_cast<uint8_t>(i)}));
        }
        writer->Close();
        status = writer->status();
    }
    EXPECT_FALSE(status.complete);
    EXPECT_NE(status.reason.find("the writer fell behind"), std::string::npos) << status.reason;
    TraceProblem problem;
    const auto read = ReadTrace(path_, &problem);
    ASSERT_TRUE(read.has_value()) << problem.detail << " at line " << problem.line;
    // The reports, without the closing line that marks the recording incomplete.
    std::vector<TraceEvent> reports;
    for (const TraceEvent& event : *read) {
        if (event.kind != TraceEvent::Kind::End) {
            reports.push_back(event);
        }
    }
    ASSERT_GT(reports.size(), 0u);
    EXPECT_LT(reports.size(), 200u);
    for (size_t i = 0; i < reports.size(); ++i) {
        EXPECT_EQ(reports[i].bytes, (std::vector<uint8_t>{0x03, static_cast<uint8_t>(i)})) << i;
    }
}

TEST_F(TraceFileTest, AFileThatIsNoRecordingIsRefusedWithTheLineAtFault) {
    TraceProblem problem;
    EXPECT_FALSE(ReadTrace(path_ + ".missing", &problem));
    EXPECT_EQ(problem.kind, TraceProblem::Kind::Unreadable);

    const std::string header = R"({"format":"tavlin-trace","version":1,"tool":"1"})";
    const std::string out = R"({"t":5,"event":"out","report":"032d"})";
    struct Case {
        std::vector<std::string> lines;
        TraceProblem::Kind kind;
        int line;
    };
    const Case cases[] = {
        {{R"({"format":"tavlin-trace","version":2})", out}, TraceProblem::Kind::UnknownFormat, 1},
        {{R"({"format":"other","version":1})"}, TraceProblem::Kind::UnknownFormat, 1},
        {{}, TraceProblem::Kind::UnknownFormat, 0},
        {{"not json"}, TraceProblem::Kind::UnknownFormat, 1},
        {{header, out, R"({"t":6,"event":"in","report":"03zz"})"}, TraceProblem::Kind::BadLine, 3},
        {{header, out, R"({"t":6,"event":"in","report":"032"})"}, TraceProblem::Kind::BadLine, 3},
        {{header, R"({"t":6,"event":"sideways","report":"03"})"}, TraceProblem::Kind::BadLine, 2},
        {{header, R"({"event":"out","report":"03"})"}, TraceProblem::Kind::BadLine, 2},
        {{header, R"({"t":1,"event":"arrival","path":"p","vendor_id":70000,"product_id":85,)"
                  R"("usage_page":1,"usage":1,"descriptor":""})"},
         TraceProblem::Kind::BadLine,
         2},
        {{header, out, R"({"t":7,"event":"out","report":"03",)"}, TraceProblem::Kind::BadLine, 3},
        // Damage that crashed the reader: members of the wrong type, nesting without end, a
        // line longer than any event.
        {{R"({"format":5,"version":1})", out}, TraceProblem::Kind::UnknownFormat, 1},
        {{R"({"format":"tavlin-trace","version":"1"})", out}, TraceProblem::Kind::UnknownFormat, 1},
        {{header, std::string(50000, '[') + std::string(50000, ']')},
         TraceProblem::Kind::BadLine,
         2},
        {{header, out,
          R"({"t":7,"event":"in","report":")" + std::string(kMaxTraceLine, '0') + "\"}"},
         TraceProblem::Kind::BadLine,
         3},
    };
    for (const Case& c : cases) {
        WriteLines(c.lines);
        problem = {};
        EXPECT_FALSE(ReadTrace(path_, &problem)) << ::testing::PrintToString(c.lines);
        EXPECT_EQ(problem.kind, c.kind) << ::testing::PrintToString(c.lines);
        if (c.line > 0) {
            EXPECT_EQ(problem.line, c.line) << ::testing::PrintToString(c.lines);
        }
    }
    // Windows line ends and blank lines are no fault.
    WriteLines({header + "\r", "", out + "\r"});
    const auto read = ReadTrace(path_, &problem);
    ASSERT_TRUE(read.has_value()) << problem.detail;
    EXPECT_EQ(read->size(), 1u);
}

}  // namespace
}  // namespace tavlin
