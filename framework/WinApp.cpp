#include "framework/WinApp.h"

#include <algorithm>
#include <cstring>

#include "framework/Host.h"
#include "framework/MessageQueue.h"
#include "framework/Resources.h"

namespace {
CWinApp* g_app = nullptr;
char g_executableName[64] = "";

const char* BaseName(const char* path) {
    const char* name = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == '/' || *p == '\\') {
            name = p + 1;
        }
    }
    return name;
}

// The executable's name without folder and without ".exe", cut to the buffer.
void RememberExecutableName(const char* path) {
    g_executableName[0] = '\0';
    if (path == nullptr) {
        return;
    }
    const char* name = BaseName(path);
    std::size_t length = std::strlen(name);
    if (length >= 4 && std::strcmp(name + length - 4, ".exe") == 0) {
        length -= 4;
    }
    length = std::min(length, sizeof g_executableName - 1);
    std::memcpy(g_executableName, name, length);
    g_executableName[length] = '\0';
}
}  // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR appName) : m_pszAppName(appName) {
    if (g_app == nullptr) {
        g_app = this;
    }
}

CWinApp::CWinApp(StandIn) : m_pszAppName(nullptr) {}

CWinApp::~CWinApp() {
    if (g_app == this) {
        g_app = nullptr;
    }
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    return framework::QuitPending() ? framework::QuitCode() : 0;
}

int CWinApp::Run() {
    framework::CurrentHost().RunMessageLoop();
    return ExitInstance();
}

HICON CWinApp::LoadIcon(UINT id) const {
    return LoadIcon(MAKEINTRESOURCE(id));
}

HICON CWinApp::LoadIcon(LPCSTR name) const {
    if (AfxFindResourceHandle(name, RT_GROUP_ICON) == nullptr) {
        return nullptr;
    }
    const CIconResource* icon =
        AfxGetResourceModule()->FindIcon(static_cast<int>(reinterpret_cast<UINT_PTR>(name)));
    framework::Host& host = framework::CurrentHost();
    HICON handle = host.LoadIcon(*icon, host.SystemMetric(SM_CXICON));
    framework::RememberIcon(handle, icon);
    return handle;
}

void CWinApp::OnHelp() {
    framework::CurrentHost().Help(framework::ActiveDialog());
}

CWinApp* AfxGetApp() {
    static CWinApp standIn{CWinApp::StandIn{}};
    return g_app != nullptr ? g_app : &standIn;
}

LPCSTR AfxGetAppName() {
    CWinApp* app = AfxGetApp();
    if (app->m_pszAppName != nullptr) {
        return app->m_pszAppName;
    }
    const CResourceModule* module = AfxGetResourceModule();
    if (module != nullptr && module->applicationTitle != nullptr) {
        return module->applicationTitle;
    }
    return g_executableName;
}

void AfxEnableControlContainer(COccManager* occManager) {
    (void)occManager;
}

int AfxWinMain(framework::Host& host, const char* executableName) {
    if (g_app == nullptr) {
        return -1;
    }
    framework::CScopedHost scopedHost(host);
    framework::ResetMessageState();
    RememberExecutableName(executableName);
    CWinApp* app = g_app;
    int exitCode = 0;
    if (!app->InitInstance()) {
        exitCode = app->ExitInstance();
    } else {
        exitCode = app->Run();
    }
    framework::ResetMessageState();
    return exitCode;
}
