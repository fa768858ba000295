// The 2D modelling dialog on the model in slot 0: the colour edits' "決定" and the refresh.
#include <windows.h>

#include <gtest/gtest.h>

#include "edit2d/poly2d_screen.h"
#include "edit2d/win32/poly2d_dialog.h"
#include "frame/lib.h"
#include "shell/picking.h"

namespace {

BOOL CALLBACK FindOne(HWND wnd, LPARAM out)
{
    if (GetDlgItem(wnd, 1161) && GetDlgItem(wnd, 1156) && GetDlgItem(wnd, 1177)) {
        *reinterpret_cast<HWND*>(out) = wnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindDialog()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindOne, reinterpret_cast<LPARAM>(&found));
    return found;
}

void Click(HWND dlg, int id) { SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dlg, id)); }

TEST(Poly2DDialog, ApplyColourTakesTheEditsOnlyWhenAllAreNumbers)
{
    Sel_AllocBuffers();
    Sel_ClearAll();
    Model2_FreeSlot(0);
    QVL::MODEL2* m = Model2_Create(0);
    ASSERT_NE(m, nullptr);
    Poly2D_InstallDialog();
    const int32_t savedGroup = g_ScreenGroup;  // the screen's enter sets it; later tests see the shell's
    Poly2D_Enter();
    HWND dlg = FindDialog();
    ASSERT_NE(dlg, nullptr);
    Poly2D_AddQuad();   // its vertices selected, four white colours
    ASSERT_EQ(m->colorCount, 4);
    SetDlgItemTextA(dlg, 1161, "10");
    SetDlgItemTextA(dlg, 1162, "20");
    SetDlgItemTextA(dlg, 1163, "x");
    SetDlgItemTextA(dlg, 1164, "300");
    Click(dlg, 1159);
    EXPECT_EQ(m->colorCount, 4);
    SetDlgItemTextA(dlg, 1163, "30");
    Click(dlg, 1159);
    ASSERT_EQ(m->colorCount, 5);
    EXPECT_EQ(m->colors[4].b, 30.0f);
    EXPECT_EQ(m->colors[4].a, 255.0f);   // clamped
    EXPECT_EQ(m->polygons[0].corners[3][1], 4);
    // The refresh writes the colour back as stored.
    g_Poly2DRefresh = 1;
    SendMessageA(dlg, WM_TIMER, 1, 0);
    EXPECT_EQ(g_Poly2DRefresh, 0);
    EXPECT_EQ(GetDlgItemInt(dlg, 1164, nullptr, TRUE), 255u);
    Poly2D_Exit();
    g_ScreenGroup = savedGroup;
    EXPECT_EQ(FindDialog(), nullptr);
    Model2_FreeSlot(0);
    Sel_ClearAll();
}

} // namespace
