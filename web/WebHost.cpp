#include "web/WebHost.h"

#include <emscripten.h>

#include <string>

#include "framework/UserInput.h"
#include "web/DialogJson.h"
#include "web/PageActions.h"

// The page's side of each call is in page/page.js (window.vymPage).
EM_JS(void, PageShowDialogs, (const char* json), { vymPage.showDialogs(UTF8ToString(json)); });
EM_JS(void, PageOpenMessageBox, (const char* text, const char* caption, unsigned type),
      { vymPage.openMessageBox(UTF8ToString(text), UTF8ToString(caption), type); });
EM_JS(int, PageTakeAnswer, (), { return vymPage.takeAnswer(); });
EM_JS(int, PageTakeAction, (int* action), {
    const next = vymPage.takeAction();
    if (!next) {
        return 0;
    }
    HEAP32[(action >> 2) + 0] = next[0];
    HEAP32[(action >> 2) + 1] = next[1] | 0;
    HEAP32[(action >> 2) + 2] = next[2] | 0;
    return 1;
});
EM_JS(void, PageFileWritten, (const char* path, long size),
      { vymPage.fileWritten(UTF8ToString(path), size); });
EM_JS(void, PageShowKeys, (), { vymPage.showKeys(); });

namespace {

// How long one wait for the page lasts: short enough that a pick feels immediate, long enough
// that a waiting dialog costs the browser next to nothing.
constexpr int kPollMs = 10;

}  // namespace

void CWebHost::ShowChanges() {
    if (!m_changed) {
        return;
    }
    m_changed = false;
    std::string json = "[";
    for (int i = 0; i < m_dialogCount; ++i) {
        json += (i > 0 ? "," : "") + DialogJson(*m_dialogs[i]);
    }
    json += "]";
    PageShowDialogs(json.c_str());
}

bool CWebHost::WaitForInput(const framework::WindowState* active, int timeoutMs) {
    ShowChanges();
    const std::uint64_t start = NowMs();
    for (;;) {
        int action[3] = {};
        if (PageTakeAction(action) != 0) {
            if (active == nullptr) {
                return action[0] != PAGE_END;
            }
            return Deliver(*active, action);
        }
        int waitMs = kPollMs;
        if (timeoutMs >= 0) {
            const std::uint64_t elapsed = NowMs() - start;
            if (elapsed >= static_cast<std::uint64_t>(timeoutMs)) {
                return true;
            }
            const std::uint64_t left = static_cast<std::uint64_t>(timeoutMs) - elapsed;
            waitMs = left < kPollMs ? static_cast<int>(left) : kPollMs;
        }
        emscripten_sleep(static_cast<unsigned>(waitMs));
    }
}

bool CWebHost::Deliver(const framework::WindowState& dialog, const int action[3]) {
    const framework::WindowState* control = dialog.FindChild(action[1]);
    switch (action[0]) {
        case PAGE_PICK:
            if (control != nullptr) {
                framework::UserPick(*control, action[2]);
            }
            break;
        case PAGE_CLICK:
            if (control != nullptr) {
                framework::UserClick(*control);
            }
            break;
        case PAGE_FOCUS:
            if (control != nullptr) {
                framework::UserFocus(*control);
            }
            break;
        case PAGE_ENTER:
            framework::UserEnter(dialog);
            break;
        case PAGE_ESCAPE:
            framework::UserEscape(dialog);
            break;
        case PAGE_CLOSE:
            framework::UserClose(dialog);
            break;
        case PAGE_HELP:
            // As in Windows: the help command goes through the dialog to the application, which
            // hands it back to the host.
            if (framework::UserHelp(dialog) == 0) {
                Help(&dialog);
            }
            break;
        case PAGE_END:
            return false;
        default:
            break;
    }
    // What the handler changed is drawn at once, not only at the next wait.
    ShowChanges();
    return true;
}

int CWebHost::MessageBox(const framework::WindowState* owner, const char* text, const char* caption,
                         UINT type) {
    (void)owner;
    ShowChanges();
    PageOpenMessageBox(text != nullptr ? text : "", caption != nullptr ? caption : "", type);
    int answer = 0;
    while ((answer = PageTakeAnswer()) == 0) {
        emscripten_sleep(kPollMs);
    }
    return answer;
}

void CWebHost::DialogCreated(const framework::WindowState& dialog) {
    if (m_dialogCount < static_cast<int>(sizeof m_dialogs / sizeof m_dialogs[0])) {
        m_dialogs[m_dialogCount++] = &dialog;
    }
    m_changed = true;
}

void CWebHost::DialogShown(const framework::WindowState& dialog) {
    (void)dialog;
    m_changed = true;
    ShowChanges();
}

void CWebHost::DialogDestroyed(const framework::WindowState& dialog) {
    for (int i = 0; i < m_dialogCount; ++i) {
        if (m_dialogs[i] == &dialog) {
            for (int j = i + 1; j < m_dialogCount; ++j) {
                m_dialogs[j - 1] = m_dialogs[j];
            }
            --m_dialogCount;
            break;
        }
    }
    m_changed = true;
    ShowChanges();
}

void CWebHost::WindowChanged(const framework::WindowState& window, framework::WindowChange change) {
    (void)window;
    (void)change;
    m_changed = true;
}

void CWebHost::FileWritten(const char* path, long size) {
    PageFileWritten(path, size);
}

void CWebHost::Help(const framework::WindowState* active) {
    (void)active;
    PageShowKeys();
}
