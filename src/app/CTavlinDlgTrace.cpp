// A session recorded or replayed behind the main window: a recording that cannot hold the whole
// run, or a replay that shows less than its recording holds, must not pass unnoticed, as the CLI
// tells them on stderr and in its JSON object.
#include <QLabel>
#include <cstdio>

#include "app/CTavlinDlg.h"
#include "app/DialogBridge.h"
#include "base/Log.h"
#include "station/Transports.h"
#include "trace/ReplayTransport.h"
#include "trace/TraceWriter.h"

namespace tavlin {

void CTavlinDlg::WatchSessionTrace() {
    DialogBridge* bridge = bridge_.get();
    if (options_.replay != nullptr) {
        options_.replay->OnRanOut([bridge](int line) {
            const std::string text = station::RanOutText(line);
            WriteLog("%s\n", text.c_str());
            bridge->SetStatusText(text);
        });
    }
    if (options_.recording != nullptr) {
        options_.recording->OnStop([bridge, path = options_.recordPath](const auto& status) {
            const std::string text = station::IncompleteText(path, status.reason);
            WriteLog("%s\n", text.c_str());
            bridge->SetStatusText(text);
        });
    }
}

void CTavlinDlg::TellSessionTraceAtClose() {
    std::string text;
    if (options_.replay != nullptr) {
        options_.replay->OnRanOut(nullptr);
        if (const int line = options_.replay->RanOutLine(); line != 0) {
            text = station::RanOutText(line);
        } else if (const size_t left = options_.replay->OutputsLeft(); left != 0) {
            text = station::ShortfallText(left);
        }
    }
    if (options_.recording != nullptr) {
        options_.recording->OnStop(nullptr);
        if (const TraceWriter::Status status = options_.recording->status(); !status.complete) {
            text = station::IncompleteText(options_.recordPath, status.reason);
        }
    }
    if (text.empty()) {
        return;
    }
    WriteLog("%s\n", text.c_str());
    std::fprintf(stderr, "tavlin: %s\n", text.c_str());
    status_->setText(QString::fromStdString(text));
}

}  // namespace tavlin
