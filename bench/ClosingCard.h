#pragma once

#include "driver/DeviceSeam.h"
#include "driver/EmulatedCard.h"

// The programs never close the card (the process ends instead); between runs in one process a
// benchmark must, or the next run finds the card in use. These services pass everything on to
// the emulated card, note the handle its open gave, and close it when they go.
class CClosingCard : public CScopedForwardingDeviceApi {
public:
    ~CClosingCard() { CloseEmulatedCard(m_opened); }

    HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode,
                       LPSECURITY_ATTRIBUTES securityAttributes, DWORD creationDisposition,
                       DWORD flagsAndAttributes, HANDLE templateFile) override {
        m_opened = CScopedForwardingDeviceApi::CreateFileA(fileName, desiredAccess, shareMode,
                                                           securityAttributes, creationDisposition,
                                                           flagsAndAttributes, templateFile);
        return m_opened;
    }

private:
    HANDLE m_opened = INVALID_HANDLE_VALUE;
};
