#include "console/ExitProcedure.h"

#include "base/Log.h"
#include "console/FpgaDownload.h"
#include "console/ScriptRunner.h"
#include "device/CommandThread.h"
#include "device/Requests.h"

namespace tavlin {

void StopWorkers(SharedState& state, ScriptRunner* script, FpgaDownload* fpga,
                 CommandThread* commandThread) {
    if (script != nullptr) {
        script->Stop();
    }
    if (fpga != nullptr) {
        fpga->Stop();
    }
    if (state.g_CmdThread != nullptr) {
        // Once the command thread is done with this request, the wait returns whether or not it
        // signalled; if it is already gone the post fails and there is nothing to wait for.
        const RequestHandle request = PostRequest(state, WM_EXIT_CMD_THREAD);
        WaitRequest(request, state.g_CmdThreadExitEvent, kRequestWaitLimitMs);
    }
    if (commandThread != nullptr) {
        commandThread->Join();
    }
}

void ShutdownCleanup(SharedState& state) {
    state.ReleasePreviewBuffers();
    state.g_isBurstFileUsed = 0;
    state.g_isVersionsShown = 0;
    LogEnd();
}

}  // namespace tavlin
