#pragma once

#include "driver/DeviceSeam.h"
#include "web/WebHost.h"

// The pause after each written byte, spent in the browser: the page draws the progress bar and
// stays live while the card settles, instead of the program holding the page's only thread.
class CPagePacing final : public CScopedForwardingDeviceApi {
public:
    explicit CPagePacing(CWebHost& host) : m_host(host) {}
    void Sleep(DWORD milliseconds) override;

private:
    CWebHost& m_host;
};
