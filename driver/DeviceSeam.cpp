#include "driver/DeviceSeam.h"

#include <atomic>

namespace {
// nullptr means the system's table; an atomic so that a reader on another thread never sees
// half a pointer while a test puts its table in place.
std::atomic<const CDeviceApi*> g_currentApi{nullptr};
}  // namespace

const CDeviceApi& CurrentDeviceApi() {
    const CDeviceApi* api = g_currentApi.load();
    return api != nullptr ? *api : SystemDeviceApi();
}

CScopedDeviceApi::CScopedDeviceApi(const CDeviceApi& api) : m_previous(g_currentApi.load()) {
    g_currentApi.store(&api);
}

CScopedDeviceApi::~CScopedDeviceApi() {
    g_currentApi.store(m_previous);
}
