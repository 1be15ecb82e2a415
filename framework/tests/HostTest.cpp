#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "framework/ControlState.h"
#include "framework/MessageQueue.h"
#include "framework/UserInput.h"
#include "framework/tests/TestDialogs.h"

using framework::WindowChange;
using framework::WindowState;
using namespace test_dialogs;

namespace {

// Runs dialogs the way the native Windows host does: no generic loop, native messages forwarded
// into the map, the native dialog ended from DialogEnded.
class NativeStyleHost : public framework::Host {
public:
    INT_PTR RunModalDialog(CDialog& dialog) override {
        const WindowState& window = *dialog.GetState();
        initResult = framework::InitDialog(dialog);
        for (const auto& step : steps) {
            if (ended) {
                break;
            }
            step(window);
        }
        return ended ? endedWith : -1;
    }
    int RunMessageLoop() override { return 0; }
    int MessageBox(const WindowState*, const char*, const char*, UINT) override { return IDOK; }
    void DialogEnded(const WindowState&, INT_PTR result) override {
        ended = true;
        endedWith = result;
    }
    void WindowChanged(const WindowState& window, WindowChange change) override {
        changes.emplace_back(window.id, change);
    }
    std::uint64_t NowMs() override { return 0; }

    std::vector<std::function<void(const WindowState&)>> steps;
    std::vector<std::pair<int, WindowChange>> changes;
    BOOL initResult = FALSE;
    bool ended = false;
    INT_PTR endedWith = 0;
};

class HostTest : public ::testing::Test {
protected:
    void TearDown() override { framework::ResetMessageState(); }
    ScopedTestResources resources;
};

TEST_F(HostTest, NativeHostDrivesTheMapAndSeesEveryChange) {
    NativeStyleHost host;
    framework::CScopedHost installed(host);
    CTestDlg dialog;
    dialog.onInit = [&] {
        dialog.m_first.InsertString(-1, "PnP");
        dialog.m_first.InsertString(-1, "5");
        dialog.m_first.SetCurSel(0);
    };
    host.steps.push_back([](const WindowState& window) {
        framework::SendToWindow(window, WM_COMMAND, MAKEWPARAM(kHiddenButton, BN_CLICKED), 0);
    });
    host.steps.push_back(
        [](const WindowState& window) { framework::UserPick(*window.FindChild(kFirstCombo), 1); });
    host.steps.push_back([](const WindowState& window) {
        framework::SendToWindow(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(host.initResult);
    EXPECT_EQ(dialog.m_hiddenClicks, 1);
    EXPECT_EQ(dialog.m_firstChanges, (std::vector<int>{1}));
    EXPECT_EQ(dialog.m_okCount, 1);
    int entryChanges = 0;
    int selectionChanges = 0;
    for (const auto& [id, change] : host.changes) {
        if (id == kFirstCombo && change == WindowChange::Entries) {
            ++entryChanges;
        }
        if (id == kFirstCombo && change == WindowChange::Selection) {
            ++selectionChanges;
        }
    }
    EXPECT_EQ(entryChanges, 2);
    EXPECT_EQ(selectionChanges, 2);  // the program's SetCurSel and the user's pick
}

TEST_F(HostTest, NativeHostGetsTimerStartAndStop) {
    struct TimerHost : NativeStyleHost {
        void TimerSet(const WindowState& window, UINT_PTR id, UINT ms) override {
            events.push_back({window.id, static_cast<int>(id), static_cast<int>(ms)});
        }
        void TimerKilled(const WindowState& window, UINT_PTR id) override {
            events.push_back({window.id, static_cast<int>(id), -1});
        }
        std::vector<std::vector<int>> events;
    } host;
    framework::CScopedHost installed(host);
    CProgressTestDlg dialog;
    dialog.onInit = [&] { dialog.SetTimer(1, 100); };
    host.steps.push_back(
        [](const WindowState& window) { framework::SendToWindow(window, WM_TIMER, 1, 0); });
    dialog.onTimer = [&](UINT_PTR id) {
        dialog.KillTimer(id);
        dialog.EndDialog(IDOK);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(host.events,
              (std::vector<std::vector<int>>{{kProgressDialog, 1, 100}, {kProgressDialog, 1, -1}}));
}

TEST_F(HostTest, WithoutAHostBoxesGetTheirSafeAnswerAndDialogsEnd) {
    ASSERT_EQ(framework::InstalledHost(), nullptr);
    EXPECT_EQ(AfxMessageBox("Write?", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(AfxMessageBox("Note", MB_OK), IDOK);
    CTestDlg dialog;
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_EQ(dialog.m_initCount, 1);
    EXPECT_EQ(framework::QuitCode(), framework::kInputEndedExitCode);
}

TEST_F(HostTest, ScopedHostsNestAndRestore) {
    NativeStyleHost outer;
    NativeStyleHost inner;
    {
        framework::CScopedHost first(outer);
        EXPECT_EQ(framework::InstalledHost(), &outer);
        {
            framework::CScopedHost second(inner);
            EXPECT_EQ(&framework::CurrentHost(), &inner);
        }
        EXPECT_EQ(&framework::CurrentHost(), &outer);
    }
    EXPECT_EQ(framework::InstalledHost(), nullptr);
}

TEST_F(HostTest, WindowsOfAnEndedDialogAreNoLongerLive) {
    framework::testing::ScriptedHost host;
    const WindowState* kept = nullptr;
    const WindowState* keptCombo = nullptr;
    CTestDlg dialog;
    dialog.onInit = [&] {
        kept = dialog.GetState();
        keptCombo = kept->FindChild(kFirstCombo);
        EXPECT_EQ(framework::LiveWindow(kept), kept);
    };
    host.Escape();
    dialog.DoModal();
    EXPECT_EQ(framework::LiveWindow(kept), nullptr);
    EXPECT_EQ(framework::LiveWindow(keptCombo), nullptr);
}

}  // namespace
