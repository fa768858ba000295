// The group dialog and the weight dialog: their procedures read the controls and hand the values to
// edit3d/group_dialog.cpp and edit3d/weight_screen.cpp. Both refill their fields on a 50 ms timer
// once their dirty flag is set.
#include "edit3d/win32/group_dialogs.h"

#include <windows.h>

#include <cstdio>

#include "edit3d/group_dialog.h"
#include "edit3d/model3d_dialogs.h"
#include "edit3d/model3d_hooks.h"
#include "edit3d/weight_screen.h"
#include "frame/lib.h"
#include "frame/win32/app_frame.h"
#include "shell/current.h"
#include "shell/dlg_slot.h"
#include "shell/mode_hooks.h"
#include "shell/panel_states.h"
#include "shell/panels.h"

namespace {

const UINT_PTR kTimer = 1;
COLORREF s_CustomColours[16];

bool Clicked(WPARAM wParam) { return HIWORD(wParam) == BN_CLICKED; }

DLG_SLOT* GroupSlot() { return g_Screen >= 0 && g_Screen < kScreenCount ? &g_DlgSlots[g_Screen][1] : nullptr; }

void SetInt(HWND wnd, int id, int v)
{
    char t[32];
    std::snprintf(t, sizeof t, "%d", v);
    SetDlgItemTextA(wnd, id, t);
}

void Check(HWND wnd, int id, bool on) { CheckDlgButton(wnd, id, on ? BST_CHECKED : BST_UNCHECKED); }

// The current group's values into the controls.
void WriteFields(HWND wnd)
{
    const QVL::MODEL3* m = g_CurModel3;
    if (!m || g_CurGroup < 0 || g_CurGroup >= m->groupCount || (size_t)g_CurGroup >= m->groups.size()) return;
    const QVL::GROUP3& g = m->groups[(size_t)g_CurGroup];
    Group3D_FillTextureCombo();
    Group3D_FillShadingCombo();
    Check(wnd, 1402, g.textureSwitch == 1);
    Check(wnd, 1405, g.alphaTest == 1);
    Check(wnd, 1403, g.normalMap == 1);
    Check(wnd, 1387, g.specular != 0);
    Check(wnd, 1386, g.mirror != 0);
    Check(wnd, 1404, g.selfIllumination == 1);
    SetInt(wnd, 1406, g.alphaRef);
    char t[64];
    std::snprintf(t, sizeof t, "%1.3f", (double)m->displacementHeight);
    SetDlgItemTextA(wnd, 1401, t);
    SetDlgItemTextA(wnd, 1067, g.name);
    for (int i = 0; i < 3; ++i) SetInt(wnd, 1382 + i, (int)g.color[i]);
    SetInt(wnd, 1385, (int)g.alpha);
    for (int i = 0; i < 3; ++i) SetInt(wnd, 1389 + i, g.specularColor[i]);
    SetInt(wnd, 1392, m->subdivision);
}

int Row(HWND wnd, int id, UINT msg)
{
    // CB_ERR and LB_ERR are -1: no selection.
    return (int)SendDlgItemMessageA(wnd, id, msg, 0, 0);
}

void Apply(HWND wnd)
{
    char name[256], alpha[32], level[32], height[64], colour[4][32], spec[3][32];
    GetDlgItemTextA(wnd, 1067, name, sizeof name);
    GetDlgItemTextA(wnd, 1406, alpha, sizeof alpha);
    GetDlgItemTextA(wnd, 1392, level, sizeof level);
    GetDlgItemTextA(wnd, 1401, height, sizeof height);
    for (int i = 0; i < 4; ++i) GetDlgItemTextA(wnd, 1382 + i, colour[i], sizeof colour[i]);
    for (int i = 0; i < 3; ++i) GetDlgItemTextA(wnd, 1389 + i, spec[i], sizeof spec[i]);
    GROUP3D_FIELDS f{};
    f.name = name;
    f.textureRow = Row(wnd, 1394, CB_GETCURSEL);
    f.alphaRef = alpha;
    f.level = level;
    f.normalMapRow = Row(wnd, 1400, CB_GETCURSEL);
    f.height = height;
    for (int i = 0; i < 4; ++i) f.color[i] = colour[i];
    for (int i = 0; i < 3; ++i) f.specular[i] = spec[i];
    f.shadingRow = Row(wnd, 1388, CB_GETCURSEL);
    Group3D_Apply(f);
}

void ChooseColour(HWND wnd)
{
    QVL::MODEL3* m = g_CurModel3;
    if (!m || g_CurGroup < 0 || g_CurGroup >= m->groupCount) return;
    const QVL::GROUP3& g = m->groups[(size_t)g_CurGroup];
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = g_MainWnd;
    cc.rgbResult = RGB((int)g.color[0] & 255, (int)g.color[1] & 255, (int)g.color[2] & 255);
    cc.lpCustColors = s_CustomColours;
    cc.Flags = CC_FULLOPEN | CC_RGBINIT;
    if (ChooseColorA(&cc)) {
        Group3D_SetColor(GetRValue(cc.rgbResult), GetGValue(cc.rgbResult), GetBValue(cc.rgbResult));
        const QVL::GROUP3& now = m->groups[(size_t)g_CurGroup];
        for (int i = 0; i < 3; ++i) SetInt(wnd, 1382 + i, (int)now.color[i]);
        SetInt(wnd, 1385, (int)now.alpha);
    }
    g_PanelDirtyGroups = 1;
}

void Command(HWND wnd, int id, WPARAM wParam)
{
    if (id == 1373) {
        if (HIWORD(wParam) == LBN_SELCHANGE) Group3D_Select(Row(wnd, 1373, LB_GETCURSEL));
        g_PanelDirtyGroups = 1;
        return;
    }
    if (!Clicked(wParam)) return;
    switch (id) {
    case 1395: Group3D_CopyWithFaces(); break;
    case 1393: Group3D_DeleteWithFaces(); break;
    case 1398: Group3D_CopyRecordOnly(); break;
    case 1399: Group3D_DeleteRecordOnly(); break;
    case 1396: Group3D_MoveUp(); break;
    case 1397: Group3D_MoveDown(); break;
    case 1068: Group3D_Mirror(); break;
    case 1381: ChooseColour(wnd); break;
    case IDOK:
    case 67: Apply(wnd); break;
    case 1066:
        if (DLG_SLOT* slot = GroupSlot(); slot && slot->window == (void*)wnd) slot->window = nullptr;
        g_Model3DEditor.groupList = nullptr;
        DestroyWindow(wnd);
        return;
    default:
        Group3D_Toggle(id);
        break;
    }
    g_PanelDirtyGroups = 1;
}

INT_PTR CALLBACK GroupProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM)
{
    DLG_SLOT* slot = GroupSlot();
    RECT r;
    if (slot && msg != WM_DESTROY && GetWindowRect(wnd, &r)) {
        slot->left = r.left;
        slot->top = r.top;
    }
    Mode_UpdateCurrent();
    switch (msg) {
    case WM_INITDIALOG: {
        if (slot) slot->dirty = 1;
        HWND list = GetDlgItem(wnd, 1373);
        g_Model3DEditor.groupList = list;
        g_Group3DList.list = list;
        g_Group3DList.firstVisible = 0;
        g_Group3DDlg.textureCombo = GetDlgItem(wnd, 1394);
        g_Group3DDlg.normalMapCombo = GetDlgItem(wnd, 1400);
        g_Group3DDlg.shadingCombo = GetDlgItem(wnd, 1388);
        // Rows line up with the colour swatches painted to their left.
        SendMessageA(list, LB_SETITEMHEIGHT, 0, kSwatchHeight / kSwatchRows);
        MoveWindow(list, kSwatchWidth + 2, 0, 200, kSwatchHeight + 2, FALSE);
        SetTimer(wnd, kTimer, 50, nullptr);
        Group3D_FillList();
        Group3D_FillShadingCombo();
        g_PanelDirtyGroups = 1;
        return TRUE;
    }
    case WM_DESTROY:
        KillTimer(wnd, kTimer);
        if (g_Group3DList.list == (void*)GetDlgItem(wnd, 1373)) g_Group3DList.list = nullptr;
        if (g_Group3DDlg.textureCombo == (void*)GetDlgItem(wnd, 1394)) g_Group3DDlg = GROUP3D_DLG{};
        return FALSE;
    default:
        break;
    }
    if (!g_CurModel3) return FALSE;
    switch (msg) {
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) Apply(wnd);
        return TRUE;
    case WM_COMMAND:
        Command(wnd, LOWORD(wParam), wParam);
        return TRUE;
    case WM_PAINT:
        // The dialog's own paint covers the swatches.
        g_PanelDirtyGroups = 1;
        return FALSE;
    case WM_TIMER: {
        const int top = (int)SendDlgItemMessageA(wnd, 1373, LB_GETTOPINDEX, 0, 0);
        if (top >= 0 && top != g_Group3DList.firstVisible) {
            g_Group3DList.firstVisible = top;
            g_PanelDirtyGroups = 1;
        }
        if (slot && slot->dirty) {
            slot->dirty = 0;
            WriteFields(wnd);
        }
        return TRUE;
    }
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK WeightProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        SetTimer(wnd, kTimer, 50, nullptr);
        SetDlgItemTextA(wnd, 1126, "0");
        SetDlgItemTextA(wnd, 1127, "0");
        SetDlgItemTextA(wnd, 1128, "1.0");
        g_Weight3DDirty = 1;
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == 1125 && Clicked(wParam)) {
            Mode_UpdateCurrent();
            char a[32], b[32], w[64];
            GetDlgItemTextA(wnd, 1126, a, sizeof a);
            GetDlgItemTextA(wnd, 1127, b, sizeof b);
            GetDlgItemTextA(wnd, 1128, w, sizeof w);
            Weight3D_Assign(a, b, w);
            g_Weight3DDirty = 1;
        }
        return TRUE;
    case WM_DESTROY:
        KillTimer(wnd, kTimer);
        return FALSE;
    default:
        if (g_Weight3DDirty) {
            g_Weight3DDirty = 0;
            View_RequestRedraw();
        }
        return FALSE;
    }
}

} // namespace

void* Group3DDlg_Create(int which)
{
    const char* name = nullptr;
    DLGPROC proc = nullptr;
    switch (which) {
    case MODEL3D_DLG_GROUP: name = "3D_GROUP_DLG"; proc = GroupProc; break;
    case MODEL3D_DLG_WEIGHT: name = "3D_WEIGHT_DLG"; proc = WeightProc; break;
    default: return nullptr;
    }
    return CreateDialogParamA(GetModuleHandleA(nullptr), name, g_MainWnd, proc, 0);
}
