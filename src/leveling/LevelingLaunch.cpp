#include "leveling/LevelingLaunch.h"

#include "base/Log.h"
#include "base/StringTable.h"
#include "console/ToolLauncher.h"
#include "leveling/LevelingTexts.h"

namespace tavlin {

Result PrepareLevelingLaunch(SharedState& state, ConsoleView& mainWindow, ModeSwitcher& modes) {
    if (state.g_PreviewBufM == nullptr || state.g_PreviewBufS == nullptr) {
        mainWindow.SetStatusText(Tr(leveling::text::kNoPreviewBuffers));
        WriteLog("Leveling: no preview buffers!\n");
        return Result::Fail(ResultCode::Failed, "the preview buffers were not allocated");
    }
    return LaunchResult(PrepareToolLaunch(ToolKind::Leveling, state, mainWindow, modes));
}

}  // namespace tavlin
