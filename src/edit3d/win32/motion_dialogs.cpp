// The motion screen's dialogs: the key values and commands (3D_MOTION_DLG), the painted key panel
// (MOTION_KEY_DLG), the motion list (3D_MOTION_LIST_DLG) and the sounds (MOTION_WAVE_DLG). They run
// on 50 ms timers and refill their controls at the first tick after their dirty flag was set.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "edit3d/model3d_dialogs.h"
#include "edit3d/model3d_hooks.h"
#include "edit3d/motion_dialogs.h"
#include "edit3d/motion_screen.h"
#include "frame/lib.h"
#include "frame/services.h"
#include "frame/sound.h"
#include "frame/win32/app_frame.h"
#include "model/motion3.h"
#include "shell/current.h"
#include "shell/dlg_slot.h"
#include "shell/file_asks.h"
#include "shell/hierarchy.h"
#include "shell/input_state.h"
#include "shell/mode_hooks.h"
#include "shell/panels.h"
#include "shell/win32/panel_host.h"

namespace {

const UINT_PTR kTimer = 1;

bool Clicked(WPARAM wParam) { return HIWORD(wParam) == BN_CLICKED; }

// ---- 3D_MOTION_DLG -----------------------------------------------------------------------------

const int kKeyEdits[10] = {1290, 1299, 1292, 1293, 1294, 1295, 1300, 1296, 1297, 1298};

// The current key (bone motion); null when the bone's list is empty.
QVL::KEY3* CurrentKey()
{
    Motion3D_SyncCurrentKey();
    std::vector<QVL::KEY3>* keys = g_CurKeys3;
    if (!keys || g_CurKeyIndex < 0 || (size_t)g_CurKeyIndex >= keys->size()) return nullptr;
    return &(*keys)[(size_t)g_CurKeyIndex];
}

float* KeyField(QVL::KEY3* k, int i)
{
    return i < 3 ? &k->translation[i] : i < 7 ? &k->rotation[i - 3] : &k->scale[i - 7];
}

void ShowTool(HWND wnd)
{
    const int ids[4] = {1122, 1123, 1012, 1124};  // tools 0, 1, 2, 3
    for (int t = 0; t < 4; ++t) CheckDlgButton(wnd, ids[t], g_DragTool == t ? BST_CHECKED : BST_UNCHECKED);
}

void RefreshMotionDlg(HWND wnd)
{
    QVL::MODEL3* m = g_CurModel3;
    SendDlgItemMessageA(wnd, 72, CB_SETCURSEL, (WPARAM)g_Motion3DState.motionType, 0);
    Motion3D_SyncCurrentKey();
    CheckDlgButton(wnd, 57, g_Motion3DState.switch57 == 1 ? BST_CHECKED : BST_UNCHECKED);
    ShowTool(wnd);
    if (g_Motion3DState.motionType == 0) {
        if (QVL::KEY3* k = CurrentKey()) {
            char text[64];
            for (int i = 0; i < 10; ++i) {
                snprintf(text, sizeof text, "%3.3f", (double)*KeyField(k, i));
                SetDlgItemTextA(wnd, kKeyEdits[i], text);
            }
        }
    } else if (m && g_CurMotion3 && g_CurGroup >= 0 && g_CurGroup < QVL::kModel3Groups) {
        const QVL::GROUP_TRACK3& t = g_CurMotion3->tracks[g_CurGroup];
        if (g_CurKeyIndex >= 0 && g_CurKeyIndex < QVL::kModel3GroupKeys)
            SendDlgItemMessageA(wnd, 70, CB_SETCURSEL, (WPARAM)t.keys[g_CurKeyIndex].texture, 0);
    }
}

void Apply(HWND wnd)
{
    if (g_Motion3DState.motionType == 0) {
        QVL::KEY3* k = CurrentKey();
        if (!k) return;
        char text[64];
        for (int i = 0; i < 10; ++i) {
            GetDlgItemTextA(wnd, kKeyEdits[i], text, sizeof text);
            *KeyField(k, i) = (float)atof(text);
        }
        return;
    }
    // CB_ERR (no selection) changes nothing.
    const int32_t texture = Motion3D_TextureOfRow((int32_t)SendDlgItemMessageA(wnd, 70, CB_GETCURSEL, 0, 0));
    Motion3D_SyncCurrentKey();
    if (texture < 0 || !g_CurMotion3 || g_CurGroup < 0 || g_CurGroup >= QVL::kModel3Groups) return;
    if (g_CurKeyIndex >= 0 && g_CurKeyIndex < QVL::kModel3GroupKeys)
        g_CurMotion3->tracks[g_CurGroup].keys[g_CurKeyIndex].texture = (uint16_t)texture;
}

// The "<" and ">" buttons: axis and angle of 1431 .. 1436.
bool TurnOfButton(int id, int* axis, float* degrees)
{
    switch (id) {
    case 1431: *axis = 1, *degrees = -8.0f; return true;
    case 1432: *axis = 1, *degrees = 8.0f; return true;
    case 1433: *axis = 0, *degrees = -8.0f; return true;
    case 1434: *axis = 0, *degrees = 8.0f; return true;
    case 1435: *axis = 2, *degrees = 8.0f; return true;
    case 1436: *axis = 2, *degrees = -8.0f; return true;
    default: return false;
    }
}

const char* TurnCaption(int id)
{
    static const char* const captions[6] = {"回転Ｘ Down ( モーション )", "回転Ｘ Up ( モーション )",
                                            "回転Ｙ Down ( モーション )", "回転Ｙ Up ( モーション )",
                                            "回転Ｚ Down ( モーション )", "回転Ｚ Up ( モーション )"};
    return captions[id - 1431];
}

// 1438: 8 degrees about the bone's own direction from its parent, in the parent's posed frame.
bool AxisTurn()
{
    QVL::MODEL3* m = g_CurModel3;
    QVL::KEY3* k = CurrentKey();
    if (!m || !k || g_CurBone <= 0 || g_CurBone >= QVL::kModel3Bones) return false;
    const int32_t p = m->bones[g_CurBone].parent;
    if (p < 1 || p >= QVL::kModel3Bones) return false;
    const int32_t id = g_CurLayer >= 0 && (size_t)g_CurLayer < g_LayerModelIds.size() ? g_LayerModelIds[(size_t)g_CurLayer] : -1;
    QVL::VEC3 a, b, axis;
    Motion3_GetBoneRestPosition(&a, id, g_CurBone);
    Motion3_GetBoneRestPosition(&b, id, p);
    QVL::QUAT rot, inv;
    Motion3_GetBoneRotation(&rot, id, p);
    Math_QuatInverse(&inv, rot);
    QVL::MATRIX r;
    Math_QuatToMatrix(&r, inv);
    Math_TransformPoint(&axis, a.x - b.x, a.y - b.y, a.z - b.z, r);
    return Motion3D_TurnKeyAbout(k, axis.x, axis.y, axis.z, 8.0f);
}

void MotionCommand(HWND wnd, int id, WPARAM wParam)
{
    const char* caption = nullptr;
    if (id == 72) {
        if (HIWORD(wParam) != CBN_SELCHANGE) return;
        const int sel = (int)SendDlgItemMessageA(wnd, 72, CB_GETCURSEL, 0, 0);
        if (sel == 0 || sel == 1) g_Motion3DState.motionType = (int16_t)sel;
        g_Motion3DDlgDirty = g_MotionKeyPanelDirty = 1;
        g_PanelDirtyMotion3Keys = 1;
        return;
    }
    if (!Clicked(wParam)) return;
    int axis;
    float degrees;
    switch (id) {
    case 1122: case 1123: case 1124: case 1012:
        g_DragTool = id == 1122 ? 0 : id == 1123 ? 1 : id == 1124 ? 3 : 2;
        g_Motion3DDlgDirty = 1;
        View_RequestRedraw();
        return;
    case 1238: Motion3D_CreateKey(); Motion3D_Refresh(); caption = "キー 作成 ( モーション )"; break;
    case 1239: Motion3D_CopyPose(); return;
    case 1240: Motion3D_CutKey(); Motion3D_Refresh(); caption = "キー カット ( モーション )"; break;
    case 1241:
        if (!Motion3D_PasteKey()) {
            Lib_MessageBox("コピーされたキーがありません。");
            return;
        }
        Motion3D_Refresh();
        caption = "キー ペースト ( モーション )";
        break;
    case 1242: Motion3D_DeleteKey(); Motion3D_Refresh(); caption = "キー 消去 ( モーション )"; break;
    case 1243:
        if (QVL::KEY3* k = CurrentKey()) {
            k->rotation[0] = k->rotation[1] = k->rotation[2] = 0.0f;
            k->rotation[3] = 1.0f;
        }
        if (g_Motion3DState.switch57 == 1 && g_CurBone3 && g_CurBone3->firstChild > 0) {
            const int32_t bone = g_CurBone;
            Motion3D_ResetRotationTree(bone);
            g_CurBone = bone;
        }
        caption = "回転リセット ( モーション )";
        View_RequestRedraw();
        g_Motion3DDlgDirty = 1;
        break;
    case 57: g_Motion3DState.switch57 = 1 - g_Motion3DState.switch57; g_Motion3DDlgDirty = 1; return;
    case 1255: Motion3D_TogglePlay(); return;
    case 1289: Apply(wnd); caption = "決定ボタン ( モーション )"; break;
    case 1437:
        caption = "軸回転 Down ( モーション )";
        View_RequestRedraw();
        g_Motion3DDlgDirty = 1;
        break;
    case 1438:
        if (!AxisTurn()) return;
        caption = "軸回転 Up ( モーション )";
        View_RequestRedraw();
        g_Motion3DDlgDirty = 1;
        break;
    default:
        if (!TurnOfButton(id, &axis, &degrees)) return;
        if (QVL::KEY3* k = CurrentKey()) Motion3D_TurnKey(k, axis, degrees);
        caption = TurnCaption(id);
        View_RequestRedraw();
        g_Motion3DDlgDirty = 1;
        break;
    }
    if (caption) Motion3D_RecordUndo(caption);
}

INT_PTR CALLBACK MotionProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM)
{
    Mode_UpdateCurrent();
    switch (msg) {
    case WM_INITDIALOG:
        SetTimer(wnd, kTimer, 50, nullptr);
        g_Motion3DDlgDirty = 1;
        return TRUE;
    case WM_DESTROY:
        KillTimer(wnd, kTimer);
        return FALSE;
    case WM_COMMAND:
        if (g_CurModel3) MotionCommand(wnd, LOWORD(wParam), wParam);
        return TRUE;
    default:
        if (g_CurModel3 && g_Motion3DDlgDirty) {
            g_Motion3DDlgDirty = 0;
            RefreshMotionDlg(wnd);
        }
        return FALSE;
    }
}

// ---- MOTION_KEY_DLG ----------------------------------------------------------------------------

DLG_SLOT s_KeyHost;
struct PANEL_MOUSE {
    int32_t left, middle, right;
    int32_t x, y;
    int32_t pressFrame;
} s_PanelMouse;

void StoreKeyRect(HWND wnd) { PanelHost_Store(wnd, &s_KeyHost, PANEL_HOST_MOTION3_KEYS); }

int32_t RowAt(int32_t y)
{
    const int64_t top = (int64_t)kKeyRowsTop + g_KeyScrollY;
    if (y < top) return -1;
    const int64_t r = (y - top) / kKeyRowHeight;
    const int32_t mh = g_Lib.monitorHeight > 0 ? g_Lib.monitorHeight : 1024;
    return top + kKeyRowHeight * r < mh && r < INT32_MAX ? (int32_t)r : -1;
}

void PanelMove(LPARAM lParam)
{
    View_RequestRedraw();
    const int32_t x = (short)LOWORD(lParam), y = (short)HIWORD(lParam);
    const int32_t dx = x - s_PanelMouse.x, dy = y - s_PanelMouse.y;
    s_PanelMouse.x = x;
    s_PanelMouse.y = y;
    g_KeyHoverRow = RowAt(y);
    const PANEL_MOUSE& p = s_PanelMouse;
    if (p.left) {
        if (!p.middle && !p.right) Motion3D_SetFrameFromPanel(x);
    } else if (p.middle && !p.right) {
        Motion3D_PanelKeyTiming(dx);
    } else if (p.right && !p.middle) {
        const int64_t sx = (int64_t)g_KeyScrollX + dx, sy = (int64_t)g_KeyScrollY + dy;
        g_KeyScrollX = sx > 0 ? 0 : sx < -1000000000 ? -1000000000 : (int32_t)sx;
        g_KeyScrollY = sy > 0 ? 0 : sy < -1000000000 ? -1000000000 : (int32_t)sy;
    }
}

INT_PTR CALLBACK KeyPanelProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    StoreKeyRect(wnd);
    Mode_UpdateCurrent();
    switch (msg) {
    case WM_GETMINMAXINFO: {
        MINMAXINFO* mm = (MINMAXINFO*)lParam;
        mm->ptMinTrackSize.x = mm->ptMinTrackSize.y = 100;
        mm->ptMaxTrackSize.x = 1600;
        mm->ptMaxTrackSize.y = 1024;
        return TRUE;
    }
    case WM_INITDIALOG:
        SetTimer(wnd, kTimer, 50, nullptr);
        g_MotionKeyPanelDirty = 1;
        return TRUE;
    case WM_DESTROY:
        KillTimer(wnd, kTimer);
        if (g_PanelHosts[PANEL_HOST_MOTION3_KEYS] == &s_KeyHost) g_PanelHosts[PANEL_HOST_MOTION3_KEYS] = nullptr;
        s_KeyHost.window = nullptr;
        return FALSE;
    case WM_KEYDOWN:
        if (wParam == VK_DELETE) {
            Motion3D_DeleteKey();
            View_RequestRedraw();
            Motion3D_RecordUndo("キー 消去 ( モーション )");
        }
        return TRUE;
    case WM_MOUSEMOVE:
        PanelMove(lParam);
        return TRUE;
    case WM_LBUTTONDOWN:
        s_PanelMouse.left = 1;
        SetCapture(wnd);
        s_PanelMouse.x = (short)LOWORD(lParam);
        s_PanelMouse.y = (short)HIWORD(lParam);
        g_KeyHoverRow = RowAt(s_PanelMouse.y);
        s_PanelMouse.pressFrame = g_CurModel3 ? g_CurModel3->currentFrame : 0;
        Motion3D_PanelRowClick(s_PanelMouse.x, g_KeyHoverRow);
        Motion3D_SetFrameFromPanel(s_PanelMouse.x);
        View_RequestRedraw();
        Mode_RefreshAll();
        return TRUE;
    case WM_LBUTTONUP:
        s_PanelMouse.left = 0;
        ReleaseCapture();
        if (g_CurModel3 && g_CurModel3->currentFrame == s_PanelMouse.pressFrame) Motion3D_SnapToKey();
        View_RequestRedraw();
        Mode_RefreshAll();
        return TRUE;
    case WM_LBUTTONDBLCLK:
        Motion3D_CreateKey();
        Motion3D_Refresh();
        Motion3D_RecordUndo("キー 作成 ( モーション )");
        return TRUE;
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
        (msg == WM_MBUTTONDOWN ? s_PanelMouse.middle : s_PanelMouse.right) = 1;
        SetCapture(wnd);
        View_RequestRedraw();
        return TRUE;
    case WM_RBUTTONUP:
        s_PanelMouse.right = 0;
        ReleaseCapture();
        View_RequestRedraw();
        return TRUE;
    case WM_MBUTTONUP:
        s_PanelMouse.middle = 0;
        ReleaseCapture();
        Motion3D_RecordUndo("キータイミング ( モーション )");
        View_RequestRedraw();
        return TRUE;
    case WM_SIZE:
        g_PanelDirtyMotion3Keys = 1;
        return FALSE;
    default:
        if (g_MotionKeyPanelDirty) {
            g_MotionKeyPanelDirty = 0;
            g_PanelDirtyMotion3Keys = 1;
        }
        return FALSE;
    }
}

// ---- 3D_MOTION_LIST_DLG ------------------------------------------------------------------------

int32_t s_SeenMotion = -1;

HWND MakeList(HWND dlg, int x, int y, int w, int h)
{
    return CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY, x, y, w, h, dlg,
                           (HMENU)1, GetModuleHandleA(nullptr), nullptr);
}

void ReadNameAndLength(HWND wnd, QVL::MOTION3* mo)
{
    char text[256];
    GetDlgItemTextA(wnd, 1010, text, sizeof text);
    Motion3D_SetName(mo, text);
    GetDlgItemTextA(wnd, 1048, text, sizeof text);
    // A length that is not a whole number from 1 on keeps the old one.
    int32_t length;
    if (Motion3D_ParseLength(text, &length)) mo->length = length;
}

void ListCommand(HWND wnd, int id, WPARAM wParam)
{
    QVL::MODEL3* m = g_CurModel3;
    if (!m) return;
    HWND list = GetDlgItem(wnd, 1);
    if (list) {
        // LB_ERR (no row selected) keeps the current motion.
        const int sel = (int)SendMessageA(list, LB_GETCURSEL, 0, 0);
        if (sel >= 0 && (size_t)sel < m->motions.size()) m->currentMotion = sel;
        if (m->currentMotion != s_SeenMotion) {
            m->currentFrame = 0;
            s_SeenMotion = m->currentMotion;
            Mode_UpdateCurrent();
            g_MotionKeyPanelDirty = g_MotionListDirty = 1;
            View_RequestRedraw();
        }
    }
    if (id == 1 || !Clicked(wParam)) return;
    QVL::MOTION3* mo = g_CurMotion3;
    const char* caption = nullptr;
    switch (id) {
    case 80:
        if (mo) mo->loop = mo->loop == 1 ? 0 : 1;
        g_MotionListDirty = 1;
        return;
    case 1054: {
        if (!mo) return;
        ReadNameAndLength(wnd, mo);
        char text[64];
        GetDlgItemTextA(wnd, 1049, text, sizeof text);
        int16_t next;
        if (Motion3D_ParseNext(text, &next)) mo->next = next;
        caption = "決定 ( モーションリスト )";
        break;
    }
    case 1056:
        if (!Motion3D_AppendMotion(m, false)) return;
        Mode_UpdateCurrent();
        if (g_CurMotion3) ReadNameAndLength(wnd, g_CurMotion3);
        caption = "追加 ( モーションリスト )";
        break;
    case 1059:
        if (!Motion3D_AppendMotion(m, true)) return;
        caption = "コピー ( モーションリスト )";
        break;
    case 1058:
        if (!Motion3D_RemoveMotion(m)) return;
        caption = "消去 ( モーションリスト )";
        break;
    case 1060:
        if (!Motion3D_MoveMotion(m, -1)) return;
        caption = "↑ボタン ( モーションリスト )";
        break;
    case 1061:
        if (!Motion3D_MoveMotion(m, 1)) return;
        caption = "↓ボタン ( モーションリスト )";
        break;
    default: return;
    }
    Mode_UpdateCurrent();
    Motion3D_RecordUndo(caption);
    List_FillMotions3D();
    if (id != 1054) g_MotionListDirty = 1;
}

INT_PTR CALLBACK ListProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM)
{
    Mode_UpdateCurrent();
    switch (msg) {
    case WM_INITDIALOG:
        MakeList(wnd, 0, 105, 222, 265);
        SetTimer(wnd, kTimer, 50, nullptr);
        g_MotionListDirty = 1;
        return TRUE;
    case WM_DESTROY:
        KillTimer(wnd, kTimer);
        return FALSE;
    case WM_COMMAND:
        ListCommand(wnd, LOWORD(wParam), wParam);
        return TRUE;
    default:
        if (g_MotionListDirty && g_CurModel3 && g_CurMotion3) {
            g_MotionListDirty = 0;
            const QVL::MOTION3& mo = *g_CurMotion3;
            char text[64];
            char name[256];
            snprintf(name, sizeof name, "%.255s", mo.name);
            SetDlgItemTextA(wnd, 1010, name);
            snprintf(text, sizeof text, "%d", (int)mo.length);
            SetDlgItemTextA(wnd, 1048, text);
            snprintf(text, sizeof text, "%d", (int)mo.next);
            SetDlgItemTextA(wnd, 1049, text);
            CheckDlgButton(wnd, 80, mo.loop == 1 ? BST_CHECKED : BST_UNCHECKED);
        }
        return FALSE;
    }
}

// ---- MOTION_WAVE_DLG ---------------------------------------------------------------------------

INT_PTR CALLBACK WaveProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        MakeList(wnd, 0, 22, 200, 325);
        return TRUE;
    case WM_COMMAND: {
        if (LOWORD(wParam) != 1210 || !Clicked(wParam)) return TRUE;
        QVL::MODEL3* m = g_CurModel3;
        const char* name = FileCmd_AskOpen("wav", "効果音 ( WAV ) ファイルを選択して下さい", "");
        Lib_ResetFrameTimer();
        if (!m || !name || !name[0]) return TRUE;
        if (m->soundCount >= QVL::kModel3Sounds) {
            Lib_MessageBox("効果音は、100個までしか登録できません。");
            return TRUE;
        }
        const int32_t id = g_CurLayer >= 0 && (size_t)g_CurLayer < g_LayerModelIds.size() ? g_LayerModelIds[(size_t)g_CurLayer] : -1;
        Wave_LoadModelSound(id, m->soundCount, name);
        Motion3D_AddSoundName(m, name);
        Motion3D_FillSoundList();
        return TRUE;
    }
    default:
        return FALSE;
    }
}

} // namespace

void* Motion3DDlg_Create(int which)
{
    const char* name = nullptr;
    DLGPROC proc = nullptr;
    switch (which) {
    case MODEL3D_DLG_MOTION: name = "3D_MOTION_DLG"; proc = MotionProc; break;
    case MODEL3D_DLG_MOTION_KEYS: name = "MOTION_KEY_DLG"; proc = KeyPanelProc; break;
    case MODEL3D_DLG_MOTION_LIST: name = "3D_MOTION_LIST_DLG"; proc = ListProc; break;
    case MODEL3D_DLG_MOTION_WAVE: name = "MOTION_WAVE_DLG"; proc = WaveProc; break;
    default: return nullptr;
    }
    return CreateDialogParamA(GetModuleHandleA(nullptr), name, g_MainWnd, proc, 0);
}

bool Motion3DDlg_AskYesNo(const char* text)
{
    const int r = MessageBoxA(g_MainWnd, text, kProductCaption, MB_YESNO);
    Lib_ResetFrameTimer();
    return r == IDYES;
}

void* Motion3DDlg_ListControl(void* dialog, int id) { return dialog ? GetDlgItem((HWND)dialog, id) : nullptr; }
