#include <gtest/gtest.h>

#include "framework/MessageQueue.h"
#include "framework/tests/TestDialogs.h"

using framework::testing::ScriptedHost;
using namespace test_dialogs;

namespace {

class TimerTest : public ::testing::Test {
protected:
    ScopedTestResources resources;
    ScriptedHost host;
};

TEST_F(TimerTest, TimerTicksReachTheMapAboutEveryPeriod) {
    CTestDlg dialog;
    dialog.onInit = [&] { EXPECT_EQ(dialog.SetTimer(1, 100, nullptr), 1u); };
    dialog.onTimer = [&](UINT_PTR) {
        if (dialog.m_ticks.size() == 3) {
            dialog.EndDialog(IDOK);
        }
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_ticks, (std::vector<UINT_PTR>{1, 1, 1}));
    EXPECT_EQ(dialog.m_tickTimes, (std::vector<std::uint64_t>{100, 200, 300}));
    ASSERT_FALSE(host.Timers().empty());
    EXPECT_TRUE(host.Timers()[0].started);
    EXPECT_EQ(host.Timers()[0].milliseconds, 100u);
    EXPECT_EQ(framework::TimerCount(), 0);  // the dialog's timers went with it
}

TEST_F(TimerTest, KillTimerStopsTheTicks) {
    CTestDlg dialog;
    dialog.onInit = [&] { dialog.SetTimer(1, 100); };
    dialog.onTimer = [&](UINT_PTR id) { EXPECT_TRUE(dialog.KillTimer(id)); };
    host.Wait(150);
    host.Escape();
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.m_ticks.size(), 1u);
    ASSERT_EQ(host.Timers().size(), 2u);
    EXPECT_FALSE(host.Timers()[1].started);
    EXPECT_EQ(host.Timers()[1].at, 150u);  // the tick came when the wait ended
}

TEST_F(TimerTest, KillingAnUnknownTimerFails) {
    CTestDlg dialog;
    dialog.onInit = [&] {
        EXPECT_FALSE(dialog.KillTimer(7));
        dialog.SetTimer(1, 50);
        EXPECT_FALSE(dialog.KillTimer(2));
        EXPECT_TRUE(dialog.KillTimer(1));
        EXPECT_FALSE(dialog.KillTimer(1));
    };
    host.Escape();
    dialog.DoModal();
    EXPECT_TRUE(dialog.m_ticks.empty());
}

TEST_F(TimerTest, TwoTimersTickInTheOrderTheyFallDue) {
    CTestDlg dialog;
    dialog.onInit = [&] {
        dialog.SetTimer(1, 30);
        dialog.SetTimer(2, 20);
    };
    dialog.onTimer = [&](UINT_PTR) {
        if (dialog.m_ticks.size() == 4) {
            dialog.EndDialog(IDOK);
        }
    };
    dialog.DoModal();
    EXPECT_EQ(dialog.m_ticks, (std::vector<UINT_PTR>{2, 1, 2, 1}));  // a tie: first set first
    EXPECT_EQ(dialog.m_tickTimes, (std::vector<std::uint64_t>{20, 30, 40, 60}));
}

TEST_F(TimerTest, SettingTheSameTimerAgainRestartsIt) {
    CTestDlg dialog;
    dialog.onInit = [&] {
        dialog.SetTimer(1, 100);
        dialog.SetTimer(1, 40);
    };
    dialog.onTimer = [&](UINT_PTR) { dialog.EndDialog(IDOK); };
    dialog.DoModal();
    EXPECT_EQ(dialog.m_tickTimes, (std::vector<std::uint64_t>{40}));
}

TEST_F(TimerTest, ALongHandlerGetsOneTickNotABacklog) {
    CTestDlg dialog;
    dialog.onInit = [&] { dialog.SetTimer(1, 100); };
    dialog.onTimer = [&](UINT_PTR) {
        if (dialog.m_ticks.size() == 1) {
            host.Advance(1000);  // the write loop: busy for ten periods
        } else if (dialog.m_ticks.size() == 3) {
            dialog.EndDialog(IDOK);
        }
    };
    dialog.DoModal();
    // The tick that fell due meanwhile comes at once, the next one a period later.
    EXPECT_EQ(dialog.m_tickTimes, (std::vector<std::uint64_t>{100, 1100, 1200}));
}

TEST_F(TimerTest, PeriodsBelowTheMinimumTickAtTheMinimum) {
    CTestDlg dialog;
    dialog.onInit = [&] { dialog.SetTimer(1, 0); };
    dialog.onTimer = [&](UINT_PTR) {
        if (dialog.m_ticks.size() == 2) {
            dialog.EndDialog(IDOK);
        }
    };
    dialog.DoModal();
    EXPECT_EQ(dialog.m_tickTimes, (std::vector<std::uint64_t>{10, 20}));
}

TEST_F(TimerTest, TimerOnAWindowThatDoesNotExistFails) {
    CTestDlg dialog;
    EXPECT_EQ(dialog.SetTimer(1, 100), 0u);
    EXPECT_FALSE(dialog.KillTimer(1));
}

}  // namespace
