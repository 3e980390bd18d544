#include "console/ExitProcedure.h"

#include "console/ConsoleFixture.h"
#include "console/FpgaDownload.h"
#include "console/ScriptRunner.h"

namespace tavlin::testing {
namespace {

class ExitProcedureTest : public ConsoleTest {
  protected:
    ScriptRunner script{state, view};
    FpgaDownload fpga{state, view};
};

TEST_F(ExitProcedureTest, ExitWhileAScriptRunsStopsItThenTheCommandThread) {
    ASSERT_TRUE(state.AllocatePreviewBuffers());
    state.g_isBurstFileUsed = 1;
    state.g_isVersionsShown = 1;
    EXPECT_TRUE(script.Start(WriteFile("s.ini", "1 # 30000\n1 pwd 10 1 5\n")));
    ASSERT_TRUE(view.WaitForPane("delay 30000 ms\n"));
    const auto start = std::chrono::steady_clock::now();
    StopWorkers(state, &script, &fpga, &commandThread);
    ShutdownCleanup(state);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_EQ(state.g_ScriptThread, nullptr);
    EXPECT_EQ(state.g_CmdThread, nullptr);
    EXPECT_EQ(view.pane(), "delay 30000 ms\n") << "a stopped script is no success";
    EXPECT_EQ(script.outcome().code(), ResultCode::Stopped);
    EXPECT_EQ(Sent(cmd::kFpgaWrite), 0);
    EXPECT_EQ(state.g_PreviewBufM, nullptr);
    EXPECT_EQ(state.g_isBurstFileUsed, 0);
    EXPECT_EQ(state.g_isVersionsShown, 0);
    EXPECT_NE(Log().find("Tavlin log end!"), std::string::npos);
}

TEST_F(ExitProcedureTest, ExitDuringADownloadEndsItWithoutSuccess) {
    transport.faults().SetLatency(2ms);
    EXPECT_TRUE(fpga.Start(WriteFile("a.bin", std::string(62 * 1000, 'x'))));
    ASSERT_TRUE(view.WaitForPane("begins to burn"));
    StopWorkers(state, &script, &fpga, &commandThread);
    EXPECT_EQ(state.g_FpgaDownloadThread, nullptr);
    EXPECT_EQ(state.g_CmdThread, nullptr);
    EXPECT_EQ(view.pane().find("Success!"), std::string::npos);
}

TEST_F(ExitProcedureTest, WorkersThatJustEndedOrNeverRanDoNotHoldTheExit) {
    // The worker ends on its own right around the moment the exit looks at it.
    for (int i = 0; i < 200; ++i) {
        EXPECT_TRUE(script.Start((dir / "missing.ini").string()));
        EXPECT_TRUE(fpga.Start((dir / "missing.bin").string()));
        if (i % 2 == 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(i * 5));
        }
        script.Stop();
        fpga.Stop();
        ASSERT_EQ(state.g_ScriptThread, nullptr);
        ASSERT_EQ(state.g_FpgaDownloadThread, nullptr);
    }
    StopWorkers(state, &script, &fpga, &commandThread);
    StopWorkers(state, &script, &fpga, &commandThread);  // a second exit finds nothing to stop
    EXPECT_EQ(state.g_CmdThread, nullptr);
}

}  // namespace
}  // namespace tavlin::testing
