// The effect editor as the studio starts in it: its dialogs, the sample effect in the canvas,
// playback, and a save and reopen through the menu.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "wine/support/driver.h"

namespace {

TEST(DriveEffect, Probe)
{
    StudioProcess studio;
    ASSERT_TRUE(studio.Start(""));
    BoxAnswerer boxes(studio.Pid());
    Sleep(15000);
    for (HWND w : Drive_WindowsOf(studio.Pid())) {
        RECT r;
        GetWindowRect(w, &r);
        wchar_t cls[64];
        GetClassNameW(w, cls, 64);
        int children = 0;
        for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++children;
        printf("window %p '%ls' %ls style %lx children %d len %d %ld %ld %ld %ld\n", (void*)w, Drive_Text(w).c_str(), cls,
               (long)GetWindowLongW(w, GWL_STYLE), children, GetWindowTextLengthW(w), r.left, r.top, r.right, r.bottom);
    }
    SetWindowPos(studio.Main(), nullptr, 1100, 600, 800, 450, SWP_NOZORDER);
    Sleep(8000);
    {
        HDC screen = GetDC(nullptr);
        int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
        HDC mem = CreateCompatibleDC(screen);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 24;
        void* bits = nullptr;
        HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        SelectObject(mem, bmp);
        BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
        GdiFlush();
        DWORD size = (DWORD)(((w * 3 + 3) & ~3) * h);
        BITMAPFILEHEADER fh = {};
        fh.bfType = 0x4D42;
        fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
        fh.bfSize = fh.bfOffBits + size;
        FILE* f = fopen("probe.bmp", "wb");
        fwrite(&fh, sizeof fh, 1, f);
        fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f);
        fwrite(bits, size, 1, f);
        fclose(f);
    }
    for (auto& b : boxes.SeenBoxes()) printf("box '%ls'\n", b.text.c_str());
    PostMessageW(studio.Main(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(studio.WaitExit(30000));
}

} // namespace
