#include "lineserver/Station.h"

#include <gtest/gtest.h>

namespace tavlin::test {

Station::Station() : path_(folder_.File(RecordStore::kDefaultFileName)) {
    EXPECT_TRUE(RecordStore::Open(path_, &store_).ok());
}

std::vector<std::string> Station::AddRuns(int count) {
    std::vector<std::string> uuids;
    for (int i = 0; i < count; ++i) {
        ++runs_;
        RunRecord run = SampleRun(runs_, "1-" + std::to_string(runs_ % 8 + 1));
        run.station.host = "station-" + folder_.path().filename().string();
        EXPECT_TRUE(store_->BeginRun(run).ok());
        run.outcome = runs_ % 3 == 0 ? RunOutcome::Failed : RunOutcome::Passed;
        run.exitStatus = runs_ % 3 == 0 ? 1 : 0;
        EXPECT_TRUE(store_->CompleteRun(run).ok());
        uuids.push_back(run.uuid);
    }
    return uuids;
}

std::int64_t Station::Waiting() {
    std::int64_t size = -1;
    EXPECT_TRUE(store_->OutboxSize(&size).ok());
    return size;
}

Result Station::Upload(const std::string& server, lineserver::UploadSummary* summary, int batchSize,
                       std::function<void(std::int64_t)> afterBatch) {
    lineserver::UploadSettings settings;
    settings.server = server;
    settings.timeLimit = std::chrono::seconds(20);
    settings.batchSize = batchSize;
    settings.afterBatch = std::move(afterBatch);
    lineserver::UploadSummary ignored;
    return lineserver::UploadOutbox(*store_, settings, summary ? summary : &ignored);
}

}  // namespace tavlin::test
