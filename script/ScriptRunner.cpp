#include "script/ScriptRunner.h"

#include "app/SetupApp.h"
#include "framework/Framework.h"
#include "script/EventWriter.h"
#include "script/ScriptHost.h"
#include "ui/SetupResources.h"

int RunScript(CLineSource& script, CTextSink& out) {
    CWriteCountingDeviceApi writes;
    CPacingDeviceApi pace;
    CEventWriter events(out);
    CScriptHost host(script, events, writes, pace);
    AfxSetResourceModule(&SetupResourceModule());
    AfxWinMain(host, "vymsetup-script");
    if (host.Malformed()) {
        return RUN_MALFORMED_SCRIPT;
    }
    if (host.EndingSignal() != 0) {
        return ExitStatusAfterSignal(host.EndingSignal());
    }
    return host.Failed() ? RUN_INTERNAL_FAILURE : RUN_ENDED_NORMALLY;
}
