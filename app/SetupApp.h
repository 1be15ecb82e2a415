#pragma once

#include "framework/Framework.h"

// The application object: runs the setup dialog modally once, then the program ends.
class CSetupApp : public CWinApp {
public:
    CSetupApp();

    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};

// The one application object of the process.
extern CSetupApp theApp;
