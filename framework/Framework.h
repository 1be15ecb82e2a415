#pragma once

// Everything dialog code uses of the framework, our small stand-in for the Windows class
// library: the application object, dialogs and their controls, message maps, message boxes,
// timers, painting the icon and the system calls. Front ends include Host.h and UserInput.h
// besides.

#include "framework/ComboBox.h"
#include "framework/Dialog.h"
#include "framework/DrivePath.h"
#include "framework/MessageBox.h"
#include "framework/MessageMap.h"
#include "framework/ProgressCtrl.h"
#include "framework/Resources.h"
#include "framework/SystemCalls.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"
#include "framework/WriteNotice.h"
#include "wintypes/WinTypes.h"
