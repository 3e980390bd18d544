#pragma once
#include <cstdint>

#include "platform/MessageQueue.h"

namespace tavlin {

// Thread messages of the device command thread.
inline constexpr uint32_t WM_FPGA_PORT_WRITE = WM_USER + 102;      // 1126
inline constexpr uint32_t WM_FPGA_PORT_READ = WM_USER + 103;       // 1127
inline constexpr uint32_t WM_FPGA_SINGLE_READ = WM_USER + 104;     // 1128
inline constexpr uint32_t WM_I2C_WRITE = WM_USER + 105;            // 1129
inline constexpr uint32_t WM_I2C_READ = WM_USER + 106;             // 1130
inline constexpr uint32_t WM_SWITCH_MODE = WM_USER + 107;          // 1131
inline constexpr uint32_t WM_BURST_READ = WM_USER + 108;           // 1132
inline constexpr uint32_t WM_BURST_WRITE = WM_USER + 109;          // 1133
inline constexpr uint32_t WM_CODE_PACKET = WM_USER + 110;          // 1134
inline constexpr uint32_t WM_GET_PREVIEW_DATA = WM_USER + 111;     // 1135
inline constexpr uint32_t WM_EXIT_CMD_THREAD = WM_USER + 112;      // 1136
inline constexpr uint32_t WM_SEARCH_START_LINE = WM_USER + 115;    // 1139
inline constexpr uint32_t WM_CONFIG_START_LINE = WM_USER + 116;    // 1140
inline constexpr uint32_t WM_SEARCH_COLUMN = WM_USER + 117;        // 1141
inline constexpr uint32_t WM_OPTIMIZE_LINE = WM_USER + 118;        // 1142
inline constexpr uint32_t WM_CAL_INIT = WM_USER + 119;             // 1143
inline constexpr uint32_t WM_CAL_POINT = WM_USER + 120;            // 1144
inline constexpr uint32_t WM_CAL_PARAM = WM_USER + 121;            // 1145
inline constexpr uint32_t WM_EXPOSURE = WM_USER + 124;             // 1148
inline constexpr uint32_t WM_UPDATE_CONTROL = WM_USER + 125;       // 1149
inline constexpr uint32_t WM_READ_IMAGE_VERSION = WM_USER + 126;   // 1150
inline constexpr uint32_t WM_WRITE_IMAGE_VERSION = WM_USER + 127;  // 1151
inline constexpr uint32_t WM_CODE_PACKET_2 = WM_USER + 128;        // 1152
inline constexpr uint32_t WM_READ_VERSION_INFO = WM_USER + 129;    // 1153
inline constexpr uint32_t WM_WRITE_VERSION_INFO = WM_USER + 130;   // 1154

// g_ImageTransferState: where the running code transfer stands (the FPGA download and the image
// update each claim it from idle, so only one of them runs).
inline constexpr uint8_t kTransferIdle = 0;
inline constexpr uint8_t kTransferFirst = 1;  // the first packet is pending
inline constexpr uint8_t kTransferOn = 2;     // the first packet was taken
inline constexpr uint8_t kTransferLast = 3;   // the last packet is pending

// The mark of a code packet: a transfer's last packet (a one-packet transfer's too) carries the
// last-packet flag, its first the first-packet flag, the others neither.
inline constexpr uint8_t CodePacketPhase(bool first, bool last) {
    return last ? kTransferLast : (first ? kTransferFirst : kTransferOn);
}

// Window messages of the main window.
inline constexpr uint32_t WM_START_DETECT = 1225;
inline constexpr uint32_t WM_CMD_DONE = 1232;

// Parameter blocks, little-endian and packed as the command thread reads them.
#pragma pack(push, 1)
struct RegWriteBlock {  // WM_FPGA_PORT_WRITE, WM_I2C_WRITE
    uint32_t addr;
    uint32_t count;
    uint32_t data;  // its low byte is written
};
struct RegReadBlock {  // WM_FPGA_PORT_READ, WM_I2C_READ, WM_READ_IMAGE_VERSION
    uint32_t addr;
    uint32_t count;
};
struct SingleReadBlock {  // WM_FPGA_SINGLE_READ
    uint32_t addr;
};
struct BurstBlock {  // WM_BURST_READ, WM_BURST_WRITE
    uint32_t addr;
    uint32_t length;
    char fileName[16];
};
struct PreviewChunkRequest {  // WM_GET_PREVIEW_DATA
    uint8_t mode;
    uint16_t source;
    uint8_t count;
    uint16_t destination;
};
struct StartLineSearchParam {  // WM_SEARCH_START_LINE
    uint16_t low;
    uint16_t high;
};
struct CalPointBlock {  // WM_CAL_POINT
    uint8_t payload[6];
    uint8_t kind;
};
struct CalParamBlock {  // WM_CAL_PARAM
    uint16_t a;
    uint16_t b;
};
struct AreaWriteBlock {  // WM_WRITE_IMAGE_VERSION, WM_WRITE_VERSION_INFO
    uint8_t area[3];
    uint8_t n;
    uint8_t data[58];
};
struct VersionInfoReadBlock {  // WM_READ_VERSION_INFO
    uint32_t addr;
    uint16_t count;
};
#pragma pack(pop)
static_assert(sizeof(RegWriteBlock) == 12);
static_assert(sizeof(BurstBlock) == 24);
static_assert(sizeof(PreviewChunkRequest) == 6);
static_assert(sizeof(CalPointBlock) == 7);

}  // namespace tavlin
