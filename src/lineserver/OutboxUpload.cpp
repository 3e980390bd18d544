#include "lineserver/OutboxUpload.h"

#include <memory>
#include <vector>

#include "lineserver/RunBatch.h"
#include "lineserver/ServerLink.h"
#include "lineserver/ServerSchema.h"
#include "records/RecordStore.h"

namespace tavlin::lineserver {
namespace {

Result ReadBatch(RecordStore& store, int size, std::vector<RunRecord>* runs) {
    runs->clear();
    std::vector<RecordStore::OutboxEntry> entries;
    if (Result read = store.PendingUploads(size, &entries); !read) {
        return read;
    }
    for (const RecordStore::OutboxEntry& entry : entries) {
        RunRecord run;
        if (Result read = store.ReadRun(entry.runUuid, &run); !read) {
            return read;
        }
        runs->push_back(std::move(run));
    }
    return Result::Ok();
}

Result SendBatch(ServerLink& link, RecordStore& store, const std::vector<RunRecord>& runs) {
    int stored = 0;
    Result sent = link.Execute("BEGIN");
    if (sent) {
        sent = InsertRuns(link, runs, &stored);
    }
    if (sent) {
        sent = link.Execute("COMMIT");
    }
    if (!sent) {
        return sent;
    }
    // Only now: a COMMIT whose answer was lost leaves the runs here, and sending them again
    // stores nothing twice.
    std::vector<std::string> uuids;
    for (const RunRecord& run : runs) {
        uuids.push_back(run.uuid);
    }
    return store.RemoveFromOutbox(uuids);
}

}  // namespace

Result UploadOutbox(RecordStore& store, const UploadSettings& settings, UploadSummary* summary) {
    *summary = {};
    const auto deadline = ServerLink::Clock::now() + settings.timeLimit;
    std::vector<RunRecord> runs;
    Result done = ReadBatch(store, settings.batchSize, &runs);
    std::unique_ptr<ServerLink> link;
    if (done && !runs.empty()) {
        done = ServerLink::Connect(settings.server, deadline, &link);
        if (done) {
            done = PrepareServerSchema(*link);
        }
    }
    while (done && !runs.empty()) {
        done = SendBatch(*link, store, runs);
        if (done) {
            summary->sent += static_cast<std::int64_t>(runs.size());
            if (settings.afterBatch) {
                settings.afterBatch(summary->sent);
            }
            done = ReadBatch(store, settings.batchSize, &runs);
        }
    }
    if (Result counted = store.OutboxSize(&summary->waiting); !counted && done) {
        done = counted;
    }
    return done;
}

}  // namespace tavlin::lineserver
