#pragma once
#include <functional>
#include <string>

namespace tavlin {

// The string table: user-visible texts by id, in the program's own language (Simplified
// Chinese, UTF-8). A translator installed by the front end (from the language file chosen at
// start-up) maps each built-in text to the user's language; without one the built-in text is
// returned.
enum StringId : int {
    IDS_ABOUTBOX = 101,
    IDS_EXPOSURE_RUNNING = 102,
    IDS_DETECT_DONE = 103,
    IDS_NO_DEVICE = 104,
    IDS_DETECTING = 106,
    IDS_EXPOSURE_DONE = 107,
    IDS_SEARCHING = 108,
    IDS_LEVEL_UNPLUGGED = 109,
    IDS_MODE_CALIBRATION = 110,
    IDS_MODE_WORK = 111,
    IDS_ROW_SELECTED = 112,
    IDS_LEVEL_TIPS = 116,
    IDS_INITIALISING = 117,
    IDS_ADJUST_EXPOSURE_FIRST = 119,
    IDS_CAL_NEED_MODE = 125,
    IDS_NOW_WORK_MODE = 134,
    IDS_NOW_CALIBRATION_MODE = 135,
    IDS_SWITCH_FAILED = 136,
    IDS_STARTLINE_SEARCH_FAILED = 138,
    IDS_STARTLINE_CONFIG_FAILED = 139,
    IDS_COLUMN_SEARCH_FAILED = 140,
    IDS_STITCH_FAILED = 142,
    IDS_VERSION_FAILED = 143,
    IDS_EXPOSURE_FAILED = 144,
    IDS_FW_ENV_READY = 145,
    IDS_FW_ENV_FAILED = 147,
    IDS_FW_NOT_READY = 148,
    // A device of ours is there but its node refuses this user (no udev rules, wrong group).
    IDS_NO_ACCESS = 160,
    // What the command-line front end puts before each line of a sensor's status text.
    IDS_MASTER_PREFIX = 161,
    IDS_SLAVE_PREFIX = 162,
    // --log-dir names a folder that cannot be made or written: the folder, the system's reason.
    IDS_LOG_DIR_REFUSED = 163,
    // Some entries of the run's log did not reach its file (the log named by %s).
    IDS_LOG_INCOMPLETE = 164,
    // Windows: a device of ours is there but its open was refused (access denied: the user's
    // rights; sharing violation: another program holds it).
    IDS_NO_ACCESS_WINDOWS = 170,
};

// The no-access text of the system the program runs on: what the operator can do differs.
#ifdef _WIN32
inline constexpr StringId IDS_NO_ACCESS_HERE = IDS_NO_ACCESS_WINDOWS;
#else
inline constexpr StringId IDS_NO_ACCESS_HERE = IDS_NO_ACCESS;
#endif

// The built-in (Chinese) text of an id; empty for an unknown id.
const char* BuiltInString(int id);

// The text of an id in the current language.
std::string LoadString(int id);

// Every id of the table, in ascending order.
const int* AllStringIds(size_t* count);

// The translator maps a built-in text to the current language; empty = built-in texts.
using StringTranslator = std::function<std::string(const char* builtIn)>;
void SetStringTranslator(StringTranslator translator);

// Translates any built-in text of the program (also those that have no id).
std::string Tr(const char* builtIn);

}  // namespace tavlin
