#include "framework/Resources.h"

#include <cstdlib>

namespace {
const CResourceModule* g_resourceModule = nullptr;

int ResourceId(LPCSTR name) {
    if (!IS_INTRESOURCE(name)) {
        return -1;  // the application's resources are all named by number
    }
    return static_cast<int>(reinterpret_cast<UINT_PTR>(name));
}
}  // namespace

const CIconFrame* CIconResource::FrameNearest(int size) const {
    const CIconFrame* best = nullptr;
    int bestDistance = 0;
    for (const CIconFrame& frame : frames) {
        const int distance = std::abs(frame.width - size);
        if (best == nullptr || distance < bestDistance ||
            (distance == bestDistance && frame.width > best->width)) {
            best = &frame;
            bestDistance = distance;
        }
    }
    return best;
}

const CDialogTemplate* CResourceModule::FindDialog(int id) const {
    for (const CDialogTemplate* dialog : dialogs) {
        if (dialog != nullptr && dialog->id == id) {
            return dialog;
        }
    }
    return nullptr;
}

const CIconResource* CResourceModule::FindIcon(int id) const {
    for (const CIconResource* icon : icons) {
        if (icon != nullptr && icon->id == id) {
            return icon;
        }
    }
    return nullptr;
}

void AfxSetResourceModule(const CResourceModule* module) {
    g_resourceModule = module;
}

const CResourceModule* AfxGetResourceModule() {
    return g_resourceModule;
}

HINSTANCE AfxFindResourceHandle(LPCSTR name, LPCSTR type) {
    const CResourceModule* module = g_resourceModule;
    const int id = ResourceId(name);
    if (module == nullptr || id < 0) {
        return nullptr;
    }
    const bool found = (type == RT_DIALOG && module->FindDialog(id) != nullptr) ||
                       (type == RT_GROUP_ICON && module->FindIcon(id) != nullptr);
    if (!found) {
        return nullptr;
    }
    // Only ever compared and handed back to the framework, never dereferenced as a module.
    return reinterpret_cast<HINSTANCE>(const_cast<CResourceModule*>(module));
}

namespace framework {
namespace {
struct LoadedIcon {
    HICON handle;
    const CIconResource* resource;
};
constexpr int kMaxLoadedIcons = 32;
LoadedIcon g_loadedIcons[kMaxLoadedIcons] = {};
int g_loadedIconCount = 0;
}  // namespace

void RememberIcon(HICON icon, const CIconResource* resource) {
    if (icon == nullptr || IconResourceOf(icon) != nullptr) {
        return;
    }
    if (g_loadedIconCount < kMaxLoadedIcons) {
        g_loadedIcons[g_loadedIconCount++] = {icon, resource};
    }
}

const CIconResource* IconResourceOf(HICON icon) {
    for (int i = 0; i < g_loadedIconCount; ++i) {
        if (g_loadedIcons[i].handle == icon) {
            return g_loadedIcons[i].resource;
        }
    }
    return nullptr;
}
}  // namespace framework
