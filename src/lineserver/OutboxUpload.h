#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "base/Result.h"

namespace tavlin {
class RecordStore;
}

namespace tavlin::lineserver {

struct UploadSettings {
    std::string server;  // a libpq connection string or URI
    // The whole upload's time, connecting included: what is not sent by then waits for the
    // next one.
    std::chrono::milliseconds timeLimit{5000};
    // Runs per server transaction, and per removal from the outbox.
    int batchSize = 500;
    // Told after each batch is on the server and out of the outbox, with the runs sent so far.
    std::function<void(std::int64_t sent)> afterBatch;
};

struct UploadSummary {
    std::int64_t sent = 0;     // runs the server took in this upload (stored or had already)
    std::int64_t waiting = 0;  // runs still in the outbox after it
};

// Sends the station's outbox to the line's server, oldest first, a batch per transaction. A run
// leaves the outbox only after the server committed it; a run the server has already is not
// stored again. With nothing waiting no connection is made. Fails (with what was sent until
// then in *summary) when the server cannot be reached in time, refuses its tables' version or
// a write fails; what was not sent stays in the outbox.
Result UploadOutbox(RecordStore& store, const UploadSettings& settings, UploadSummary* summary);

}  // namespace tavlin::lineserver
