#include "console/DeviceCheck.h"

#include "base/StringTable.h"

namespace tavlin {

bool CheckDevicePresent(SharedState& state, ConsoleView& view) {
    if (state.g_bDevExist == 0) {
        view.SetStatusText(LoadString(IDS_NO_DEVICE));
        return false;
    }
    view.SetStatusText(LoadString(IDS_DETECT_DONE));
    return true;
}

}  // namespace tavlin
