#include "web/PagePacing.h"

#include <emscripten.h>

#include <chrono>

void CPagePacing::Sleep(DWORD milliseconds) {
    m_host.ShowChanges();
    // The browser's timers may wake early by a fraction of a millisecond; the card's pause is a
    // lower bound, so wait again for what is left.
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (auto now = std::chrono::steady_clock::now(); now < deadline;
         now = std::chrono::steady_clock::now()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count();
        emscripten_sleep(static_cast<unsigned>(left > 0 ? left : 1));
    }
}
