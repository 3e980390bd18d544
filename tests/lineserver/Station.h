#pragma once
#include <memory>
#include <string>
#include <vector>

#include "lineserver/OutboxUpload.h"
#include "records/RecordStore.h"
#include "records/RecordTestFiles.h"

namespace tavlin::test {

// A station's database in a folder of its own, with runs completed into its outbox.
class Station {
  public:
    Station();
    // Completes `count` sample runs; their UUIDs.
    std::vector<std::string> AddRuns(int count);
    RecordStore& store() { return *store_; }
    const std::string& path() const { return path_; }
    std::int64_t Waiting();
    Result Upload(const std::string& server, lineserver::UploadSummary* summary = nullptr,
                  int batchSize = 500, std::function<void(std::int64_t)> afterBatch = {});

  private:
    TempFolder folder_;
    std::string path_;
    std::unique_ptr<RecordStore> store_;
    int runs_ = 0;
};

}  // namespace tavlin::test
