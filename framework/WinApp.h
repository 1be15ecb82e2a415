#pragma once

#include "framework/CmdTarget.h"
#include "wintypes/WinTypes.h"

class CWnd;
class COccManager;

namespace framework {
class Host;
}

// The application object. Exactly one is constructed, as a static object, and registers itself;
// AfxWinMain then runs it: InitInstance, and either ExitInstance at once (InitInstance returned
// FALSE) or Run until a quit.
class CWinApp : public CCmdTarget {
public:
    // appName nullptr: the name is the resource module's application title, else the
    // executable's name that the front end gave AfxWinMain.
    explicit CWinApp(LPCSTR appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    // The process exit code: the code of the quit that ended the program, 0 when there was none.
    virtual int ExitInstance();
    // Pumps messages through the host until a quit, then ExitInstance.
    virtual int Run();

    // Three-dimensional controls are the only look there is: nothing to switch on.
    BOOL Enable3dControls() { return TRUE; }

    // The icon resource id at the standard icon size (SM_CXICON); nullptr when the registered
    // module holds no such icon.
    HICON LoadIcon(UINT id) const;
    HICON LoadIcon(LPCSTR name) const;

    // The help key: tells the host (there is no help file).
    void OnHelp();

    LPCSTR m_pszAppName;
    CWnd* m_pMainWnd = nullptr;  // cleared when that window is destroyed

    DECLARE_MESSAGE_MAP()

private:
    struct StandIn {};
    explicit CWinApp(StandIn);
    friend CWinApp* AfxGetApp();
};

// The registered application object; when none is registered (tests of single dialogs) a
// stand-in that has no name and runs nothing.
CWinApp* AfxGetApp();
// Message box captions: the application's name (never nullptr).
LPCSTR AfxGetAppName();

// Controls of the component model are not used; the call is accepted.
void AfxEnableControlContainer(COccManager* occManager = nullptr);

// The program's entry: a front end calls it with its host (and the name of its executable, for
// an application without a name) once the resource module is registered. Installs the host,
// runs the application object and returns the process exit code; -1 when no application object
// exists.
int AfxWinMain(framework::Host& host, const char* executableName = nullptr);
