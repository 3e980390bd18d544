// tavlin-cli as `--all` runs a copy of itself per device: started through ChildProcess, its
// progress read line by line, stopped by its parent's Interrupt (SIGTERM; Ctrl+Break to a child
// in a process group of its own on Windows), which must end the run through its own exit path.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <future>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/CliSession.h"
#include "platform/ChildProcess.h"

namespace tavlin::cli {
namespace {

using namespace std::chrono_literals;

TEST(CliAsChild, AnInterruptFromItsParentEndsTheRunThroughItsExitPath) {
    const char* cli = std::getenv("TAVLIN_CLI_EXE");
    ASSERT_NE(cli, nullptr) << "TAVLIN_CLI_EXE names the tavlin-cli to run";
    {
        std::ofstream script("long.ini");
        for (int i = 0; i < 2000; ++i) {
            script << "1 srd 11\n";  // about a minute on the slow link: never ends by itself
        }
    }
    std::mutex mutex;
    std::condition_variable changed;
    bool working = false;
    std::string error;
    auto child = ChildProcess::Start(
        cli, {"--simulate", "--sim-faults", "latency=10ms", "--json", "script", "long.ini"},
        [&](const std::string& line) {
            if (line.find("FPGASingleRead") != std::string::npos) {
                std::lock_guard lock(mutex);
                working = true;
                changed.notify_all();
            }
        },
        &error);
    ASSERT_NE(child, nullptr) << error;
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(changed.wait_for(lock, 30s, [&] { return working; }))
            << "the script never started";
    }

    child->Interrupt();
    ChildProcess* const running = child.get();
    auto status = std::async(std::launch::async, [running] { return running->Wait(); });
    if (status.wait_for(20s) != std::future_status::ready) {
        child.reset();  // ends it, so that the test fails rather than hangs
        status.wait();
        FAIL() << "the run went on after the interrupt";
    }
    EXPECT_EQ(status.get(), kExitFailed);
    const auto report = nlohmann::json::parse(child->StandardOutput(), nullptr, false);
    ASSERT_TRUE(report.is_object()) << child->StandardOutput();
    EXPECT_EQ(report.value("interrupted", false), true) << report.dump();
    EXPECT_EQ(report.value("log_complete", false), true) << report.dump();
}

}  // namespace
}  // namespace tavlin::cli
