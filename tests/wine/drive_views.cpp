// The 3D editor's views as a user meets them: a model named on the command line opens with its
// Front, Top and Side windows, and every view shows a presented frame without being clicked; a
// model file that cannot be opened says so and leaves the studio as it was.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/qvp_fixtures.h"
#include "wine/support/driver.h"

namespace {

// The clear colour of the 3D editor's frames (128, 128, 128), as a COLORREF.
const COLORREF kClearGrey = RGB(128, 128, 128);

// The client area of a window as the screen shows it, one COLORREF per pixel (row by row).
std::vector<COLORREF> ScreenOfClient(HWND wnd, int* width, int* height)
{
    RECT c;
    GetClientRect(wnd, &c);
    *width = c.right;
    *height = c.bottom;
    std::vector<COLORREF> out;
    if (c.right <= 0 || c.bottom <= 0) return out;
    POINT origin = {0, 0};
    ClientToScreen(wnd, &origin);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = c.right;
    bi.bmiHeader.biHeight = -c.bottom;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, c.right, c.bottom, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    const uint32_t* p = (const uint32_t*)bits;
    out.resize((size_t)c.right * c.bottom);
    for (size_t i = 0; i < out.size(); ++i) {
        const uint32_t v = p[i];
        out[i] = RGB((v >> 16) & 255, (v >> 8) & 255, v & 255);
    }
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return out;
}

// The root window that owns the screen point.
HWND TopAt(POINT p)
{
    HWND w = WindowFromPoint(p);
    return w ? GetAncestor(w, GA_ROOT) : nullptr;
}

// What a view shows where no other window covers it: how many sampled pixels can be seen, and how
// many of those are the editor's clear grey.
struct ViewSample {
    int visible = 0;
    int grey = 0;
};

ViewSample SampleView(HWND wnd)
{
    ViewSample s;
    int w = 0, h = 0;
    std::vector<COLORREF> pixels = ScreenOfClient(wnd, &w, &h);
    for (int y = 4; y < h - 4; y += 8)
        for (int x = 4; x < w - 4; x += 8) {
            POINT p = {x, y};
            ClientToScreen(wnd, &p);
            if (TopAt(p) != wnd) continue;
            ++s.visible;
            if (pixels[(size_t)(x + y * w)] == kClearGrey) ++s.grey;
        }
    return s;
}

bool Intersect(HWND a, HWND b)
{
    RECT ra, rb, both;
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    return IntersectRect(&both, &ra, &rb) != FALSE;
}

// A view has presented a frame when most of what can be seen of it is the clear grey: neither the
// window's own background nor what lay under it before it opened.
bool Presented(const ViewSample& s) { return s.visible >= 16 && s.grey * 2 >= s.visible; }

std::string Describe(const ViewSample& s)
{
    return std::to_string(s.grey) + " grey of " + std::to_string(s.visible) + " visible samples";
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

    // The window views open where the settings put them; none covers another.
    for (int i = 1; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j)
            EXPECT_FALSE(Intersect(views[i], views[j])) << "view " << i << " and view " << j;

    // Nothing is clicked: each view must show a rendered frame on its own.
    ViewSample seen[4];
    Drive_WaitFor([&] {
        bool all = true;
        for (int i = 0; i < 4; ++i) {
            seen[i] = SampleView(views[i]);
            all = all && Presented(seen[i]);
        }
        return all;
    }, 60000);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(Presented(seen[i])) << "view " << i << ": " << Describe(seen[i]);
    // And they keep it: a later look finds the same.
    Sleep(3000);
    for (int i = 0; i < 4; ++i) {
        ViewSample again = SampleView(views[i]);
        EXPECT_TRUE(Presented(again)) << "view " << i << " later: " << Describe(again);
    }
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
