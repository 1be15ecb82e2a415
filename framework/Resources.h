#pragma once

#include <cstdint>
#include <span>

#include "framework/DialogTemplate.h"
#include "wintypes/WinTypes.h"

// One image of an icon: rows of palette indices, one hexadecimal digit a pixel ('0' to 'F'),
// '.' for a transparent pixel, top row first.
struct CIconFrame {
    int width;
    int height;
    std::span<const char* const> rows;
};

// An icon resource: its images (largest first is usual, any order works) and the palette the
// digits index, as 0x00RRGGBB.
struct CIconResource {
    int id;
    std::span<const CIconFrame> frames;
    std::span<const std::uint32_t> palette;

    // The image whose size is nearest to size x size (the larger one on a tie); nullptr when the
    // icon has none.
    const CIconFrame* FrameNearest(int size) const;
};

// The application's resources: what an executable's resource section holds on Windows. The
// application side builds one and registers it with AfxSetResourceModule before anything looks
// a dialog template or an icon up (a front end does it before AfxWinMain; a test before it
// constructs a dialog). applicationTitle names the application in message box captions when the
// application object was given no name (nullptr: the executable's name is used).
struct CResourceModule {
    const char* applicationTitle;
    std::span<const CDialogTemplate* const> dialogs;
    std::span<const CIconResource* const> icons;

    const CDialogTemplate* FindDialog(int id) const;
    const CIconResource* FindIcon(int id) const;
};

// The registered module, nullptr when none is.
void AfxSetResourceModule(const CResourceModule* module);
const CResourceModule* AfxGetResourceModule();

// The module that holds resource name (a MAKEINTRESOURCE id) of type RT_DIALOG or RT_GROUP_ICON,
// as a handle that the framework's loaders understand; nullptr when no module holds it.
HINSTANCE AfxFindResourceHandle(LPCSTR name, LPCSTR type);

namespace framework {
// The icon that an icon handle from CWinApp::LoadIcon stands for; nullptr for any other handle.
const CIconResource* IconResourceOf(HICON icon);
// Notes which resource a loaded handle stands for (CWinApp::LoadIcon does it).
void RememberIcon(HICON icon, const CIconResource* resource);
}  // namespace framework
