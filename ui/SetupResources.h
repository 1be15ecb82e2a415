#pragma once

#include "framework/Resources.h"

// The program's resources as the framework looks them up: dialog templates 102 and 129 and
// icon 128. Register them with AfxSetResourceModule(&SetupResourceModule()) before the
// application runs (a front end before AfxWinMain, a test before it builds a dialog).
const CResourceModule& SetupResourceModule();
