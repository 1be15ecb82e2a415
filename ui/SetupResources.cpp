#include "ui/SetupResources.h"

#include "ui/DialogTemplates.h"
#include "ui/ProgramIcon.h"
#include "ui/Resource.h"

const CResourceModule& SetupResourceModule() {
    // Built on first use, so that it is ready whenever a static object asks for it.
    static const CIconFrame frames[] = {
        {LargeProgramIcon().width, LargeProgramIcon().height, LargeProgramIcon().rows},
        {SmallProgramIcon().width, SmallProgramIcon().height, SmallProgramIcon().rows},
    };
    static const CIconResource icon = {IDR_MAINFRAME, frames, IconPalette()};
    static const CDialogTemplate* const dialogs[] = {&SetupDialogTemplate(),
                                                     &WriteEepromDialogTemplate()};
    static const CIconResource* const icons[] = {&icon};
    static const CResourceModule module = {"VYM Card Setup", dialogs, icons};
    return module;
}
