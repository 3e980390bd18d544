#include "cli/CliArgs.h"

#include "cli/CliCalibrate.h"
#include "console/NumberText.h"

namespace tavlin::cli {

const char* UsageText() {
    return "usage: tavlin-cli [--simulate [--sim-faults=PLAN]] COMMAND [ARGS...]\n"
           "\n"
           "Runs one device operation with the same workers, command thread, presence and log\n"
           "(Tavlin_log.txt in the current directory) as the Tavlin window.\n"
           "\n"
           "commands:\n"
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
           "  layout WxH               print the fifteen calibration targets of a W x H screen,\n"
           "                           one line each: number, x, y, target code (no device)\n"
           "  calibrate [--screen WxH] run a touch calibration for a W x H screen (default\n"
           "                           1920x1080): prints the instructions and each target\n"
           "                           as the crosshair moves to it; exit 0 once completed"
           "\n"
           "--i2c posts the sensor (I2C) request instead of the FPGA one, as the Sensor box does.\n"
           "--simulate uses the built-in simulated device instead of the USB device.\n"
           "\n"
           "exit status: 0 success, 1 the operation failed, 2 usage error, 3 no device\n";
}

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
    if (name == "layout" || name == "calibrate") {
        return ParseCalibrationCommand(name, rest, out, error);
    }
    *error = "unknown command '" + name + "'";
    return false;
}

}  // namespace tavlin::cli
