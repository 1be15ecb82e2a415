#include <gtest/gtest.h>

#include "framework/tests/TestDialogs.h"

using framework::testing::ScriptedHost;
using namespace test_dialogs;

namespace {

class ProgressTest : public ::testing::Test {
protected:
    ScopedTestResources resources;
    ScriptedHost host;
};

// The write loop's shape: range by message, one position a byte, then OK, all in one tick.
TEST_F(ProgressTest, RangeAndPositionsByMessageInsideOneTick) {
    CProgressTestDlg dialog;
    constexpr int kBytes = 5;
    dialog.onInit = [&] { dialog.SetTimer(1, 100); };
    dialog.onTimer = [&](UINT_PTR) {
        dialog.m_progress.SendMessage(PBM_SETRANGE, 0, MAKELPARAM(0, kBytes));
        dialog.KillTimer(1);
        for (int i = 0; i < kBytes; ++i) {
            host.Advance(20);  // the pause after each byte
            dialog.m_progress.SendMessage(PBM_SETPOS, static_cast<WPARAM>(i), 0);
        }
        dialog.OnOK();
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    std::vector<int> positions;
    for (const auto& step : host.Progress()) {
        EXPECT_EQ(step.controlId, kProgress);
        EXPECT_EQ(step.low, 0);
        EXPECT_EQ(step.high, kBytes);
        positions.push_back(step.pos);
    }
    EXPECT_EQ(positions, (std::vector<int>{0, 0, 1, 2, 3, 4}));  // the range, then each byte
}

TEST_F(ProgressTest, PositionStaysInsideTheRange) {
    CProgressTestDlg dialog;
    std::vector<int> seen;
    dialog.onInit = [&] {
        seen.push_back(dialog.m_progress.GetPos());
        dialog.m_progress.SetRange(0, 10);
        dialog.m_progress.SetPos(12);
        seen.push_back(dialog.m_progress.GetPos());
        dialog.m_progress.SetPos(-3);
        seen.push_back(dialog.m_progress.GetPos());
        seen.push_back(static_cast<int>(dialog.m_progress.SendMessage(PBM_SETPOS, 4)));
        seen.push_back(static_cast<int>(dialog.m_progress.SendMessage(PBM_GETPOS)));
        dialog.m_progress.SendMessage(PBM_SETRANGE, 0, MAKELPARAM(0, 0));
        seen.push_back(dialog.m_progress.GetPos());
    };
    host.Escape();
    dialog.DoModal();
    EXPECT_EQ(seen, (std::vector<int>{0, 10, 0, 0, 4, 0}));
}

TEST_F(ProgressTest, RangeFromTheHighWordOfTheMessage) {
    CProgressTestDlg dialog;
    int low = -1;
    int high = -1;
    dialog.onInit = [&] {
        dialog.m_progress.SendMessage(PBM_SETRANGE, 0, MAKELPARAM(0, 2048));
        dialog.m_progress.GetRange(low, high);
    };
    host.Escape();
    dialog.DoModal();
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 2048);
}

TEST_F(ProgressTest, EscapeBeforeTheFirstTickEndsWithCancel) {
    CProgressTestDlg dialog;
    int ticks = 0;
    dialog.onInit = [&] { dialog.SetTimer(1, 100); };
    dialog.onTimer = [&](UINT_PTR) { ++ticks; };
    host.Escape();
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(ticks, 0);
}

TEST_F(ProgressTest, CallsWithoutAWindowAreHarmless) {
    CProgressCtrl progress;
    progress.SetRange(0, 5);
    EXPECT_EQ(progress.SetPos(3), 0);
    EXPECT_EQ(progress.GetPos(), 0);
    EXPECT_EQ(progress.SendMessage(PBM_SETPOS, 1), 0);
}

}  // namespace
