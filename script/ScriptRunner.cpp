#include "script/ScriptRunner.h"

#include "app/SetupApp.h"
#include "framework/Framework.h"
#include "script/EventWriter.h"
#include "script/ScriptHost.h"
#include "ui/SetupOutcome.h"
#include "ui/SetupResources.h"

int RunScript(CLineSource& script, CTextSink& out) {
    CWriteCountingDeviceApi writes;
    CPacingDeviceApi pace;
    CEventWriter events(out);
    CScriptHost host(script, events, writes, pace);
    AfxSetResourceModule(&SetupResourceModule());
    ResetSetupOutcome();
    AfxWinMain(host, "vymsetup-script");
    if (host.Malformed()) {
        return RUN_MALFORMED_SCRIPT;
    }
    if (host.EndingSignal() != 0) {
        return ExitStatusAfterSignal(host.EndingSignal());
    }
    if (host.Failed()) {
        return RUN_INTERNAL_FAILURE;
    }
    const CSetupOutcome& outcome = SetupOutcome();
    if (outcome.openFailed != 0 || outcome.writesCompleted < outcome.writesAsked) {
        return RUN_NOT_DONE;
    }
    return host.RefusedLines() > 0 ? RUN_LINE_REFUSED : RUN_ENDED_NORMALLY;
}
