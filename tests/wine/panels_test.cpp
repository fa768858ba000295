// The panel bitmap as a GDI section: the repaint pass paints an open host's panel into it, GDI's
// texts land in the same pixels the painters write, and a closed host keeps its flag.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "shell/current.h"
#include "shell/hierarchy.h"
#include "shell/panels.h"

TEST(Panels, RepaintPaintsAnOpenHostIntoTheSectionAndKeepsAClosedOnesFlag)
{
    Panel_CreateDib();
    ASSERT_NE(nullptr, g_PanelDib.bits);
    HWND w = CreateWindowA("STATIC", "panel", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 200, nullptr, nullptr,
                           nullptr, nullptr);
    ASSERT_NE(nullptr, w);
    // A host resized past the bitmap: the pass paints and copies only the bitmap.
    DLG_SLOT slot = {};
    slot.window = w;
    slot.extra[0] = 5000;
    slot.extra[1] = 5000;
    g_PanelHosts[PANEL_HOST_OBJ3_KEYS] = &slot;
    g_CurObj3 = nullptr;
    g_HierRowCount = 0;
    g_KeyTimeScale = 0;   // counts as 1
    uint32_t* bits = g_PanelDib.bits;
    std::fill(bits, bits + (size_t)kPanelWidth * kPanelHeight, 0x123456u);
    g_PanelDirtyObj3Keys = 1;
    Panel_RepaintDirty();
    EXPECT_EQ(0, g_PanelDirtyObj3Keys);
    auto px = [&](int x, int y) { return bits[(size_t)x + (size_t)y * kPanelWidth] & 0xFFFFFFu; };
    EXPECT_EQ(0u, px(1500, 1000));          // cleared to the bitmap's corner
    EXPECT_EQ(0xFFFFFFu, px(500, 28));      // under the header
    EXPECT_EQ(0xFFFFFFu, px(500, 49));
    // "Key 0" at (5, 6), drawn by GDI in white into the same section.
    int white = 0;
    for (int y = 6; y < 24; ++y)
        for (int x = 5; x < 60; ++x) white += px(x, y) == 0xFFFFFFu;
    EXPECT_GT(white, 10);

    DestroyWindow(w);
    g_PanelDirtyObj3Keys = 1;
    Panel_RepaintDirty();
    EXPECT_EQ(1, g_PanelDirtyObj3Keys);
    g_PanelDirtyObj3Keys = 0;
    g_PanelHosts[PANEL_HOST_OBJ3_KEYS] = nullptr;
    g_KeyTimeScale = 4;
}
