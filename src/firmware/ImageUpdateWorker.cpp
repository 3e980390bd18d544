#include "firmware/ImageUpdateWorker.h"

#include <cstring>

#include "base/Log.h"
#include "base/StringTable.h"
#include "device/DeviceProtocol.h"
#include "device/Requests.h"
#include "firmware/FirmwareRequests.h"
#include "firmware/FirmwareTexts.h"
#include "firmware/VersionInfoRecord.h"

namespace tavlin {
namespace {

const char* SuccessText(ImageWrite write) {
    switch (write) {
        case ImageWrite::HInfoLeft:
            return fw::kWroteLeftHInfo;
        case ImageWrite::HInfoRight:
            return fw::kWroteRightHInfo;
        case ImageWrite::LInfo:
            return fw::kWroteLeftLInfo;
        case ImageWrite::RInfo:
            break;
    }
    return fw::kWroteRightRInfo;
}

}  // namespace

bool ImageUpdateWorker::Start(const std::string& packagePath) {
    return slot_.Start(this, [this, packagePath] { Run(packagePath, nullptr); });
}

bool ImageUpdateWorker::Start(std::shared_ptr<const LoadedPackage> package) {
    const std::string path = package->path;
    return slot_.Start(this, [this, path, package] { Run(path, package); });
}

void ImageUpdateWorker::StopAndWait() {
    if (slot_.Running()) {
        state_.g_isFwDlgClosing = 1;
        state_.g_isWaitImageUpdateExit = 1;
    }
    slot_.Stop();
    state_.g_isWaitImageUpdateExit = 0;
    state_.g_ImageUpdateStopEvent.Reset();
    state_.g_ImageUpdateExitEvent.Reset();
}

Result ImageUpdateWorker::lastResult() const {
    std::lock_guard lock(resultMutex_);
    return lastResult_;
}

void ImageUpdateWorker::Run(const std::string& packagePath,
                            std::shared_ptr<const LoadedPackage> package) {
    Result result;
    if (package == nullptr) {
        Progress(0);
        auto loaded = std::make_shared<LoadedPackage>();
        const char* refusal = nullptr;
        result = LoadPackage(packagePath, loaded.get(), &refusal);
        if (!result.ok()) {
            Status(Tr(refusal));
        }
        package = std::move(loaded);
    }
    if (result.ok()) {
        view_.UpdateStarting(*package);
        result = Update(*package);
    }
    if (!result.ok()) {
        WriteLog("Update FW: failed! %s\n", result.describe().c_str());
    }
    {
        std::lock_guard lock(resultMutex_);
        lastResult_ = result;
    }
    view_.UpdateEnded(result);
    state_.g_SensorSel = 0;
    if (state_.g_isWaitImageUpdateExit.exchange(0) != 0) {
        state_.g_ImageUpdateExitEvent.Set();
    }
}

Result ImageUpdateWorker::Update(const LoadedPackage& package) {
    Progress(0);
    // Who vouched for what goes to the device, in the run's own log.
    if (package.trust.isSigned) {
        WriteLogSized(package.path.size() + package.trust.comment.size() + 96,
                      "Update FW: package \"%s\" signed by key %s, trusted comment: %s\n",
                      package.path.c_str(), package.trust.keyId.c_str(),
                      package.trust.comment.c_str());
    } else {
        WriteLogSized(package.path.size() + 64, "Update FW: package \"%s\" is not signed!\n",
                      package.path.c_str());
    }
    for (const PlannedWrite& plan : PlanUpdate(package.enables)) {
        for (const LoadedImage& image : package.images) {
            if (image.section != SectionOf(plan.write)) {
                continue;
            }
            if (Result written = WriteImage(plan, image); !written.ok()) {
                return written;
            }
        }
    }
    Status(Tr(fw::kUpdateSucceeded));
    if (!Closing()) {
        char line[64];
        std::snprintf(line, sizeof line, "IMAGE Version: M--%08x, S--%08x\n",
                      static_cast<unsigned>(state_.g_ImageVersionM),
                      static_cast<unsigned>(state_.g_ImageVersionS));
        view_.SetMainVersionText(line);
    }
    return Result::Ok();
}

Result ImageUpdateWorker::WriteImage(const PlannedWrite& plan, const LoadedImage& image) {
    uint8_t idle = kTransferIdle;
    if (!state_.g_ImageTransferState.compare_exchange_strong(idle, kTransferFirst)) {
        return Fail(fw::kUpdateFailed,
                    Result::Fail(ResultCode::Busy, "another code transfer is running"));
    }
    const int sensor = SensorOf(plan.write);
    state_.g_SensorSel = sensor;
    Result result;
    const bool hinfo = image.section == PackageSection::HInfo;
    Result first = hinfo ? ReadVersionInfo(state_, sensor, INFINITE)
                         : ReadImageVersion(state_, sensor, INFINITE);
    int packets = 0;
    if (!first.ok()) {
        result = Fail(fw::kUpdateFailed, std::move(first));
    } else if (result = SendImage(plan, image.bytes, &packets); result.ok() && packets > 0) {
        char text[128];
        std::snprintf(text, sizeof text, Tr(SuccessText(plan.write)).c_str(),
                      static_cast<int>(static_cast<uint64_t>(packets) * kMaxCodePacket / 1024));
        Status(text);
        if (Result record = WriteVersionRecord(plan.write, image.version); !record.ok()) {
            result = Fail(fw::kUpdateFailed, std::move(record));
        } else {
            view_.ImageWritten(plan.write, image.name, image.bytes.size(), packets);
        }
    }
    state_.g_ImageTransferState = kTransferIdle;
    state_.g_SensorSel = 0;
    return result;
}

Result ImageUpdateWorker::SendImage(const PlannedWrite& plan, const std::string& bytes,
                                    int* packets) {
    const uint64_t size = bytes.size();
    const bool secondArea = plan.write == ImageWrite::LInfo || plan.write == ImageWrite::RInfo;
    const uint64_t last = size == 0 ? 0 : (size + kMaxCodePacket - 1) / kMaxCodePacket - 1;
    uint8_t packet[kMaxCodePacket];
    for (uint64_t i = 0; i * kMaxCodePacket < size; ++i) {
        if (!Closing()) {
            Progress(ProgressPosition(plan, i, last));
        }
        if (state_.g_bDevExist == 0) {
            return Fail(BuiltInString(IDS_NO_DEVICE),
                        Result::Fail(ResultCode::NoDevice, "device gone before a packet"));
        }
        if (slot_.StopRequested()) {
            return Result::Fail(ResultCode::Stopped, "stopped between packets");
        }
        view_.ImageGoing(plan.write, i);
        const uint64_t remaining = size - i * kMaxCodePacket;
        const size_t length = remaining < kMaxCodePacket ? remaining : kMaxCodePacket;
        const bool lastPacket = remaining <= kMaxCodePacket;
        if (lastPacket) {
            state_.g_ImageTransferState = kTransferLast;
        }
        std::memcpy(packet, bytes.data() + i * kMaxCodePacket, length);
        if (i == 0) {
            Status(Tr(fw::kWritingStarted));
        }
        RequestMeaning meaning;
        meaning.sensor = SensorOf(plan.write);
        meaning.transferPhase = CodePacketPhase(i == 0, lastPacket);
        if (Result sent = SendCodePacket(state_, secondArea, meaning, packet, length); !sent.ok()) {
            // A packet that failed because the device went away says so, as the next packet's
            // presence check would have.
            const bool gone = state_.g_bDevExist == 0;
            return Fail(gone ? BuiltInString(IDS_NO_DEVICE) : fw::kUpdateFailed, std::move(sent));
        }
        if (i == 0 && !lastPacket) {
            state_.g_ImageTransferState = kTransferOn;
        }
        ++*packets;
    }
    return Result::Ok();
}

Result ImageUpdateWorker::WriteVersionRecord(ImageWrite write, uint32_t version) {
    switch (write) {
        case ImageWrite::HInfoLeft:
        case ImageWrite::HInfoRight: {
            const VersionInfoRecord record = ImageVersionInfoRecord(version);
            (write == ImageWrite::HInfoLeft ? state_.g_VersionInfoM : state_.g_VersionInfoS) =
                record;
            return WriteVersionInfo(state_, SensorOf(write), record, INFINITE);
        }
        case ImageWrite::LInfo:
            state_.g_ImageVersionM = version;
            break;
        case ImageWrite::RInfo:
            state_.g_ImageVersionS = version;
            break;
    }
    return WriteImageVersion(state_, SensorOf(write), version, INFINITE);
}

Result ImageUpdateWorker::Fail(const char* text, Result result) {
    Status(Tr(text));
    return result;
}

void ImageUpdateWorker::Status(const std::string& text) {
    if (!Closing()) {
        view_.SetFirmwareStatus(text);
    }
}

void ImageUpdateWorker::Progress(int position) {
    if (!Closing()) {
        view_.SetProgress(position);
    }
}

}  // namespace tavlin
