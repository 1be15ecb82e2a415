#include <gtest/gtest.h>

#include "framework/UserInput.h"
#include "framework/tests/TestDialogs.h"

using framework::WindowState;
using framework::testing::ScriptedHost;
using namespace test_dialogs;

namespace {

class PaintTest : public ::testing::Test {
protected:
    ScopedTestResources resources;
    ScriptedHost host;
};

TEST_F(PaintTest, NotMinimisedPaintsTheDefaultWay) {
    CTestDlg dialog;
    host.Paint();
    host.Escape();
    dialog.DoModal();
    EXPECT_EQ(dialog.m_paints, 1);
    EXPECT_EQ(host.DefaultPaintCount(), 1);
    EXPECT_TRUE(host.DrawnIcons().empty());
    EXPECT_EQ(host.BeginPaintCount(), 0);
}

TEST_F(PaintTest, MinimisedDrawsTheIconCentredInTheClientArea) {
    CTestDlg dialog;
    dialog.onInit = [&] { dialog.m_hIcon = AfxGetApp()->LoadIcon(kIcon); };
    host.Resize(37, 36);
    host.Minimize();
    host.Paint();
    host.Escape();
    dialog.DoModal();
    ASSERT_EQ(host.DrawnIcons().size(), 1u);
    EXPECT_EQ(host.DrawnIcons()[0].x, 3);  // (37 - 32 + 1) / 2
    EXPECT_EQ(host.DrawnIcons()[0].y, 2);  // (36 - 32 + 1) / 2
    EXPECT_EQ(host.DrawnIcons()[0].icon, dialog.m_hIcon);
    EXPECT_EQ(host.IconEraseCount(), 1);
    EXPECT_EQ(host.BeginPaintCount(), 1);
    EXPECT_EQ(host.EndPaintCount(), 1);
    EXPECT_EQ(host.DefaultPaintCount(), 0);
}

TEST_F(PaintTest, AClientAreaSmallerThanTheIconCentresTowardZero) {
    CTestDlg dialog;
    dialog.onInit = [&] { dialog.m_hIcon = AfxGetApp()->LoadIcon(kIcon); };
    host.Do("minimise", [](const WindowState& window) {
        framework::SetClientSize(window, 0, 1);
        return framework::SetMinimized(window, true);
    });
    host.Paint();
    host.Escape();
    dialog.DoModal();
    ASSERT_EQ(host.DrawnIcons().size(), 1u);
    EXPECT_EQ(host.DrawnIcons()[0].x, -15);  // (0 - 32 + 1) / 2 truncates toward zero
    EXPECT_EQ(host.DrawnIcons()[0].y, -15);
}

TEST_F(PaintTest, ClientRectComesFromTheTemplateUntilTheHostSetsIt) {
    CTestDlg dialog;
    CRect rect;
    dialog.onInit = [&] { dialog.GetClientRect(&rect); };
    host.Escape();
    dialog.DoModal();
    EXPECT_EQ(rect.Width(), 480);   // 320 units at 6 pixels per 4 units
    EXPECT_EQ(rect.Height(), 341);  // 210 units at 13 pixels per 8 units
}

TEST_F(PaintTest, IconsLoadFromTheRegisteredModuleOnly) {
    HICON icon = AfxGetApp()->LoadIcon(kIcon);
    ASSERT_NE(icon, nullptr);
    const CIconResource* resource = framework::IconResourceOf(icon);
    ASSERT_NE(resource, nullptr);
    EXPECT_EQ(resource->id, kIcon);
    EXPECT_EQ(resource->FrameNearest(32)->width, 2);
    EXPECT_EQ(resource->FrameNearest(1)->width, 1);
    EXPECT_EQ(AfxGetApp()->LoadIcon(129), nullptr);
    EXPECT_NE(AfxFindResourceHandle(MAKEINTRESOURCE(kIcon), RT_GROUP_ICON), nullptr);
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(kIcon), RT_DIALOG), nullptr);
    EXPECT_NE(AfxFindResourceHandle(MAKEINTRESOURCE(kMainDialog), RT_DIALOG), nullptr);
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), 32);
    EXPECT_EQ(GetSystemMetrics(SM_CYICON), 32);
}

TEST_F(PaintTest, SetIconKeepsTheBigAndSmallIcon) {
    CTestDlg dialog;
    HICON big = nullptr;
    HICON small = nullptr;
    dialog.onInit = [&] {
        dialog.m_hIcon = AfxGetApp()->LoadIcon(kIcon);
        dialog.SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(dialog.m_hIcon));
        dialog.SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(dialog.m_hIcon));
        big = dialog.GetIcon(TRUE);
        small = dialog.GetIcon(FALSE);
    };
    host.Escape();
    dialog.DoModal();
    EXPECT_NE(big, nullptr);
    EXPECT_EQ(big, dialog.m_hIcon);
    EXPECT_EQ(small, dialog.m_hIcon);
}

TEST_F(PaintTest, RestoredDialogPaintsTheDefaultWayAgain) {
    CTestDlg dialog;
    dialog.onInit = [&] { dialog.m_hIcon = AfxGetApp()->LoadIcon(kIcon); };
    host.Minimize();
    host.Paint();
    host.Minimize(false);
    host.Paint();
    host.Escape();
    dialog.DoModal();
    EXPECT_EQ(host.DrawnIcons().size(), 1u);
    EXPECT_EQ(host.DefaultPaintCount(), 1);
    EXPECT_EQ(dialog.m_paints, 2);
}

TEST_F(PaintTest, NegativeClientSizeIsRefused) {
    CTestDlg dialog;
    CRect rect;
    host.Resize(-1, 10);
    host.Do("look", [&](const WindowState&) {
        dialog.GetClientRect(&rect);
        return 1;
    });
    host.Escape();
    dialog.DoModal();
    EXPECT_EQ(host.Refused().size(), 1u);
    EXPECT_EQ(rect.Width(), 480);
}

TEST_F(PaintTest, IsIconicFollowsTheHost) {
    CTestDlg dialog;
    std::vector<BOOL> seen;
    dialog.onInit = [&] { seen.push_back(dialog.IsIconic()); };
    host.Do("minimise", [&](const WindowState& window) {
        framework::SetMinimized(window, true);
        seen.push_back(dialog.IsIconic());
        framework::SetMinimized(window, false);
        seen.push_back(dialog.IsIconic());
        return 1;
    });
    host.Escape();
    dialog.DoModal();
    EXPECT_EQ(seen, (std::vector<BOOL>{FALSE, TRUE, FALSE}));
}

}  // namespace
