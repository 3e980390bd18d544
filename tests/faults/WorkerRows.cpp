// The rows of the fault matrix: the device-facing workers as a user starts them.
#include <gmock/gmock.h>

#include "MatrixWorld.h"
#include "base/StringTable.h"
#include "console/FpgaScrambler.h"
#include "console/ModeSwitcher.h"
#include "console/RegisterPanel.h"
#include "console/VersionQuery.h"

namespace tavlin::faults {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using namespace std::chrono_literals;

constexpr auto kWorkerBound = 5s;
constexpr const char* kVersions = "IMAGE Version: M--00000012, S--abcdef01\n";

void SetVersions(MatrixWorld& w) {
    w.firmware().setImageVersion(kMaster, 0x12);
    w.firmware().setImageVersion(kSlave, 0xABCDEF01);
}

std::string FpgaFile() {
    std::string bytes(62 * 6 + 10, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i * 13 + 5);
    }
    return bytes;
}

WorkerRow ModeSwitchRow() {
    WorkerRow row;
    row.name = "ModeSwitch";
    row.requests = 2;  // the switch, then the version read
    row.act = [](MatrixWorld& w) {
        SetVersions(w);
        ModeSwitcher switcher(w.state, w.view);
        Result outcome;
        switcher.Toggle(LoadString(IDS_MODE_CALIBRATION), &outcome);
        w.outcome = outcome;
        return true;  // the toggle waits for its requests itself
    };
    row.expect = [](MatrixWorld& w, Fault fault, int at) {
        const std::string shown = w.Shown();
        if (fault == Fault::None) {
            EXPECT_THAT(shown, HasSubstr(LoadString(IDS_NOW_CALIBRATION_MODE)));
            EXPECT_THAT(shown, HasSubstr(kVersions));
        } else if (at == 1) {
            EXPECT_THAT(shown, HasSubstr("Switch work model failed, please try again!\n"));
            EXPECT_THAT(shown, HasSubstr(LoadString(IDS_SWITCH_FAILED)));
            EXPECT_THAT(shown, Not(HasSubstr("IMAGE Version: M--")));
        } else {
            EXPECT_THAT(shown, HasSubstr(LoadString(IDS_NOW_CALIBRATION_MODE)));
            EXPECT_THAT(shown, HasSubstr(LoadString(IDS_VERSION_FAILED)));
            EXPECT_THAT(shown, Not(HasSubstr("IMAGE Version: M--")));
        }
    };
    return row;
}

WorkerRow VersionQueryRow() {
    WorkerRow row;
    row.name = "VersionQuery";
    row.requests = 1;
    row.act = [](MatrixWorld& w) {
        SetVersions(w);
        VersionQuery versions(w.state, w.view);
        w.outcome = versions.VersionButton();
        return true;
    };
    row.expect = [](MatrixWorld& w, Fault fault, int) {
        const std::string shown = w.Shown();
        if (fault == Fault::None) {
            EXPECT_THAT(shown, HasSubstr(kVersions));
        } else {
            EXPECT_THAT(shown, HasSubstr(LoadString(IDS_VERSION_FAILED)));
            EXPECT_THAT(shown, Not(HasSubstr("IMAGE Version: M--")));
        }
    };
    return row;
}

WorkerRow RegisterPanelRow() {
    WorkerRow row;
    row.name = "RegisterPanel";
    row.requests = 2;  // a write, then a read of another register
    row.act = [](MatrixWorld& w) {
        w.firmware().setFpgaRegister(0, 0x0011, 0x6B);
        RegisterPanel panel(w.state, w.view);
        EXPECT_TRUE(panel.Write("0x10", "0x5A", false).ok()) << "not posted";
        // The panel does not wait; the command thread answers in the pane.
        if (!MatrixWorld::WaitEnded([&] { return w.view.cmdDone() >= 1; }, kWorkerBound)) {
            return false;
        }
        EXPECT_TRUE(panel.Read("0x11", false).ok()) << "not posted";
        return MatrixWorld::WaitEnded([&] { return w.view.cmdDone() >= 2; }, kWorkerBound);
    };
    row.expect = [](MatrixWorld& w, Fault fault, int at) {
        const std::string shown = w.Shown();
        // A fault hits its request and every later one.
        const bool failed = fault != Fault::None;
        EXPECT_THAT(shown, HasSubstr(failed && at == 1 ? "Master: FPGAPortWrite error\n"
                                                       : "Master: FPGAPortWrite Addr: 0x0010  "
                                                         "value: 0x5a\n"));
        EXPECT_THAT(shown, HasSubstr(failed ? "Master: FPGASingleRead error\n"
                                            : "Master: FPGASingleRead Addr: 0x0011  value: "
                                              "0x6b\n"));
    };
    return row;
}

WorkerRow ScriptRunnerRow() {
    WorkerRow row;
    row.name = "ScriptRunner";
    row.requests = 3;
    row.act = [](MatrixWorld& w) {
        w.firmware().setFpgaRegister(0, 0x0011, 0x6B);
        EXPECT_TRUE(
            w.script.Start(w.WriteFile("s.ini", "1 pwd 10 1 5A\n1 srd 11\n1 prd 10 1\n")).ok());
        const bool ended = w.state.g_ScriptFinishedEvent.Wait(5000) == WAIT_OBJECT_0;
        w.script.Stop();
        w.outcome = w.script.outcome();
        return ended;
    };
    row.expect = [](MatrixWorld& w, Fault fault, int at) {
        const std::string shown = w.Shown();
        const char* lines[] = {"Master: FPGAPortWrite", "Master: FPGASingleRead",
                               "Master: FPGAPortRead"};
        const char* values[] = {" Addr: 0x0010  value: 0x5a\n", " Addr: 0x0011  value: 0x6b\n",
                                " Addr: 0x0010  value: 0x5a\n"};
        for (int i = 1; i <= 3; ++i) {
            const std::string line = lines[i - 1];
            if (fault == Fault::None || i < at) {
                EXPECT_THAT(shown, HasSubstr(line + values[i - 1])) << i;
            } else if (i == at) {
                EXPECT_THAT(shown, HasSubstr(line + " error\n")) << i;
            } else {
                // Whether the script goes on after a failed request or stops there, a later
                // request never succeeds on a device that failed from `at` on.
                EXPECT_THAT(shown, Not(HasSubstr(line + " Addr: 0x00"))) << i;
            }
        }
        if (fault == Fault::None) {
            EXPECT_THAT(shown, HasSubstr("Success!\n"));
        }
    };
    return row;
}

WorkerRow FpgaDownloadRow() {
    WorkerRow row;
    row.name = "FpgaDownload";
    row.requests = 7;  // 62 * 6 + 10 bytes
    row.act = [](MatrixWorld& w) {
        EXPECT_TRUE(w.fpga.Start(w.WriteFile("code.bin", FpgaFile())).ok());
        const bool ended = w.state.g_FpgaFinishedEvent.Wait(5000) == WAIT_OBJECT_0;
        w.fpga.Stop();
        w.outcome = w.fpga.outcome();
        return ended;
    };
    row.expect = [](MatrixWorld& w, Fault fault, int) {
        const std::string shown = w.Shown();
        if (fault == Fault::None) {
            EXPECT_THAT(shown, HasSubstr("Success!\nWrite FPGA Code 0KB Success!\n"));
            EXPECT_EQ(w.firmware().completedTransferCount(0, sim::CodeTarget::Packet), 1);
        } else {
            EXPECT_THAT(shown, HasSubstr("Download FPGA failed!\n"));
            EXPECT_THAT(shown, Not(HasSubstr("Success!")));
        }
    };
    row.codeImage = [] {
        const std::string file = FpgaFile();
        std::vector<uint8_t> bytes(file.begin(), file.end());
        FpgaScrambler scrambler;
        scrambler.Scramble(bytes.data(), bytes.size());
        return bytes;
    };
    row.packetCommand = cmd::kCodePacketMaster;
    return row;
}

}  // namespace

std::vector<WorkerRow> ConsoleRows() {
    return {ModeSwitchRow(), VersionQueryRow(), RegisterPanelRow(), ScriptRunnerRow(),
            FpgaDownloadRow()};
}

const std::vector<WorkerRow>& AllRows() {
    static const std::vector<WorkerRow> rows = [] {
        std::vector<WorkerRow> all = ConsoleRows();
        for (WorkerRow& row : ToolRows()) {
            all.push_back(std::move(row));
        }
        return all;
    }();
    return rows;
}

}  // namespace tavlin::faults
