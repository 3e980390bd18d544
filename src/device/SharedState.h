#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "base/Result.h"
#include "device/DeviceProtocol.h"
#include "platform/Event.h"
#include "platform/MessageQueue.h"

namespace tavlin {

class CommandThread;

inline constexpr size_t kPreviewBufferSize = 640 * 9;

// The process-wide flags, values, events and worker handles that the window, the workers and
// the command thread share. The application creates one; tests create their own. Flags and
// values are atomics; bigger results are written by the command thread before it signals the
// request's event and read by the poster after its wait, which orders them.
//
// Worker handles are non-null exactly while that worker runs; each worker stores a pointer to
// itself and clears it as it ends.
struct SharedState {
    SharedState();
    ~SharedState();
    SharedState(const SharedState&) = delete;
    SharedState& operator=(const SharedState&) = delete;

    // Device presence.
    std::atomic<int> g_bDevExist{0};
    // Counts the detections that opened a device anew: a device that restarted between two
    // looks of a worker is another device to it, though g_bDevExist never showed it gone.
    std::atomic<uint32_t> deviceOpenings{0};
    std::atomic<int> g_isFwUpdateMode{0};
    std::atomic<int> g_isFwDlgOpen{0};
    std::atomic<int> g_isVersionsShown{0};
    std::atomic<void*> g_DetectThread{nullptr};
    // What the last detection found: Ok (a device is open), NoDevice, or NoAccess (a device of
    // ours is there, but this user may not open it). Decides which text says "no device".
    std::atomic<ResultCode> devicePresence{ResultCode::NoDevice};
    // The product id of the device that detection found open (0 before one was found).
    std::atomic<uint16_t> deviceProductId{0};

    // Firmware update window. The package path is the UI thread's alone (the worker gets a
    // copy); it outlives the window so a second opening shows the last package again.
    std::string g_FwPackagePath;
    std::atomic<int> g_isFwDlgClosing{0};
    std::atomic<int> g_isWaitImageUpdateExit{0};

    // Worker handles. g_CmdThread says whether the command thread runs; requests go through its
    // queue, which a poster holds while it posts, so a command thread that ends and is destroyed
    // meanwhile leaves the poster a closed queue (the post fails), never freed memory.
    std::atomic<CommandThread*> g_CmdThread{nullptr};
    std::shared_ptr<MessageQueue> CommandQueue() const;
    void SetCommandQueue(std::shared_ptr<MessageQueue> queue);
    std::atomic<void*> g_PreviewThread{nullptr};
    std::atomic<void*> g_CalThread{nullptr};
    std::atomic<void*> g_FpgaDownloadThread{nullptr};
    std::atomic<void*> g_ScriptThread{nullptr};
    std::atomic<void*> g_ImageUpdateThread{nullptr};

    // Leveling window and its preview worker.
    std::atomic<int> g_isSearchDone{0};
    std::atomic<int> g_isExposureAdjusted{0};

    // Main window.
    std::atomic<int> g_isDlgClosing{0};
    std::atomic<int> g_isBurstFileUsed{0};

    // Leveling and calibration windows: set while one is closing (its worker then stays quiet).
    std::atomic<int> g_isMidwayExit{0};
    // The screen size the calibration targets were laid out for.
    std::atomic<uint16_t> g_ScreenWidth{0};
    std::atomic<uint16_t> g_ScreenHeight{0};

    // The selections: the sensor (the one a press takes when it does not choose the side itself:
    // the FPGA download, the version buttons) and where the code transfer stands (one transfer
    // claims it from idle, so only one runs). A poster takes them once, as it is pressed or
    // decides, into its requests (RequestMeaning). No command server reads them: other threads
    // may change them at any time.
    std::atomic<int> g_SensorSel{0};
    std::atomic<uint8_t> g_ImageTransferState{0};

    // Results.
    std::atomic<int> g_isDeviceCommunicate{1};
    std::atomic<int> g_isWorkSwitchSuc{0};
    std::atomic<int> g_ReadImageVersionSuc{0};
    std::atomic<uint32_t> g_ImageVersionM{0};
    std::atomic<uint32_t> g_ImageVersionS{0};
    std::array<uint8_t, kVersionInfoSize> g_VersionInfoM{};
    std::array<uint8_t, kVersionInfoSize> g_VersionInfoS{};
    std::atomic<int> g_CodePacketSuc{0};
    std::atomic<int> g_PreviewSucFlag{0};
    std::atomic<int> g_StartLineM{255};
    std::atomic<int> g_StartLineS{255};
    std::atomic<int> g_SearchStartLine{0};
    std::atomic<int> g_OptimumStartLine{0};
    std::array<std::atomic<int>, 2> g_ColumnM{255, 255};
    std::array<std::atomic<int>, 2> g_ColumnS{255, 255};
    std::atomic<int> g_SearchColumn{0};
    std::array<LineRecord, kLineRecords> g_LineInfoM{};
    std::array<LineRecord, kLineRecords> g_LineInfoS{};
    std::atomic<int> g_OptimumLineFlag{0};
    std::array<std::atomic<uint8_t>, 2> g_ExposureM{0xFF, 0xFF};
    std::array<std::atomic<uint8_t>, 2> g_ExposureS{0xFF, 0xFF};
    std::atomic<int> g_isExposureSuc{0};
    std::atomic<int> g_CalDataInitSuc{0};
    std::atomic<int> g_CalPointFlag{0};
    std::atomic<int> g_CalCheckFlag{0};
    std::atomic<int> g_CalPointCount{0};
    std::atomic<int> g_CalParamSuc{0};
    std::atomic<int> g_UpdateCtrlSuc{0};
    char g_BurstFileName[16] = {};  // the command thread's alone

    // Preview images, 640 x 9 grey pixels each; allocated by the main window at start.
    std::atomic<uint8_t*> g_PreviewBufM{nullptr};
    std::atomic<uint8_t*> g_PreviewBufS{nullptr};
    bool AllocatePreviewBuffers();
    void ReleasePreviewBuffers();

    // Completion events (auto-reset, not signalled at start).
    Event g_RegAccessDoneEvent;
    Event g_WorkSwitchEvent;
    Event g_CodePacketEvent;
    Event g_PreviewDataEvent;
    Event g_CmdThreadExitEvent;
    Event g_SearchStartLineEvent;
    Event g_ConfigStartLineEvent;
    Event g_SearchColumnEvent;
    Event g_OptimumLineEvent;
    Event g_CalInitEvent;
    Event g_CalPointEvent;
    Event g_CalCheckEvent;
    Event g_CalParamEvent;
    Event g_ExposureEvent;
    Event g_UpdateCtrlEvent;
    Event g_ReadImageVersionEvent;
    Event g_WriteImageVersionEvent;
    Event g_ReadVersionInfoEvent;
    Event g_WriteVersionInfoEvent;
    Event g_ScriptRequestEvent;

    // Worker stop and end events. The script's, the FPGA download's, the preview's and the
    // calibration's end event is their worker slot's finished event (manual-reset, set as the
    // worker's last act, after its handle went): whoever sees the handle set waits for it and
    // cannot miss it (WorkerSlot).
    Event g_ScriptStopEvent;
    Event g_ScriptFinishedEvent{Event::Kind::ManualReset};
    Event g_FpgaStopEvent;
    Event g_FpgaFinishedEvent{Event::Kind::ManualReset};
    Event g_PreviewStopEvent;
    Event g_PreviewExitEvent{Event::Kind::ManualReset};
    Event g_CalStopEvent;
    Event g_CalExitEvent{Event::Kind::ManualReset};
    Event g_ImageUpdateStopEvent;
    Event g_ImageUpdateExitEvent;

  private:
    mutable std::mutex commandQueueMutex_;
    std::shared_ptr<MessageQueue> commandQueue_;
    std::unique_ptr<uint8_t[]> previewM_;
    std::unique_ptr<uint8_t[]> previewS_;
};

}  // namespace tavlin
