// The 2D group dialog from its resource: choosing a group in its list selects the group's faces,
// "決定" stores the edits (a colour past 255 limited), "鏡面" doubles the model and "閉じる" ends it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "edit2d/group2d.h"
#include "edit2d/win32/group2d_dialog.h"
#include "frame/lib.h"
#include "model/model2.h"
#include "shell/current.h"
#include "shell/picking.h"

namespace {

QVL::FACE2 Tri(int a, int b, int c, int32_t group)
{
    QVL::FACE2 f{};
    f.used = 1;
    f.cornerCount = 3;
    const int v[3] = {a, b, c};
    for (int i = 0; i < 3; ++i) f.corners[i][0] = f.corners[i][1] = f.corners[i][2] = (uint16_t)v[i];
    f.group = group;
    return f;
}

void Click(HWND dlg, int id) { SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dlg, id)); }

} // namespace

TEST(Group2DDialog, ChooseApplyMirrorAndClose)
{
    Sel_AllocBuffers();
    g_Lib.allocArrays = 1;
    QVL::MODEL2* m = Model2_Create(0);
    ASSERT_NE(nullptr, m);
    g_Model2InUse[0] = 1;
    m->vertexCount = m->colorCount = m->uvCount = 4;
    m->vertices = {{1, 1}, {2, 1}, {2, 2}, {1, 2}};
    m->colors.assign(4, QVL::RGBA2{255, 255, 255, 255});
    m->uvs.assign(4, QVL::UV2D{0, 0});
    m->bindings.assign(4, QVL::WEIGHT2{0, 0, 1.0f, 0});
    m->polygonCount = 2;
    m->polygons = {Tri(0, 1, 2, 1), Tri(0, 2, 3, 0)};
    m->groupCount = 2;

    HWND dlg = CreateDialogParamA(GetModuleHandleA(nullptr), "2D_GROUP_DLG", nullptr, Group2D_DlgProc, 0);
    ASSERT_NE(nullptr, dlg);
    HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | LBS_NOTIFY, 0, 0, 200, 200, dlg, (HMENU)1, nullptr, nullptr);
    g_Group2DDlg.dialog = dlg;
    g_Group2DDlg.list = list;
    g_Group2DDlg.textureCombo = GetDlgItem(dlg, 1394);
    g_Group2DDlg.shadingCombo = GetDlgItem(dlg, 1388);
    g_Group2DPrevGroup = -1;
    g_CurGroup = 0;
    Group2D_FillGroupList();
    Group2D_FillShadingCombo();
    EXPECT_EQ(2, (int)SendMessageA(list, LB_GETCOUNT, 0, 0));
    char row[64] = {};
    SendMessageA(list, LB_GETTEXT, 1, (LPARAM)row);
    EXPECT_NE(nullptr, strstr(row, "( 1 )"));

    SendMessageA(list, LB_SETCURSEL, 1, 0);
    SetDlgItemTextA(dlg, 1067, "arm");
    SetDlgItemTextA(dlg, 1382, "300");
    SetDlgItemTextA(dlg, 1383, "20");
    SetDlgItemTextA(dlg, 1384, "20");
    SetDlgItemTextA(dlg, 1385, "255");
    SendMessageA((HWND)g_Group2DDlg.shadingCombo, CB_SETCURSEL, 3, 0);
    Click(dlg, 1065);
    EXPECT_EQ(1, g_CurGroup);
    EXPECT_EQ(1, g_FaceSel[0]);
    EXPECT_EQ(0, g_FaceSel[1]);
    EXPECT_STREQ("arm", m->groups[1].name);
    EXPECT_FLOAT_EQ(255, m->groups[1].r);
    EXPECT_FLOAT_EQ(20, m->groups[1].g);
    EXPECT_EQ(3, m->groups[1].shading);

    Click(dlg, 1068);
    EXPECT_EQ(8, m->vertexCount);
    EXPECT_EQ(3, m->polygonCount);
    EXPECT_FLOAT_EQ(-1, m->vertices[4].x);

    Click(dlg, 1066);
    EXPECT_EQ(nullptr, g_Group2DDlg.dialog);
    EXPECT_FALSE(IsWindow(dlg));
    Model2_FreeSlot(0);
    g_CurGroup = 0;
    g_Group2DPrevGroup = -1;
}
