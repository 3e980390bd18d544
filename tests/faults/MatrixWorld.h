#pragma once
// The world one cell of the fault matrix runs in: a fresh simulated device, command thread,
// log and view (ConsoleTest), plus the workers the exit path stops.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "console/ConsoleFixture.h"
#include "console/FpgaDownload.h"
#include "console/ScriptRunner.h"

namespace tavlin::faults {

enum class Fault { None, NoReply, Refused, Unplug, StrayReport };

const char* FaultName(Fault fault);

class MatrixWorld : public testing::ConsoleTest {
  public:
    // Everything the front ends show, in one text: pane, then status, version and read values.
    std::string Shown() const;
    // Polls until `done` holds; false when the worker did not end within `limit` (a hang).
    static bool WaitEnded(const std::function<bool()>& done, std::chrono::milliseconds limit);

    // The Result the worker reported, where it reports one; a row's act sets it.
    std::optional<Result> outcome;
    // What a tool window showed (its status lines, one a line); a tool row's act sets it.
    std::string toolShown;
    ScriptRunner script{state, view};
    FpgaDownload fpga{state, view};
    using testing::ConsoleTest::commandThread;
    using testing::ConsoleTest::dir;
    using testing::ConsoleTest::firmware;
    using testing::ConsoleTest::Log;
    using testing::ConsoleTest::OutReports;
    using testing::ConsoleTest::state;
    using testing::ConsoleTest::transport;
    using testing::ConsoleTest::view;
    using testing::ConsoleTest::WriteFile;
};

// One device-facing worker as a row of the matrix. To add a worker, add a row to AllRows():
//   name      - the cell names' prefix (letters and digits only);
//   requests  - how many output reports one clean run sends; the clean cell checks it, and the
//               faults go at the 1st, the middle and the last of them;
//   act       - one user action of the worker, returning once the worker has ended; it returns
//               false when the worker did not end within its bound (use MatrixWorld::WaitEnded)
//               and stores the worker's Result in MatrixWorld::outcome where it has one (a
//               failure must never come back as success);
//   expect    - asserts what the tool shows (MatrixWorld::Shown) for a clean run (Fault::None;
//               a stray report is expected to change nothing) or for a fault at request `at`;
//               log lines of the link are checked by the matrix itself;
//   codeImage - for a code transfer: the bytes the device must receive, packet after packet, as
//               they go over the wire (scrambled where the worker scrambles), and packetCommand
//               the command byte of a code packet without its first/last flags.
// The matrix gives each cell a fresh world, injects the fault, bounds the time, checks the log
// line of the failure, runs the exit path and checks the log's end line, and compares every code
// packet that went out with the image.
struct WorkerRow {
    std::string name;
    int requests = 0;
    std::function<bool(MatrixWorld&)> act;
    std::function<void(MatrixWorld&, Fault, int at)> expect;
    std::function<std::vector<uint8_t>()> codeImage;
    uint8_t packetCommand = 0;
};

const std::vector<WorkerRow>& AllRows();
std::vector<WorkerRow> ConsoleRows();
std::vector<WorkerRow> ToolRows();

}  // namespace tavlin::faults
