// The dialogs of the MAP2 editor (the image dialog) and of the collision editor (select, area, box
// and circle), made and refreshed through the editors' UI records, which this file fills at start.
#include <windows.h>
#include <commdlg.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "frame/lib.h"
#include "frame/text.h"
#include "frame/win32/app_frame.h"
#include "scene/coli.h"
#include "scene/coli_edit.h"
#include "scene/map2.h"
#include "scene/map_edit.h"
#include "shell/mode_hooks.h"

namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerMs = 50;
constexpr int kImageDialog = 55, kChipList = 60, kAddChip = 59, kToggle = 65, kSample = 67;

RECT g_imageRect;

void FillChipList()
{
    HWND list = (HWND)g_Map2Edit.chipList;
    if (!list) return;
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& line : Map2Edit_ChipLines()) SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)line.c_str());
    SendMessageA(list, LB_SETCURSEL, (WPARAM)g_Map2Edit.currentChip, 0);
}

// The open dialog of "追加": any picture file.
std::string AskPicture(HWND owner)
{
    char name[MAX_PATH] = "";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = "*\0*.*\0";
    ofn.lpstrFile = name;
    ofn.nMaxFile = sizeof name;
    ofn.lpstrTitle = "読み込むイメージファイルを、選択して下さい";
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR;
    const bool ok = GetOpenFileNameA(&ofn) != 0;
    Lib_ResetFrameTimer();
    return ok ? name : "";
}

INT_PTR CALLBACK ImageDialogProc(HWND wnd, UINT msg, WPARAM wp, LPARAM)
{
    GetWindowRect(wnd, &g_imageRect);
    switch (msg) {
        case WM_INITDIALOG:
            SetTimer(wnd, kTimerId, kTimerMs, nullptr);
            return TRUE;
        case WM_TIMER:
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case kChipList:
                    if (HIWORD(wp) == LBN_SELCHANGE) {
                        const LRESULT sel = SendMessageA((HWND)g_Map2Edit.chipList, LB_GETCURSEL, 0, 0);
                        if (sel != LB_ERR) Map2Edit_SelectChip((int32_t)sel);
                    }
                    break;
                case kAddChip:
                    if (Map2_Get()->chipCount >= QVL::kMap2Chips) {
                        Map2Edit_AddChip("");
                    } else {
                        const std::string file = AskPicture(wnd);
                        if (!file.empty()) Map2Edit_AddChip(file.c_str());
                    }
                    break;
                case kToggle:
                    Map2Edit_ToggleAttribute();
                    break;
                case kSample:
                    Map2Edit_SampleSet();
                    break;
            }
            return TRUE;
    }
    return FALSE;
}

void OpenImageDialog()
{
    if (g_Map2Edit.imageDialog) return;
    HWND d = CreateDialogParamA((HINSTANCE)g_Lib.instance, MAKEINTRESOURCEA(kImageDialog), g_MainWnd, ImageDialogProc, 0);
    if (!d) return;
    g_Map2Edit.imageDialog = d;
    g_Map2Edit.chipList = GetDlgItem(d, kChipList);
    MoveWindow(d, g_Lib.monitorWidth - 468, g_Lib.monitorHeight - 553, 468, 524, TRUE);
    ShowWindow(d, SW_SHOWNA);
}

void CloseImageDialog()
{
    if (g_Map2Edit.imageDialog) DestroyWindow((HWND)g_Map2Edit.imageDialog);
    g_Map2Edit.imageDialog = nullptr;
    g_Map2Edit.chipList = nullptr;
}

// ---- collision editor -----------------------------------------------------------------------------

HWND g_select, g_area, g_box, g_circle;

void SetText(HWND d, int id, const char* text) { SetDlgItemTextA(d, id, text); }

void RefreshSelect()
{
    if (!g_select) return;
    const int ids[3] = {1321, 1322, 1324};
    for (int i = 0; i < 3; ++i) CheckDlgButton(g_select, ids[i], g_ColiEdit.target == i ? BST_CHECKED : BST_UNCHECKED);
}

void RefreshArea()
{
    if (!g_area) return;
    const QVL::COLI* c = Coli_Get();
    const int ids[5] = {1335, 1336, 1337, 1338, 1339};
    const float values[5] = {c->area[0], c->area[3], c->area[5], c->area[2], c->area[1]};
    for (int i = 0; i < 5; ++i) {
        char t[64];
        Str_Format(t, sizeof t, "%2.0f", values[i]);
        SetText(g_area, ids[i], t);
    }
}

void RefreshBox()
{
    if (!g_box) return;
    const QVL::COLI* c = Coli_Get();
    const int32_t k = g_ColiEdit.selectedBox;
    char t[5][64];
    if (k >= 0 && k < QVL::kColiWalls) {
        const QVL::COLI_BOX& b = c->boxes[k];
        Str_Format(t[0], sizeof t[0], "No : %d / %d / %d", k + 1, c->boxCount, QVL::kColiWalls);
        Str_Format(t[1], sizeof t[1], "Ｘ : %2.2f", b.x);
        Str_Format(t[2], sizeof t[2], "Ｚ : %2.2f", b.z);
        Str_Format(t[3], sizeof t[3], "角度 : %2.2f", b.angle);
        Str_Format(t[4], sizeof t[4], "サイズ : %2.2f", b.size);
    } else {
        Str_Format(t[0], sizeof t[0], "No : ? / ? / %d", QVL::kColiWalls);
        Str_Format(t[1], sizeof t[1], "Ｘ : ?");
        Str_Format(t[2], sizeof t[2], "Ｚ : ?");
        Str_Format(t[3], sizeof t[3], "角度 : ?");
        Str_Format(t[4], sizeof t[4], "サイズ : ?");
    }
    const int ids[5] = {1019, 1014, 1016, 1017, 1018};
    for (int i = 0; i < 5; ++i) SetText(g_box, ids[i], t[i]);
    const int tools[5] = {1023, 1024, 1025, 1026, 1027};
    for (int i = 0; i < 5; ++i) CheckDlgButton(g_box, tools[i], g_ColiEdit.boxTool == i ? BST_CHECKED : BST_UNCHECKED);
}

void RefreshCircle()
{
    if (!g_circle) return;
    const QVL::COLI* c = Coli_Get();
    const int32_t k = g_ColiEdit.selectedCircle;
    char t[4][64];
    if (k >= 0 && k < QVL::kColiWalls) {
        const QVL::COLI_CIRCLE& w = c->circles[k];
        Str_Format(t[0], sizeof t[0], "No : %d / %d / %d", k + 1, c->circleCount, QVL::kColiWalls);
        Str_Format(t[1], sizeof t[1], "Ｘ : %2.2f", w.x);
        Str_Format(t[2], sizeof t[2], "Ｚ : %2.2f", w.z);
        Str_Format(t[3], sizeof t[3], "サイズ : %2.2f", w.size);
    } else {
        Str_Format(t[0], sizeof t[0], "No : ? / ? / %d", QVL::kColiWalls);
        Str_Format(t[1], sizeof t[1], "Ｘ : ?");
        Str_Format(t[2], sizeof t[2], "Ｚ : ?");
        Str_Format(t[3], sizeof t[3], "サイズ : ?");
    }
    const int ids[4] = {1325, 1326, 1328, 1329};
    for (int i = 0; i < 4; ++i) SetText(g_circle, ids[i], t[i]);
    const int tools[4] = {1330, 1331, 1332, 1333}, values[4] = {0, 2, 3, 4};
    for (int i = 0; i < 4; ++i)
        CheckDlgButton(g_circle, tools[i], g_ColiEdit.circleTool == values[i] ? BST_CHECKED : BST_UNCHECKED);
}

float ReadFloat(HWND d, int id, float old)
{
    char t[64];
    if (!GetDlgItemTextA(d, id, t, sizeof t)) return old;
    char* end = nullptr;
    const double v = std::strtod(t, &end);
    return end != t && v == v ? (float)v : old;
}

INT_PTR CALLBACK ColiDialogProc(HWND wnd, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG:
            SetTimer(wnd, kTimerId, kTimerMs, nullptr);
            return TRUE;
        case WM_TIMER:
            if (wnd == g_select && g_ColiEdit.refreshSelect) g_ColiEdit.refreshSelect = 0, RefreshSelect();
            if (wnd == g_area && g_ColiEdit.refreshArea) g_ColiEdit.refreshArea = 0, RefreshArea();
            if (wnd == g_box && g_ColiEdit.refreshBox) g_ColiEdit.refreshBox = 0, RefreshBox();
            if (wnd == g_circle && g_ColiEdit.refreshCircle) g_ColiEdit.refreshCircle = 0, RefreshCircle();
            return TRUE;
        case WM_COMMAND: {
            const int id = LOWORD(wp);
            if (id == 1321) ColiEdit_SelectTarget(COLI_TARGET_AREA);
            else if (id == 1322) ColiEdit_SelectTarget(COLI_TARGET_BOXES);
            else if (id == 1324) ColiEdit_SelectTarget(COLI_TARGET_CIRCLES);
            else if (id == 1340 && g_area) {
                QVL::COLI* c = Coli_Get();
                c->area[0] = ReadFloat(g_area, 1335, c->area[0]);
                c->area[3] = ReadFloat(g_area, 1336, c->area[3]);
                c->area[5] = ReadFloat(g_area, 1337, c->area[5]);
                c->area[2] = ReadFloat(g_area, 1338, c->area[2]);
                c->area[1] = ReadFloat(g_area, 1339, c->area[1]);
                SetActiveWindow(g_MainWnd);
            } else if (id >= 1023 && id <= 1027) {
                g_ColiEdit.boxTool = id - 1023;
                g_ColiEdit.refreshBox = 1;
            } else if (id == 1011) {
                ColiEdit_AddBox();
            } else if (id >= 1330 && id <= 1333) {
                const int values[4] = {0, 2, 3, 4};
                g_ColiEdit.circleTool = values[id - 1330];
                g_ColiEdit.refreshCircle = 1;
            } else if (id == 1334) {
                ColiEdit_AddCircle();
            }
            return TRUE;
        }
    }
    return FALSE;
}

HWND MakeDialog(const char* name, int x, int y, int w, int h)
{
    HWND d = CreateDialogParamA((HINSTANCE)g_Lib.instance, name, g_MainWnd, ColiDialogProc, 0);
    if (d) {
        MoveWindow(d, x, y, w, h, TRUE);
        ShowWindow(d, SW_SHOWNA);
    }
    return d;
}

void OpenSelectDialog()
{
    if (!g_select) g_select = MakeDialog("COLI_SELECT_DLG", 0, 317, 90, 102);
    g_ColiEdit.refreshSelect = 1;
}

void CloseSelectDialog()
{
    if (g_select) DestroyWindow(g_select);
    g_select = nullptr;
}

void OpenToolDialog(int32_t target)
{
    const int w = g_Lib.monitorWidth;
    if (target == COLI_TARGET_AREA && !g_area) g_area = MakeDialog("COLI_MAX_DLG", w - 171, 46, 172, 145);
    if (target == COLI_TARGET_BOXES && !g_box) g_box = MakeDialog("COLI_BOX_DLG", w - 140, 46, 140, 305);
    if (target == COLI_TARGET_CIRCLES && !g_circle) g_circle = MakeDialog("COLI_CIRCLE_DLG", w - 130, 46, 130, 265);
    g_ColiEdit.refreshArea = g_ColiEdit.refreshBox = g_ColiEdit.refreshCircle = g_ColiEdit.refreshSelect = 1;
}

void CloseToolDialogs()
{
    for (HWND* d : {&g_area, &g_box, &g_circle}) {
        if (*d) DestroyWindow(*d);
        *d = nullptr;
    }
}

// The editors reach their dialogs through these records from the start of the program.
struct Registration {
    Registration()
    {
        g_Map2EditUi = MAP2_EDIT_UI{OpenImageDialog, CloseImageDialog, FillChipList};
        g_ColiEditUi = COLI_EDIT_UI{OpenSelectDialog, CloseSelectDialog, OpenToolDialog, CloseToolDialogs};
    }
} s_registration;

} // namespace
