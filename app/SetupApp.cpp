#include "app/SetupApp.h"

#include "ui/SetupDlg.h"

BEGIN_MESSAGE_MAP(CSetupApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

// No application name: the framework takes the title from the resources, else the
// executable's name.
CSetupApp::CSetupApp() : CWinApp(nullptr) {}

CSetupApp theApp;

BOOL CSetupApp::InitInstance() {
    AfxEnableControlContainer(nullptr);
    Enable3dControls();

    {
        CSetupDlg dlg;
        m_pMainWnd = &dlg;
        // OK or Cancel: all the work was done inside the dialog.
        dlg.DoModal();
        m_pMainWnd = nullptr;  // the dialog is gone; nothing may reach it any more
    }
    // No message loop: the application ends here.
    return FALSE;
}
