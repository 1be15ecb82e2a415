#include "framework/CmdTarget.h"

namespace {

bool Matches(const framework::MessageMapEntry& entry, UINT message, WPARAM wParam) {
    if (entry.message != message) {
        return false;
    }
    if (message != WM_COMMAND) {
        return true;
    }
    return entry.id == LOWORD(wParam) && entry.code == HIWORD(wParam);
}

}  // namespace

const framework::MessageMap* CCmdTarget::GetThisMessageMap() {
    static const framework::MessageMapEntry entries[] = {{0, 0, 0, nullptr, nullptr, nullptr}};
    static const framework::MessageMap map = {nullptr, entries};
    return &map;
}

const framework::MessageMap* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

BOOL CCmdTarget::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    (void)lParam;
    LRESULT ignored = 0;
    LRESULT& out = result != nullptr ? *result : ignored;
    for (const framework::MessageMap* map = GetMessageMap(); map != nullptr;
         map = map->base != nullptr ? map->base() : nullptr) {
        for (const framework::MessageMapEntry* entry = map->entries; entry->message != 0; ++entry) {
            if (!Matches(*entry, message, wParam)) {
                continue;
            }
            if (entry->onVoid != nullptr) {
                (this->*(entry->onVoid))();
                out = 0;
                return TRUE;
            }
            if (entry->onTimer != nullptr) {
                (this->*(entry->onTimer))(static_cast<UINT_PTR>(wParam));
                out = 0;
                return TRUE;
            }
            if (entry->onIcon != nullptr) {
                out = reinterpret_cast<LRESULT>((this->*(entry->onIcon))());
                return TRUE;
            }
        }
    }
    return FALSE;
}
