#include "console/FpgaDownload.h"

#include <cstdio>

#include "base/ControlIds.h"
#include "base/Log.h"
#include "base/StringTable.h"
#include "console/ConsoleTexts.h"
#include "console/DeviceCheck.h"
#include "console/FpgaScrambler.h"
#include "console/PreviewStopper.h"
#include "device/CommandThread.h"
#include "device/DeviceProtocol.h"
#include "device/Requests.h"
#include "platform/RegularFile.h"

namespace tavlin {
namespace {

constexpr uint64_t kMaxFileSize = 0x7FFFFFFF;  // the size was a 32-bit quantity on the device side

}  // namespace

Result FpgaDownload::Start(const std::string& path, Progress progress) {
    if (!CheckDevicePresent(state_, view_)) {
        return Result::Fail(ResultCode::NoDevice, "no device");
    }
    if (path.empty()) {
        view_.AppendOutputText("Please Open The .bin Document First!\n");
        return Result::Fail(ResultCode::BadInput, "no FPGA file chosen");
    }
    if (!StopPreviewWorker(state_, view_)) {
        view_.AppendOutputText(Tr(console::kPreviewNotStopped));
        return Result::Fail(ResultCode::Busy, "the preview did not stop");
    }
    if (slot_.Running()) {
        view_.AppendOutputText("is running,waiting....\n");
        return Result::Fail(ResultCode::Busy, "a download is running");
    }
    // The download does not choose the side: it goes whole to the sensor selected as it is
    // pressed, whatever is selected while it runs.
    const int sensor = state_.g_SensorSel;
    slot_.Start(this, [this, path, sensor, progress = std::move(progress)] {
        outcome_ = Run(path, sensor, progress);
    });
    return Result::Ok();
}

Result FpgaDownload::Run(const std::string& path, int sensor, const Progress& progress) {
    uint8_t expected = kTransferIdle;
    if (!state_.g_ImageTransferState.compare_exchange_strong(expected, kTransferFirst)) {
        view_.AppendOutputText(Tr(console::kTransferBusy));
        return Result::Fail(ResultCode::Busy, "another code transfer is running");
    }
    const RegularFile opened = OpenRegularFile(path, "rb");
    const uint64_t size = opened.size;
    std::FILE* file = opened.file;
    if (file != nullptr && size > kMaxFileSize) {
        std::fclose(file);
        file = nullptr;
    }
    if (file == nullptr) {
        view_.AppendOutputText("FPGA File Open Fail!");
        WriteLog("FPGA file %s cannot be read (%s)\n", path.c_str(),
                 RegularFileProblem(opened).c_str());
        state_.g_ImageTransferState = kTransferIdle;
        return Result::Fail(ResultCode::BadInput,
                            "FPGA file " + path + " cannot be read" +
                                (opened.notAFile ? ": not a regular file" : ""));
    }
    const Result result =
        size == 0 ? Result::Fail(ResultCode::BadInput, "FPGA file " + path + " is empty")
                  : SendChunks(file, size, sensor, progress);
    std::fclose(file);
    state_.g_ImageTransferState = kTransferIdle;
    return result;
}

Result FpgaDownload::SendChunks(std::FILE* file, uint64_t size, int sensor,
                                const Progress& progress) {
    const int total = static_cast<int>((size + kMaxCodePacket - 1) / kMaxCodePacket);
    FpgaScrambler scrambler;
    uint8_t chunk[kMaxCodePacket];
    int sent = 0;
    bool lastHandedOver = false;
    for (uint64_t offset = 0; offset < size && state_.g_bDevExist != 0 && !slot_.StopRequested();
         offset += kMaxCodePacket) {
        const uint64_t remaining = size - offset;
        const size_t length = remaining < kMaxCodePacket ? remaining : kMaxCodePacket;
        const bool last = remaining <= kMaxCodePacket;
        if (last) {
            state_.g_ImageTransferState = kTransferLast;
        }
        if (std::fread(chunk, 1, length, file) != length) {
            view_.AppendOutputText("FPGA File Read Fail!\n");
            return Result::Fail(ResultCode::BadInput, "the FPGA file became shorter");
        }
        scrambler.Scramble(chunk, length);
        if (sent == 0) {
            view_.AppendOutputText("The FPGA script begins to burn!\n");
        }
        RequestMeaning meaning;
        meaning.sensor = sensor;
        meaning.transferPhase = CodePacketPhase(sent == 0, last);
        const RequestHandle request = PostRequest(state_, WM_CODE_PACKET, meaning, chunk, length,
                                                  static_cast<uint32_t>(length));
        const uint32_t waitCode =
            WaitRequest(request, state_.g_CodePacketEvent, kRequestWaitLimitMs);
        if (waitCode != WAIT_OBJECT_0) {
            view_.AppendOutputText(
                "g_BurnFPGASucEvent: WaitForSingleObject Failed!\n Download FPGA failed!\n");
            return RequestOutcome(request, waitCode);
        }
        const bool packetOk = state_.g_CodePacketSuc.exchange(0) != 0;
        if (!packetOk) {
            view_.AppendOutputText("Download FPGA failed!\n");
            const Result refused = RequestOutcome(request, waitCode);
            return refused ? Result::Fail(ResultCode::Failed, "code packet failed") : refused;
        }
        if (sent == 0 && !last) {
            state_.g_ImageTransferState = kTransferOn;
        }
        ++sent;
        if (progress) {
            progress(sent, total);
        }
        lastHandedOver = last;
    }
    if (!lastHandedOver) {
        if (slot_.StopRequested()) {
            return Result::Fail(ResultCode::Stopped, "the download was stopped");
        }
        return Result::Fail(ResultCode::DeviceGone, "the device went away during the download");
    }
    char line[64];
    std::snprintf(line, sizeof line, "Write FPGA Code %dKB Success!\n",
                  static_cast<int>(static_cast<uint64_t>(sent) * kMaxCodePacket / 1024));
    view_.AppendOutputText("Success!\n");
    view_.AppendOutputText(line);
    view_.PostCmdDone();
    view_.HideControls({control::kFpgaLabel, control::kFpgaPath, control::kFpgaBrowse,
                        control::kFpgaDownload, control::kSlaveBox});
    return Result::Ok();
}

}  // namespace tavlin
