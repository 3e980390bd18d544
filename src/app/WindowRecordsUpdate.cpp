// What the window's records keep of a firmware update besides its run: where it stands while it
// goes, and, for a unit found in its update environment, where its last update stopped.
#include <QMetaObject>
#include <QObject>
#include <filesystem>
#include <system_error>

#include "app/WindowRecords.h"
#include "base/Log.h"
#include "firmware/UpdateJournal.h"
#include "platform/FilePath.h"
#ifdef TAVLIN_RECORDS
#include "firmware/LoadedPackage.h"
#include "records/DeferredUpdateJournal.h"
#include "records/RecordStore.h"
#include "records/RecordedUpdateJournal.h"
#endif

namespace tavlin {

std::shared_ptr<UpdateJournal> WindowRecords::NewUpdateJournal() {
#ifdef TAVLIN_RECORDS
    if (!path_.empty()) {
        return std::make_shared<DeferredUpdateJournal>();
    }
#endif
    return nullptr;
}

void WindowRecords::FindUnfinishedUpdate(std::string port, QObject* context,
                                         std::function<void(const UnfinishedOnPort&)> answer) {
#ifdef TAVLIN_RECORDS
    if (path_.empty() || port.empty()) {
        return;
    }
    Post([path = path_, port = std::move(port), context, answer = std::move(answer)] {
        std::error_code error;
        if (!std::filesystem::exists(PathFromUtf8(path), error)) {
            return;  // no run was ever kept here: nothing to find, and nothing to create
        }
        std::unique_ptr<RecordStore> store;
        std::optional<UnfinishedUpdate> found;
        Result read = RecordStore::Open(path, &store);
        if (read) {
            read = store->UnfinishedUpdateOn(port, "", &found);
        }
        if (!read) {
            WriteLogSized(read.reason().size() + 64, "Run records not read: %s\n",
                          read.reason().c_str());
            return;
        }
        if (!found) {
            return;
        }
        UnfinishedOnPort unfinished{found->runUuid, found->progress, {}};
        LoadedPackage package;
        const char* refusal = nullptr;
        if (Result loaded = LoadPackage(found->progress.package, &package, &refusal); !loaded) {
            unfinished.difference = found->progress.package + ": " + loaded.reason();
        } else {
            unfinished.difference = PackageDifference(found->progress.files, package);
        }
        QMetaObject::invokeMethod(
            context, [answer, unfinished] { answer(unfinished); }, Qt::QueuedConnection);
    });
#else
    (void)port;
    (void)context;
    (void)answer;
#endif
}

}  // namespace tavlin
