#include "cli/CliArgs.h"

#include <stdexcept>
#include "cli/CliCalibrate.h"
#include "console/NumberText.h"

namespace tavlin::cli {

const char* UsageText() {
    return "usage: tavlin-cli [--simulate [--sim-devices N] [--sim-faults=PLAN]] [--json]\n"
           "                  [--log-dir DIR] [--device PORT | --all]\n"
           "                  [--record FILE | --replay FILE [--replay-pace recorded]]\n"
           "                  COMMAND [ARGS...]\n"
           "\n"
           "Runs one device operation with the same workers, command thread, presence and log\n"
           "(Tavlin_log.txt in the current directory) as the Tavlin window.\n"
           "\n"
           "commands:\n"
           "  list                     list the attached devices, one line each: USB port,\n"
           "                           product id, application firmware or update\n"
           "                           environment, the system's path (exit 3: none)\n"
           "  detect                   detect the device; prints the status text\n"
           "  mode work                switch the device to work mode\n"
           "  mode calibration         switch the device to calibration mode (then shows the\n"
           "                           image versions, as the window's toggle does)\n"
           "  versions                 read and print the image versions of both sensors\n"
           "  read [--i2c] ADDR        read one register; ADDR as the Step Debug panel reads it\n"
           "                           (0x prefix: hexadecimal, else decimal; bits 24-25 select\n"
           "                           the register space, bit 28 the Slave sensor)\n"
           "  write [--i2c] ADDR VALUE write one register (the low byte of VALUE)\n"
           "  script FILE              run a register script\n"
           "  fpga FILE                download FPGA code (progress bar on a terminal)\n"
           "  update PACKAGE [--replug-timeout SECONDS] [--verify]\n"
           "                           update the firmware images named by the package file,\n"
           "                           as the window's firmware tool does: the device restarts\n"
           "                           in its update environment (waited for up to SECONDS,\n"
           "                           default 20), the images are written, the device is sent\n"
           "                           back; --verify then compares the versions it reports\n"
           "                           with the package\n"
           "  level [--frames N] [--exposure] [--png DIR]\n"
           "                           level the optical modules: search, N preview cycles\n"
           "                           (default 1), the exposure with --exposure (then leave\n"
           "                           with OK, mode 0xEE; else Cancel, work mode), and the\n"
           "                           two pictures as DIR/master.png and DIR/slave.png\n"
           "                           (DIR is made first); each status line starts with\n"
           "                           its sensor's name\n"
           "  layout WxH               print the fifteen calibration targets of a W x H screen,\n"
           "                           one line each: number, x, y, target code (no device)\n"
           "  calibrate [--screen WxH] [--target-limit SECONDS]\n"
           "                           run a touch calibration for a W x H screen (default\n"
           "                           1920x1080): prints the instructions and each target\n"
           "                           as the crosshair moves to it, and the storing's\n"
           "                           percentage once per value (one line redrawn in place\n"
           "                           on a terminal); exit 0 once completed; a target without\n"
           "                           a valid sample for SECONDS (default 30) ends it (exit 1),\n"
           "                           as does a device that went away, even if it came back"
           "\n"
           "--i2c posts the sensor (I2C) request instead of the FPGA one, as the Sensor box does.\n"
           "--simulate uses the built-in simulated device instead of the USB device;\n"
           "--sim-devices N simulates N devices on ports sim-1 to sim-N.\n"
           "--device PORT works on the device on that USB port only (see list), and follows it\n"
           "through its restarts on that port. Without it, a run refuses to choose when\n"
           "several devices are attached (exit 2).\n"
           "--all runs versions, mode or update on every attached device at once, one process\n"
           "per device, each logging into its own folder DIR/PORT (DIR from --log-dir, else\n"
           "the current folder); exit 0 only when every device succeeded.\n"
           "--json ends the run with one JSON object on one line on stdout (command, exit,\n"
           "result, interrupted, reason, messages, device, log, elapsed_ms, and what the\n"
           "command produced); the texts for people then go to stderr.\n"
           "--log-dir DIR writes the log into DIR (created when missing; a folder that cannot\n"
           "be written ends the run at once with exit status 2).\n"
           "--record FILE writes every report to and from the device, and its arrivals and\n"
           "removals, to FILE (JSON lines, see the README).\n"
           "--replay FILE plays such a recording back in the device's place; the first output\n"
           "report that differs from the recorded one fails the command. --replay-pace recorded\n"
           "keeps the recorded timing (default: replies at once).\n"
           "\n"
           "exit status: 0 success, 1 the operation failed, 2 usage error, 3 no device,\n"
#ifdef _WIN32
           "4 the device is there but cannot be opened (close the other program that uses it,\n"
           "or ask for the right to open it)\n";
#else
           "4 the device is there but this user may not open it (install the package's udev\n"
           "rules, then re-plug the device)\n";
#endif
}

namespace {

bool ParseUpdate(std::vector<std::string> rest, Invocation* out, std::string* error) {
    out->command = Command::Update;
    for (size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == "--verify") {
            out->verify = true;
        } else if (rest[i] == "--replug-timeout") {
            int seconds = -1;
            if (i + 1 < rest.size()) {
                try {
                    size_t used = 0;
                    seconds = std::stoi(rest[i + 1], &used);
                    seconds = used == rest[i + 1].size() ? seconds : -1;
                } catch (const std::exception&) {
                    seconds = -1;
                }
            }
            if (seconds < 1 || seconds > 3600) {
                *error = "--replug-timeout takes a number of seconds from 1 to 3600";
                return false;
            }
            out->replugTimeoutSeconds = seconds;
            ++i;
        } else if (out->file.empty() && rest[i].rfind("--", 0) != 0) {
            out->file = rest[i];
        } else {
            *error = "unexpected argument '" + rest[i] + "' to 'update'";
            return false;
        }
    }
    if (out->file.empty()) {
        *error = "'update' takes a package file";
        return false;
    }
    return true;
}

bool ParseLevelOptions(const std::vector<std::string>& rest, Invocation* out, std::string* error) {
    for (size_t i = 0; i < rest.size(); ++i) {
        const std::string& option = rest[i];
        const bool hasValue = i + 1 < rest.size();
        if (option == "--exposure") {
            out->exposure = true;
        } else if (option == "--frames" && hasValue) {
            const std::string& n = rest[++i];
            if (n.empty() || n.size() > 6 ||
                n.find_first_not_of("0123456789") != std::string::npos || std::stoi(n) < 1) {
                *error = "--frames takes a number of cycles from 1, not '" + n + "'";
                return false;
            }
            out->frames = std::stoi(n);
        } else if (option == "--png" && hasValue) {
            out->pngDir = rest[++i];
        } else {
            *error = "level: unknown or incomplete option '" + option + "'";
            return false;
        }
    }
    return true;
}

}  // namespace

bool ParseInvocation(const std::vector<std::string>& args, Invocation* out, std::string* error) {
    *out = Invocation{};
    if (args.empty()) {
        *error = "no command given";
        return false;
    }
    std::vector<std::string> rest(args.begin() + 1, args.end());
    const std::string& name = args[0];
    auto takeI2c = [&] {
        if (!rest.empty() && rest[0] == "--i2c") {
            out->i2c = true;
            rest.erase(rest.begin());
        }
    };
    auto expect = [&](size_t n) {
        if (rest.size() != n) {
            *error =
                "'" + name + "' takes " + std::to_string(n) + " argument" + (n == 1 ? "" : "s");
            return false;
        }
        return true;
    };
    if (name == "--help" || name == "-h" || name == "help") {
        out->command = Command::Help;
        return true;
    }
    if (name == "detect" || name == "versions") {
        out->command = name == "detect" ? Command::Detect : Command::Versions;
        return expect(0);
    }
    if (name == "list") {
        out->command = Command::List;
        return expect(0);
    }
    if (name == "mode") {
        if (!expect(1)) {
            return false;
        }
        if (rest[0] == "work") {
            out->command = Command::ModeWork;
        } else if (rest[0] == "calibration") {
            out->command = Command::ModeCalibration;
        } else {
            *error = "mode is 'work' or 'calibration', not '" + rest[0] + "'";
            return false;
        }
        return true;
    }
    if (name == "read") {
        takeI2c();
        if (!expect(1)) {
            return false;
        }
        out->command = Command::Read;
        out->address = rest[0];
        // The panel reads a number-less address as 0; a station asking for a register by a
        // mistyped address must not get register 0's value.
        uint32_t address = 0;
        if (!StrToIntEx(out->address, &address)) {
            *error = "'" + out->address + "' is not a register address";
            return false;
        }
        return true;
    }
    if (name == "write") {
        takeI2c();
        if (!expect(2)) {
            return false;
        }
        out->command = Command::Write;
        out->address = rest[0];
        out->value = rest[1];
        return true;
    }
    if (name == "script" || name == "fpga") {
        if (!expect(1)) {
            return false;
        }
        out->command = name == "script" ? Command::Script : Command::Fpga;
        out->file = rest[0];
        return true;
    }
    if (name == "update") {
        return ParseUpdate(rest, out, error);
    }
    if (name == "level") {
        out->command = Command::Level;
        return ParseLevelOptions(rest, out, error);
    }
    if (name == "layout" || name == "calibrate") {
        return ParseCalibrationCommand(name, rest, out, error);
    }
    *error = "unknown command '" + name + "'";
    return false;
}

}  // namespace tavlin::cli
