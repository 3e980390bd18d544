#include "firmware/ImageUpdateWorker.h"

#include <filesystem>

#include "base/Log.h"
#include "base/StringTable.h"
#include "device/DeviceProtocol.h"
#include "device/Requests.h"
#include "firmware/FirmwareRequests.h"
#include "firmware/FirmwareTexts.h"
#include "firmware/PackageCheck.h"
#include "firmware/VersionInfoRecord.h"
#include "platform/RegularFile.h"

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
    return slot_.Start(this, [this, packagePath] { Run(packagePath); });
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

void ImageUpdateWorker::Run(const std::string& packagePath) {
    Result result = Update(packagePath);
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

Result ImageUpdateWorker::Update(const std::string& packagePath) {
    Progress(0);
    const ImageEnables enables = ReadImageEnables(packagePath);
    switch (JudgePackage(enables)) {
        case PackageVerdict::Refused:
            Status(Tr(fw::kPackageRefused));
            return Result::Fail(ResultCode::BadInput, "no image section in " + packagePath);
        case PackageVerdict::NothingEnabled:
            Status(Tr(fw::kNothingToUpdate));
            return Result::Fail(ResultCode::BadInput, "no image enabled in " + packagePath);
        case PackageVerdict::Write:
            break;
    }
    std::vector<Image> images;
    for (PackageSection s : {PackageSection::HInfo, PackageSection::LInfo, PackageSection::RInfo}) {
        if (enables.enabled(s)) {
            images.push_back({s, ReadImageName(packagePath, s), ReadImageVersion(packagePath, s)});
        }
    }
    if (Result checked = CheckImages(images); !checked.ok()) {
        return checked;
    }
    for (const PlannedWrite& plan : PlanUpdate(enables)) {
        for (const Image& image : images) {
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

Result ImageUpdateWorker::CheckImages(const std::vector<Image>& images) {
    for (const Image& image : images) {
        uint64_t size = 0;
        std::string why;
        if (!ImageFileUsable(image.name, &size, &why)) {
            WriteLog("Update FW: image file \"%s\" cannot be opened (%s)!\n", image.name.c_str(),
                     why.c_str());
            return Fail(
                fw::kImageOpenFailed,
                Result::Fail(ResultCode::BadInput, "cannot open image " + image.name + ": " + why));
        }
    }
    return Result::Ok();
}

Result ImageUpdateWorker::WriteImage(const PlannedWrite& plan, const Image& image) {
    uint8_t idle = kTransferIdle;
    if (!state_.g_ImageTransferState.compare_exchange_strong(idle, kTransferFirst)) {
        return Fail(fw::kUpdateFailed,
                    Result::Fail(ResultCode::Busy, "another code transfer is running"));
    }
    const int sensor = SensorOf(plan.write);
    state_.g_SensorSel = sensor;
    Result result;
    // Opened once and read from that handle: a FIFO put in the image's place meanwhile is
    // refused, not waited on.
    const RegularFile opened = OpenRegularFile(image.name, "rb");
    const uint64_t size = opened.size;
    std::FILE* file = opened.file;
    if (file == nullptr) {
        result = Fail(fw::kImageOpenFailed,
                      Result::Fail(ResultCode::BadInput, "cannot open image " + image.name));
    } else {
        const bool hinfo = image.section == PackageSection::HInfo;
        Result first = hinfo ? ReadVersionInfo(state_, sensor, INFINITE)
                             : ReadImageVersion(state_, sensor, INFINITE);
        int packets = 0;
        if (!first.ok()) {
            result = Fail(fw::kUpdateFailed, std::move(first));
        } else if (result = SendImage(plan, file, size, &packets); result.ok() && packets > 0) {
            char text[128];
            std::snprintf(text, sizeof text, Tr(SuccessText(plan.write)).c_str(),
                          static_cast<int>(static_cast<uint64_t>(packets) * kMaxCodePacket / 1024));
            Status(text);
            if (Result record = WriteVersionRecord(plan.write, image.version); !record.ok()) {
                result = Fail(fw::kUpdateFailed, std::move(record));
            } else {
                view_.ImageWritten(plan.write, image.name, size, packets);
            }
        }
        std::fclose(file);
    }
    state_.g_ImageTransferState = kTransferIdle;
    state_.g_SensorSel = 0;
    return result;
}

Result ImageUpdateWorker::SendImage(const PlannedWrite& plan, std::FILE* file, uint64_t size,
                                    int* packets) {
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
        const uint64_t remaining = size - i * kMaxCodePacket;
        const size_t length = remaining < kMaxCodePacket ? remaining : kMaxCodePacket;
        const bool lastPacket = remaining <= kMaxCodePacket;
        if (lastPacket) {
            state_.g_ImageTransferState = kTransferLast;
        }
        if (std::fread(packet, 1, length, file) != length) {
            return Fail(fw::kUpdateFailed,
                        Result::Fail(ResultCode::BadInput, "image file shrank while read"));
        }
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
