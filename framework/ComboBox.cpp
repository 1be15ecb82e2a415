#include "framework/ComboBox.h"

#include <algorithm>
#include <cstring>

#include "framework/ControlState.h"

int CComboBox::InsertString(int index, LPCSTR text) {
    framework::WindowState* window = framework::LiveWindow(m_pState);
    return window != nullptr ? framework::ComboInsertString(*window, index, text) : CB_ERR;
}

int CComboBox::GetCount() const {
    framework::WindowState* window = framework::LiveWindow(m_pState);
    return window != nullptr ? static_cast<int>(window->entries.size()) : 0;
}

int CComboBox::SetItemData(int index, DWORD_PTR data) {
    framework::WindowState* window = framework::LiveWindow(m_pState);
    return window != nullptr ? framework::ComboSetItemData(*window, index, data) : CB_ERR;
}

DWORD_PTR CComboBox::GetItemData(int index) const {
    framework::WindowState* window = framework::LiveWindow(m_pState);
    return window != nullptr ? framework::ComboGetItemData(*window, index)
                             : static_cast<DWORD_PTR>(CB_ERR);
}

int CComboBox::SetCurSel(int index) {
    framework::WindowState* window = framework::LiveWindow(m_pState);
    return window != nullptr ? framework::ComboSetCurSel(*window, index) : CB_ERR;
}

int CComboBox::GetCurSel() const {
    framework::WindowState* window = framework::LiveWindow(m_pState);
    return window != nullptr ? window->curSel : CB_ERR;
}

int CComboBox::GetLBText(int index, LPSTR buffer, int size) const {
    framework::WindowState* window = framework::LiveWindow(m_pState);
    if (buffer != nullptr && size > 0) {
        buffer[0] = '\0';
    }
    if (window == nullptr || index < 0 || index >= static_cast<int>(window->entries.size())) {
        return CB_ERR;
    }
    const std::string& text = window->entries[static_cast<std::size_t>(index)].text;
    if (buffer != nullptr && size > 0) {
        const std::size_t length =
            std::min<std::size_t>(text.size(), static_cast<std::size_t>(size - 1));
        std::memcpy(buffer, text.data(), length);
        buffer[length] = '\0';
    }
    return static_cast<int>(text.size());
}
