// The 3D editor's views as a user meets them: a model named on the command line opens with its
// Front, Top and Side windows, and every view shows a presented frame without being clicked; a
// model file that cannot be opened says so and leaves the studio as it was.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/qvp_fixtures.h"
#include "wine/support/driver.h"

namespace {

// The clear colour of the 3D editor's frames (128, 128, 128), as a COLORREF.
const COLORREF kClearGrey = RGB(128, 128, 128);

// What a view shows where no other window of the studio covers it: of a 8 x 8 grid of points in
// its client area, how many lie outside every window above it, and how many of those are the
// editor's clear grey. The main window lies under every other window of the studio.
// (Rectangles and the z-order only: asking the system which window is at a point costs a message to
// the studio.)
struct ViewSample {
    int points = 0;
    int visible = 0;
    int grey = 0;
};

ViewSample SampleView(HWND wnd, HWND main, const std::vector<HWND>& others)
{
    ViewSample s;
    // Only the windows above the view in the z-order hide any of it.
    std::vector<HWND> above;
    for (HWND w = GetWindow(wnd, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV)) above.push_back(w);
    std::vector<RECT> covers;
    for (HWND o : others) {
        RECT r;
        const bool isAbove = std::find(above.begin(), above.end(), o) != above.end();
        if (o != wnd && (wnd == main || o != main) && isAbove && GetWindowRect(o, &r)) covers.push_back(r);
    }
    RECT c;
    GetClientRect(wnd, &c);
    const int w = c.right, h = c.bottom;
    if (w < 24 || h < 24) return s;
    for (int j = 0; j < 8; ++j)
        for (int i = 0; i < 8; ++i) {
            const int x = 6 + i * (w - 12) / 7, y = 6 + j * (h - 12) / 7;
            ++s.points;
            POINT p = {x, y};
            ClientToScreen(wnd, &p);
            bool covered = false;
            for (const RECT& r : covers) covered = covered || PtInRect(&r, p);
            if (covered) continue;
            ++s.visible;
            if ((Drive_ClientPixel(wnd, x, y) & 0xFFFFFF) == kClearGrey) ++s.grey;
        }
    return s;
}

// A view has presented a frame when most of what can be seen of it is the clear grey: neither the
// window's own background nor what lay under it before it opened.
bool Presented(const ViewSample& s) { return s.visible >= 8 && s.grey * 2 >= s.visible; }

std::string Describe(const ViewSample& s)
{
    return std::to_string(s.grey) + " grey of " + std::to_string(s.visible) + " visible of " +
           std::to_string(s.points) + " points";
}

std::string FixtureFolder()
{
    std::string folder = Drive_ExeFolder() + "drive_views";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

TEST(DriveViews, EveryViewPaintsItsFirstFrameWithoutAClick)
{
    const std::string model = FixtureFolder() + "\\Views.qvp";
    ASSERT_TRUE(Drive_WriteFile(model, QvpFixture(2009000)));

    StudioProcess studio;
    ASSERT_TRUE(studio.Start("\"" + model + "\""));
    BoxAnswerer boxes(studio.Pid());
    HWND main = studio.Main();

    const wchar_t* titles[3] = {L"Front", L"Top", L"Side"};
    HWND views[4] = {main, nullptr, nullptr, nullptr};
    ASSERT_TRUE(Drive_WaitFor([&] {
        for (int i = 0; i < 3; ++i) views[i + 1] = Drive_FindTitled(studio.Pid(), titles[i]);
        return views[1] && views[2] && views[3];
    }, 60000));

    // The window views open at their default rectangles, where most of each can be seen (the
    // defaults let Top overlap the top edge of Front).
    const std::vector<HWND> windows = Drive_WindowsOf(studio.Pid());
    for (int i = 1; i < 4; ++i) {
        ViewSample s = SampleView(views[i], main, windows);
        EXPECT_GE(s.visible * 2, s.points) << "view " << i << ": " << Describe(s);
    }

    // Nothing is clicked: each view must show a rendered frame on its own.
    ViewSample seen[4];
    for (DWORD start = GetTickCount(); GetTickCount() - start < 60000; Sleep(500)) {
        bool all = true;
        for (int i = 0; i < 4; ++i) {
            seen[i] = SampleView(views[i], main, windows);
            all = all && Presented(seen[i]);
        }
        if (all) break;
    }
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(Presented(seen[i])) << "view " << i << ": " << Describe(seen[i]);
    // And they keep it: a later look finds the same.
    Sleep(3000);
    for (int i = 0; i < 4; ++i) {
        ViewSample again = SampleView(views[i], main, windows);
        EXPECT_TRUE(Presented(again)) << "view " << i << " later: " << Describe(again);
    }

    // A window of ours lies over the views for a moment and goes: under Wine nothing tells the
    // studio that their pictures were lost, yet they come back without a click.
    RECT cover = {0, 0, 0, 0};
    for (int i = 1; i < 4; ++i) {
        RECT r;
        GetWindowRect(views[i], &r);
        UnionRect(&cover, &cover, &r);
    }
    HWND sheet = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE,
                                 cover.left, cover.top, cover.right - cover.left, cover.bottom - cover.top,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, sheet);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 2000; Sleep(20)) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    }
    DestroyWindow(sheet);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 30000; Sleep(500)) {
        bool all = true;
        for (int i = 1; i < 4; ++i) {
            seen[i] = SampleView(views[i], main, windows);
            all = all && Presented(seen[i]);
        }
        if (all) break;
    }
    for (int i = 1; i < 4; ++i) EXPECT_TRUE(Presented(seen[i])) << "view " << i << " uncovered: " << Describe(seen[i]);
    EXPECT_TRUE(boxes.SeenBoxes().empty());

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(studio.WaitExit(30000));
}

TEST(DriveViews, MissingModelOnTheCommandLineSaysSo)
{
    const std::string missing = FixtureFolder() + "\\NoSuchModel.qvp";
    DeleteFileA(missing.c_str());

    StudioProcess studio;
    ASSERT_TRUE(studio.Start("\"" + missing + "\""));
    BoxAnswerer boxes(studio.Pid());
    boxes.Answer(IDOK);
    EXPECT_TRUE(boxes.WaitForBox(L"NoSuchModel.qvp を開くことができませんでした。", 60000));
    // The studio goes on in the polygon screen with its empty model.
    EXPECT_TRUE(Drive_WaitFor([&] { return Drive_FindTitled(studio.Pid(), L"Front") != nullptr; }, 30000));
    EXPECT_TRUE(studio.Running());
    EXPECT_EQ(boxes.SeenBoxes().size(), 1u);

    PostMessageW(studio.Main(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(studio.WaitExit(30000));
}

} // namespace
