#pragma once

#include "driver/DeviceSeam.h"

// Stands in front of the card for its life and decides whether the pause after each written
// byte is kept: an emulated card needs no time to settle, so a script may turn the pace off.
class CPacingDeviceApi final : public CScopedForwardingDeviceApi {
public:
    void Sleep(DWORD milliseconds) override {
        if (m_pacing) {
            CScopedForwardingDeviceApi::Sleep(milliseconds);
        }
    }

    void SetPacing(bool on) { m_pacing = on; }
    bool Pacing() const { return m_pacing; }

private:
    bool m_pacing = true;
};
