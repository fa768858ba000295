// The effect editor's four modeless dialogs and its frame slider, and the particle mode's parameter
// dialog. They have no timer: a dialog refills its fields at its next message while its slot is
// dirty. What their controls do to the effect is in effect/effect_edit.cpp.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "effect/effect_edit_dialogs.h"
#include "effect/effect_edit_hooks.h"
#include "frame/lib.h"
#include "frame/text.h"
#include "frame/win32/app_frame.h"
#include "shell/current.h"
#include "shell/dlg_slot.h"
#include "shell/input_state.h"
#include "shell/panels.h"
#include "shell/playback.h"

namespace {

HWND s_ImageList;   // list box 1373 of "イメージリスト"

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

HWND Wnd(const DLG_SLOT& slot) { return (HWND)slot.window; }

// Every message stores the dialog's window rectangle.
void StoreRect(DLG_SLOT& slot, HWND wnd)
{
    RECT r;
    if (!GetWindowRect(wnd, &r)) return;
    slot.left = r.left;
    slot.top = r.top;
}

bool Clicked(WPARAM wParam) { return HIWORD(wParam) == BN_CLICKED; }

// A field as a floating-point number; an empty or unreadable field gives 0.
float FieldFloat(HWND wnd, int id)
{
    char text[128];
    GetDlgItemTextA(wnd, id, text, sizeof text);
    return (float)std::strtod(text, nullptr);
}

int32_t FieldInt(HWND wnd, int id)
{
    char text[128];
    GetDlgItemTextA(wnd, id, text, sizeof text);
    long long v = std::strtoll(text, nullptr, 10);
    return v > INT32_MAX ? INT32_MAX : (v < INT32_MIN ? INT32_MIN : (int32_t)v);
}

// Client coordinates of a mouse message, folded as the views fold them.
int32_t Coord(WORD v) { return v > 10000 ? (int32_t)v - 65535 : (int32_t)v; }

HWND Create(int resource, DLGPROC proc, int x, int y, int w, int h)
{
    HWND wnd = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(resource), g_MainWnd, proc, 0);
    if (!wnd) return nullptr;
    // Never smaller than the template asks for with the fonts this machine gives it: its texts and
    // its caption stay whole where the fonts are wider than the rectangle was made for.
    RECT t;
    if (GetWindowRect(wnd, &t)) {
        if (w < t.right - t.left) w = t.right - t.left;
        if (h < t.bottom - t.top) h = t.bottom - t.top;
    }
    MoveWindow(wnd, x, y, w, h, TRUE);
    ShowWindow(wnd, SW_SHOWNORMAL);
    return wnd;
}

void Destroy(DLG_SLOT& slot)
{
    if (slot.window && IsWindow(Wnd(slot))) DestroyWindow(Wnd(slot));
    slot.window = nullptr;
}

// ---- "イメージリスト" -------------------------------------------------------------------------

INT_PTR CALLBACK ImageListProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM)
{
    StoreRect(g_EffectImageListSlot, wnd);
    switch (msg) {
    case WM_INITDIALOG:
        g_EffectImageListSlot.dirty = 1;
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == 1373 && (HIWORD(wParam) == LBN_SELCHANGE || HIWORD(wParam) == LBN_DBLCLK)) {
            LRESULT sel = SendDlgItemMessageA(wnd, 1373, LB_GETCURSEL, 0, 0);
            if (sel != LB_ERR) g_EffectChosenImage = (int32_t)sel;
            if (HIWORD(wParam) == LBN_DBLCLK) EffectEdit_AssignImage();
        } else if (LOWORD(wParam) == 88 && Clicked(wParam)) {
            EffectEdit_AssignImage();
        }
        return TRUE;
    default:
        // The list itself is refilled at once by the refresh.
        if (g_EffectImageListSlot.dirty) g_EffectImageListSlot.dirty = 0;
        return FALSE;
    }
}

// ---- "キーフレーム情報" -------------------------------------------------------------------------

const int kKeyInfoFields[9] = {82, 83, 84, 85, 86, 1298, 1300, 1301, 1302};

void FillKeyInfo(HWND wnd)
{
    for (int id : kKeyInfoFields) {
        char text[64] = "";
        EffectEdit_KeyInfoText(id, text, sizeof text);
        SetDlgItemTextA(wnd, id, text);
    }
    const int tools[3] = {1122, 1123, 1012};
    for (int t = 0; t < 3; ++t) CheckDlgButton(wnd, tools[t], g_DragTool == t ? BST_CHECKED : BST_UNCHECKED);
}

INT_PTR CALLBACK KeyInfoProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM)
{
    StoreRect(g_EffectKeyInfoSlot, wnd);
    if (msg == WM_INITDIALOG) {
        g_EffectKeyInfoSlot.dirty = 1;
        return TRUE;
    }
    if (msg != WM_COMMAND) {
        if (g_EffectKeyInfoSlot.dirty) {
            g_EffectKeyInfoSlot.dirty = 0;
            FillKeyInfo(wnd);
        }
        return FALSE;
    }
    if (!Clicked(wParam)) return FALSE;
    switch (LOWORD(wParam)) {
    case 88: {
        float v[9];
        for (int i = 0; i < 9; ++i) v[i] = FieldFloat(wnd, kKeyInfoFields[i]);
        EffectEdit_KeyInfoApply(v);
        return TRUE;
    }
    case 1122: g_DragTool = 0; break;
    case 1123: g_DragTool = 1; break;
    case 1012: g_DragTool = 2; break;
    default: return FALSE;
    }
    g_EffectKeyInfoSlot.dirty = 1;
    return TRUE;
}

// ---- "パーティクル" -----------------------------------------------------------------------------

INT_PTR CALLBACK ParticleProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM)
{
    StoreRect(g_EffectParticleSlot, wnd);
    if (msg == WM_INITDIALOG) {
        // The shell's field refresh fills it from the current key.
        g_EffectParticleSlot.dirty = 1;
        return TRUE;
    }
    if (msg != WM_COMMAND || LOWORD(wParam) != 88 || !Clicked(wParam)) return FALSE;
    char texts[19][128];
    const char* fields[19];
    for (int i = 0; i < 19; ++i) {
        GetDlgItemTextA(wnd, 89 + i, texts[i], sizeof texts[i]);
        fields[i] = texts[i];
    }
    EffectEdit_ParticleApplyTexts(fields);
    return TRUE;
}

// ---- "キーフレーム" ------------------------------------------------------------------------------

// Controls in client pixels: above the ruler, beside the texts the timeline painter writes there
// ("%5d" at 12, "～" at 402, "繰り返し" at 568).
struct PLACE {
    int id, x, y, w, h;
};
const PLACE kKeyFramePlaces[] = {
    {1396, 232, 3, 44, 22},  {1397, 280, 3, 44, 22},  {1394, 336, 4, 62, 20},  {1395, 420, 4, 62, 20},
    {1398, 550, 7, 14, 14},  {1392, 660, 4, 62, 20},  {1393, 726, 3, 50, 22},  {1399, 8, 32, 50, 22},
    {1400, 60, 32, 50, 22},  {1401, 118, 32, 30, 22}, {1402, 150, 32, 30, 22}, {1403, 196, 32, 36, 22},
    {1404, 234, 32, 36, 22}, {1405, 272, 32, 36, 22}, {1406, 310, 32, 36, 22}, {1407, 348, 32, 36, 22},
    {1408, 386, 32, 36, 22}, {1409, 440, 32, 70, 22}, {1410, 512, 32, 64, 22}, {1411, 578, 32, 64, 22},
    {1412, 644, 32, 64, 22}, {1413, 710, 32, 64, 22},
};

void StoreClientSize(HWND wnd)
{
    RECT c;
    if (!GetClientRect(wnd, &c)) return;
    g_EffectKeyFrameSlot.extra[0] = c.right - c.left;
    g_EffectKeyFrameSlot.extra[1] = c.bottom - c.top;
}

void SetUnsigned(HWND wnd, int id, int32_t v) { SetDlgItemInt(wnd, id, (UINT)v, FALSE); }

int SlideRequest(WORD code)
{
    switch (code) {
    case SB_LINELEFT: return EFFECT_SLIDE_LINE_LEFT;
    case SB_LINERIGHT: return EFFECT_SLIDE_LINE_RIGHT;
    case SB_PAGELEFT: return EFFECT_SLIDE_PAGE_LEFT;
    case SB_PAGERIGHT: return EFFECT_SLIDE_PAGE_RIGHT;
    case SB_THUMBPOSITION: return EFFECT_SLIDE_THUMB;
    default: return EFFECT_SLIDE_OTHER;
    }
}

bool KeyFrameCommand(HWND wnd, int id)
{
    switch (id) {
    case 1393: EffectEdit_ApplyFrameCount(FieldInt(wnd, 1392)); break;
    case 1396: {
        BOOL startOk = FALSE, endOk = FALSE;
        UINT start = GetDlgItemInt(wnd, 1394, &startOk, FALSE);
        UINT end = GetDlgItemInt(wnd, 1395, &endOk, FALSE);
        EffectEdit_Play(startOk != FALSE, start, endOk != FALSE, end, IsDlgButtonChecked(wnd, 1398) == BST_CHECKED);
        break;
    }
    case 1397: EffectEdit_Stop(); break;
    case 1399: EffectEdit_ZoomOut(); break;
    case 1400: EffectEdit_ZoomIn(); break;
    case 1401: g_KeyScrollX += 100; break;
    case 1402: g_KeyScrollX -= 100; break;
    case 1403: case 1404: case 1405: case 1406: case 1407: EffectEdit_FrameButton(id); break;
    case 1408: break;
    case 1409: EffectEdit_CreateKey(); EffectEdit_RefreshDialogs(); break;
    case 1410: EffectEdit_CopyKey(); break;
    case 1411: EffectEdit_CutKey(); EffectEdit_RefreshDialogs(); break;
    case 1412: EffectEdit_PasteKey(); EffectEdit_RefreshDialogs(); break;
    case 1413: EffectEdit_DeleteKey(); EffectEdit_RefreshDialogs(); break;
    default: return false;
    }
    g_PanelDirtyEffect = 1;
    return true;
}

void SetButton(UINT msg)
{
    EFFECT_TIMELINE_MOUSE& m = g_EffectTimelineMouse;
    switch (msg) {
    case WM_LBUTTONDOWN: m.left = 1; break;
    case WM_LBUTTONUP: m.left = 0; break;
    case WM_MBUTTONDOWN: m.middle = 1; break;
    case WM_MBUTTONUP: m.middle = 0; break;
    case WM_RBUTTONDOWN: m.right = 1; break;
    case WM_RBUTTONUP: m.right = 0; break;
    default: break;
    }
}

INT_PTR CALLBACK KeyFrameProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    StoreRect(g_EffectKeyFrameSlot, wnd);
    EFFECT_TIMELINE_MOUSE& m = g_EffectTimelineMouse;
    switch (msg) {
    case WM_INITDIALOG:
        for (const PLACE& p : kKeyFramePlaces) MoveWindow(GetDlgItem(wnd, p.id), p.x, p.y, p.w, p.h, FALSE);
        g_EffectKeyFrameSlot.dirty = 1;
        return TRUE;
    case WM_GETMINMAXINFO: {
        MINMAXINFO* mm = (MINMAXINFO*)lParam;
        mm->ptMinTrackSize.x = 646;
        mm->ptMinTrackSize.y = 192;
        // Never larger than the panel bitmap the timeline is painted in.
        mm->ptMaxTrackSize.x = kPanelWidth;
        mm->ptMaxTrackSize.y = kPanelHeight;
        return TRUE;
    }
    case WM_LBUTTONDBLCLK:
        EffectEdit_CreateKey();
        EffectEdit_RefreshDialogs();
        return TRUE;
    case WM_HSCROLL:
        if ((HWND)lParam && (HWND)lParam == (HWND)g_EffectSlider) {
            const int32_t pos = EffectEdit_SliderScroll(SlideRequest(LOWORD(wParam)),
                                                        GetScrollPos((HWND)lParam, SB_CTL), HIWORD(wParam));
            SetScrollPos((HWND)lParam, SB_CTL, pos, TRUE);
            g_EffectSliderPos = pos;
            EffectEdit_RefreshDialogs();
        }
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
        SetButton(msg);
        // Held buttons keep their flags while the mouse leaves the dialog.
        SetCapture(wnd);
        m.x = Coord(LOWORD(lParam));
        m.y = Coord(HIWORD(lParam));
        if (msg == WM_LBUTTONDOWN) EffectEdit_PickTimeline(m.x, m.y);
        g_PanelDirtyEffect = 1;
        return TRUE;
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP:
        SetButton(msg);
        if (!m.left && !m.middle && !m.right && GetCapture() == wnd) ReleaseCapture();
        return TRUE;
    case WM_CAPTURECHANGED:
        if ((HWND)lParam != wnd) m.left = m.middle = m.right = 0;
        return TRUE;
    case WM_MOUSEMOVE:
        EffectEdit_TimelineMouseMove(LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case WM_COMMAND:
        if (Clicked(wParam)) return KeyFrameCommand(wnd, LOWORD(wParam)) ? TRUE : FALSE;
        return FALSE;
    case WM_SIZE:
        StoreClientSize(wnd);
        g_PanelDirtyEffect = 1;
        break;
    default:
        break;
    }
    if (msg == WM_ERASEBKGND) {
        // The timeline covers the client area; the next panel pass paints it.
        g_PanelDirtyEffect = 1;
    }
    if (g_EffectKeyFrameSlot.dirty) {
        g_EffectKeyFrameSlot.dirty = 0;
        SetUnsigned(wnd, 1394, g_MoviePlayStart);
        SetUnsigned(wnd, 1395, g_MoviePlayEnd);
        SetUnsigned(wnd, 1392, g_CurEffect ? g_CurEffect->frameCount : 0);
    }
    return msg == WM_ERASEBKGND ? TRUE : FALSE;
}

// ---- "パラメータ" of the particle mode -------------------------------------------------------

void TrackbarChanged(HWND wnd, int id)
{
    if (id != 113 && id != 116) return;
    const int32_t pos = (int32_t)SendDlgItemMessageA(wnd, id, TBM_GETPOS, 0, 0);
    if (id == 113) g_ParticleMode.count = pos;
    else g_ParticleMode.frames = pos;
    g_ParticleModeSlot.dirty = 1;
}

INT_PTR CALLBACK ParticleModeProc(HWND wnd, UINT msg, WPARAM, LPARAM lParam)
{
    StoreRect(g_ParticleModeSlot, wnd);
    switch (msg) {
    case WM_INITDIALOG:
        SetDlgItemTextA(wnd, 100, "フレーム数");
        SetDlgItemTextA(wnd, 101, "爆発数");
        ParticleEdit_InitParams();
        SendDlgItemMessageA(wnd, 116, TBM_SETRANGE, TRUE, MAKELPARAM(0, 180));
        SendDlgItemMessageA(wnd, 116, TBM_SETPOS, TRUE, 90);
        SendDlgItemMessageA(wnd, 113, TBM_SETRANGE, TRUE, MAKELPARAM(0, 300));
        SendDlgItemMessageA(wnd, 113, TBM_SETPOS, TRUE, 150);
        SetTimer(wnd, 1, 50, nullptr);
        return TRUE;
    case WM_NOTIFY:
        TrackbarChanged(wnd, (int)((NMHDR*)lParam)->idFrom);
        return TRUE;
    case WM_HSCROLL:
        if (lParam) TrackbarChanged(wnd, GetDlgCtrlID((HWND)lParam));
        return TRUE;
    default:
        break;
    }
    if (msg != WM_COMMAND && g_ParticleModeSlot.dirty) {
        g_ParticleModeSlot.dirty = 0;
        char text[32];
        Str_Format(text, sizeof text, "%d", g_ParticleMode.frames);
        SetDlgItemTextA(wnd, 119, text);
        Str_Format(text, sizeof text, "%d", g_ParticleMode.count);
        SetDlgItemTextA(wnd, 122, text);
    }
    return FALSE;
}

} // namespace

// ---- the seam ------------------------------------------------------------------------------------

void EffectDlg_Open()
{
    const int h = g_Lib.monitorHeight;
    if (!g_EffectImageListSlot.window) {
        g_EffectImageListSlot.window = Create(140, ImageListProc, 1000, 32, 180, 270);
        s_ImageList = g_EffectImageListSlot.window ? GetDlgItem(Wnd(g_EffectImageListSlot), 1373) : nullptr;
    }
    if (!g_EffectKeyFrameSlot.window) {
        HWND wnd = Create(60, KeyFrameProc, 0, h - 342, 1024, 312);
        g_EffectKeyFrameSlot.window = wnd;
        if (wnd) {
            CheckDlgButton(wnd, 1398, BST_CHECKED);
            StoreClientSize(wnd);
            HWND slider = CreateWindowA("SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_HORZ, 64, 5, 160, 18, wnd,
                                        (HMENU)1, Instance(), nullptr);
            g_EffectSlider = slider;
            if (slider) {
                SetScrollRange(slider, SB_CTL, 0, g_EffectSliderMax, FALSE);
                SetScrollPos(slider, SB_CTL, 0, TRUE);
            }
            g_EffectSliderPos = 0;
        }
    }
    if (!g_EffectKeyInfoSlot.window) g_EffectKeyInfoSlot.window = Create(59, KeyInfoProc, 0, 318, 180, 290);
    if (!g_EffectParticleSlot.window) {
        // Beside the key information dialog, 10 pixels clear of it however wide it came out.
        int x = 190;
        RECT r;
        if (g_EffectKeyInfoSlot.window && GetWindowRect(Wnd(g_EffectKeyInfoSlot), &r) && r.right + 10 > x) x = r.right + 10;
        g_EffectParticleSlot.window = Create(139, ParticleProc, x, 318, 320, 290);
    }
    g_PanelDirtyEffect = 1;
}

void EffectDlg_Close()
{
    Destroy(g_EffectImageListSlot);
    s_ImageList = nullptr;
    // The slider goes with its dialog.
    Destroy(g_EffectKeyFrameSlot);
    g_EffectSlider = nullptr;
    Destroy(g_EffectKeyInfoSlot);
    Destroy(g_EffectParticleSlot);
}

void EffectDlg_FillImageList()
{
    if (!s_ImageList || !IsWindow(s_ImageList)) return;
    SendMessageA(s_ImageList, LB_RESETCONTENT, 0, 0);
    char line[300];
    for (int32_t i = 0; EffectEdit_ImageListLine(i, line, sizeof line); ++i)
        SendMessageA(s_ImageList, LB_ADDSTRING, 0, (LPARAM)line);
    SendMessageA(s_ImageList, LB_SETCURSEL, 0, 0);
}

void EffectDlg_SetSlider(int32_t pos, int32_t max)
{
    HWND slider = (HWND)g_EffectSlider;
    if (!slider || !IsWindow(slider)) return;
    SetScrollRange(slider, SB_CTL, 0, max, FALSE);
    SetScrollPos(slider, SB_CTL, pos, TRUE);
}

void EffectDlg_SetParticleField(int id, const char* text)
{
    HWND wnd = Wnd(g_EffectParticleSlot);
    if (wnd && IsWindow(wnd)) SetDlgItemTextA(wnd, id, text);
}

void ParticleDlg_Open()
{
    if (g_ParticleModeSlot.window) return;
    g_ParticleModeSlot.window = Create(107, ParticleModeProc, 0, g_Lib.monitorHeight - 330, 740, 300);
}

void ParticleDlg_Close() { Destroy(g_ParticleModeSlot); }
