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
    for (auto& b : boxes.SeenBoxes()) printf("box '%ls'\n", b.text.c_str());
    PostMessageW(studio.Main(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(studio.WaitExit(30000));
}

} // namespace
