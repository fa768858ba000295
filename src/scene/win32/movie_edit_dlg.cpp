// The movie editor's modeless dialogs: the tools, the key dialog with its frame slider and the
// track/key panel, one tool dialog per track kind, and the rendering dialog. Each dialog refills its
// fields at its next message while its refresh flag is set; what the controls do to the movie is
// in scene/movie_edit.cpp.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "frame/lib.h"
#include "frame/paths.h"
#include "frame/services.h"
#include "frame/text.h"
#include "frame/win32/app_frame.h"
#include "frame/win32/avi_writer.h"
#include "frame/sound.h"
#include "frame/win32/file_dialog.h"
#include "model/gpu_services.h"
#include "model/model2.h"
#include "model/model_load.h"
#include "model/model_table.h"
#include "model/scene_object.h"
#include "render/frame_render.h"
#include "scene/movie_edit.h"
#include "scene/scene_edit_hooks.h"
#include "scene/win32/movie_edit_dlg.h"
#include "shell/current.h"
#include "shell/dlg_slot.h"
#include "shell/input_state.h"
#include "shell/panels.h"
#include "shell/views.h"

using namespace QVL;

namespace {

enum MOVIE_DLG_ID {
    DLG_TOOLS, DLG_KEY, DLG_IMG, DLG_QVA, DLG_QVB, DLG_QVO, DLG_QVP, DLG_CAM, DLG_SCENE, DLG_WAVE, DLG_MES,
    DLG_RENDER, DLG_COUNT
};

DLG_SLOT s_Slots[DLG_COUNT];
HWND s_KeyScroll;
HWND s_Lists[DLG_COUNT];      // child key lists (and the message list)
int32_t s_SoundSlot, s_MessageSlot;

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }
HWND Wnd(int d) { return (HWND)s_Slots[d].window; }

void SetFloat(HWND w, int id, float v)
{
    char text[64];
    Str_Format(text, sizeof text, "%3.3f", v);
    SetDlgItemTextA(w, id, text);
}

float FieldFloat(HWND w, int id)
{
    char text[128];
    GetDlgItemTextA(w, id, text, sizeof text);
    return (float)std::strtod(text, nullptr);
}

// A signed integer field; false when it does not start with a number.
bool FieldInt(HWND w, int id, int32_t* out)
{
    char text[64];
    GetDlgItemTextA(w, id, text, sizeof text);
    char* end = nullptr;
    const long long v = std::strtoll(text, &end, 10);
    if (end == text) return false;
    *out = v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : (int32_t)v;
    return true;
}

HWND Create(int d, const char* resource, DLGPROC proc, int x, int y, int w, int h, bool show)
{
    HWND wnd = CreateDialogParamA(Instance(), resource, g_MainWnd, proc, (LPARAM)d);
    if (!wnd) return nullptr;
    s_Slots[d].window = wnd;
    s_Slots[d].dirty = 1;
    SetWindowPos(wnd, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    if (show) ShowWindow(wnd, SW_SHOWNOACTIVATE);
    return wnd;
}

HWND AddList(HWND parent, int w, int h)
{
    return CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY, 0, 0, w, h,
                           parent, (HMENU)(INT_PTR)1, Instance(), nullptr);
}

MOVIE_TRACK* Cur() { return MovieEdit_CurrentTrack(); }

// The key at the current frame, or the current key when none sits there.
MOVIE_KEY* CurKey()
{
    MOVIE_TRACK* t = Cur();
    if (!t || t->keyCount <= 0) return nullptr;
    Movie_FindTrackKeys(t, g_MovieData.frame);
    const int32_t k = MovieEdit_KeyAt(t, g_MovieData.frame);
    return &t->keys[k >= 0 ? k : t->currentKey];
}

void FillKeyList(HWND list)
{
    if (!list) return;
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    MOVIE_TRACK* t = Cur();
    if (!t) return;
    char text[64];
    for (int32_t k = 0; k < t->keyCount && k < kMovieMaxKeys; ++k) {
        Str_Format(text, sizeof text, "%03d : %5d", k, t->keys[k].frame);
        SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)text);
    }
    Movie_FindTrackKeys(t, g_MovieData.frame);
    SendMessageA(list, LB_SETCURSEL, (WPARAM)t->currentKey, 0);
}

// The folder chosen relative to the data folder.
void RelativeFolder(char* out, size_t cap, const char* chosen)
{
    const size_t n = std::strlen(g_Lib.dataFolder);
    if (n && std::strncmp(chosen, g_Lib.dataFolder, n) == 0) chosen += chosen[n] == '\\' ? n + 1 : n;
    Str_CopyN(out, cap, chosen);
}

// --- Refill ---

void RefreshTools(HWND w)
{
    CheckRadioButton(w, 1174, 1178, g_DragTool == 0 ? 1174 : g_DragTool == 1 ? 1176 : 1178);
    const MOVIE_TRACK* t = Cur();
    SetDlgItemTextA(w, 1198, t && t->moveMode == 0 ? "移動 : 直線" : "移動 : 曲線");
    SetDlgItemTextA(w, 1199, t && t->rotateMode == 0 ? "回転 : 直線" : "回転 : 曲線");
}

void RefreshKey(HWND w)
{
    const MOVIE_PLAY& m = g_MovieData;
    SetDlgItemInt(w, 1261, (UINT)m.loopStart, TRUE);
    SetDlgItemInt(w, 1262, (UINT)m.endFrame, TRUE);
    SetDlgItemInt(w, 1260, (UINT)m.length, TRUE);
    const MOVIE_KEY* k = CurKey();
    CheckDlgButton(w, 1268, k && k->visible ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(w, 1267, m.followNext == 1 ? BST_CHECKED : BST_UNCHECKED);
    if (s_KeyScroll) {
        SetScrollRange(s_KeyScroll, SB_CTL, 0, m.length, FALSE);
        SetScrollPos(s_KeyScroll, SB_CTL, m.frame, TRUE);
    }
}

void RefreshImage(HWND w)
{
    FillKeyList(s_Lists[DLG_IMG]);
    const MOVIE_TRACK* t = Cur();
    const MOVIE_KEY* k = CurKey();
    if (!t || !k) return;
    SetDlgItemTextA(w, 1358, t->name);
    SetDlgItemTextA(w, 1229, t->file);
    SetFloat(w, 1353, k->position[0]);
    SetFloat(w, 1354, k->position[1]);
    SetFloat(w, 1248, k->rotation[2]);
    SetFloat(w, 1249, k->scale[0]);
    SetFloat(w, 1250, k->scale[1]);
    for (int c = 0; c < 4; ++c) SetDlgItemInt(w, 1251 + c, (UINT)(int)k->colour[c], TRUE);
}

void FillMotions(HWND w, int d)
{
    HWND combo = GetDlgItem(w, 1345);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    const MOVIE_TRACK* t = Cur();
    if (!t) return;
    char text[300];
    if (d == DLG_QVB && g_CurLayer < kModel2Slots && g_Model2Table[g_CurLayer]) {
        const MODEL2* m = g_Model2Table[g_CurLayer];
        for (int32_t i = 0; i < m->motionCount && i < kModel2Motions; ++i) {
            Str_Format(text, sizeof text, "%03d %s", i, m->motions[i].name);
            SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)text);
        }
    } else if (d == DLG_QVP || d == DLG_QVO) {
        if (const MODEL3* m = Model3_GetById(t->modelId))
            for (size_t i = 0; i < m->motions.size(); ++i) {
                Str_Format(text, sizeof text, "%03d %s", (int)i, m->motions[i].name);
                SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)text);
            }
    }
    const MOVIE_KEY* k = CurKey();
    SendMessageA(combo, CB_SETCURSEL, k ? (WPARAM)k->resource : (WPARAM)-1, 0);
}

void RefreshModel(HWND w, int d)
{
    FillKeyList(s_Lists[d]);
    FillMotions(w, d);
    const MOVIE_TRACK* t = Cur();
    const MOVIE_KEY* k = CurKey();
    if (!t || !k) return;
    SetDlgItemTextA(w, 1358, t->name);
    SetDlgItemTextA(w, 69, t->folder);
    SetDlgItemTextA(w, 1229, t->file);
    SetDlgItemTextA(w, 1231, t->motionFile);
    for (int c = 0; c < 3; ++c) {
        SetFloat(w, 1353 + c, k->position[c]);
        SetFloat(w, 1249 + c, k->scale[c]);
    }
    SetFloat(w, 1248, k->rotation[2]);
    CheckDlgButton(w, 1389, t->shadowMode == 20 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(w, 1390, t->shadowMode == 30 ? BST_CHECKED : BST_UNCHECKED);
}

void RefreshCamera(HWND w)
{
    const MOVIE_PLAY& m = g_MovieData;
    for (int32_t i = 0; i < m.trackCount && i < kMovieMaxTracks; ++i) {
        MOVIE_TRACK* t = m.tracks[i];
        if (!t || t->kind != MOVIE_CAMERA || t->keyCount <= 0) continue;
        Movie_FindTrackKeys(t, m.frame);
        const MOVIE_KEY& k = t->keys[t->currentKey];
        for (int c = 0; c < 3; ++c) {
            SetFloat(w, 1346 + c, k.position[c]);
            SetFloat(w, 1349 + c, k.target[c]);
        }
    }
}

void RefreshScene(HWND w)
{
    const MOVIE_PLAY& m = g_MovieData;
    char text[300];
    if (m.bgmOn == 0) Str_CopyN(text, sizeof text, "BGM : なし");
    else Str_Format(text, sizeof text, "BGM : %s", m.bgmFile);
    SetDlgItemTextA(w, 1100, text);
    if (m.nextOn == 0) Str_CopyN(text, sizeof text, "次のQVV : なし");
    else Str_Format(text, sizeof text, "次のQVV : %s", m.nextFile);
    SetDlgItemTextA(w, 1423, text);
}

void FillSounds(HWND w)
{
    HWND list = GetDlgItem(w, 1374);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    const MOVIE_PLAY& m = g_MovieData;
    char text[600];
    for (int32_t i = 0; i < kMovieSlots; ++i) {
        if (i == 0) Str_Format(text, sizeof text, "%03d : ここに効果音は読み込めません", i);
        else if (i < m.soundCount && m.soundFolders[i][0]) Str_Format(text, sizeof text, "%03d : %s / %s", i, m.soundFolders[i], m.soundFiles[i]);
        else if (i < m.soundCount) Str_Format(text, sizeof text, "%03d : %s", i, m.soundFiles[i]);
        else Str_Format(text, sizeof text, "%03d :", i);
        SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)text);
    }
    const MOVIE_KEY* k = CurKey();
    SendMessageA(list, LB_SETCURSEL, k ? (WPARAM)k->resource : 0, 0);
}

void FillMessages()
{
    HWND list = s_Lists[DLG_MES];
    if (!list) return;
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    char text[300];
    for (int32_t i = 0; i < kMovieSlots; ++i) {
        if (i == 0) Str_Format(text, sizeof text, "%03d : 空メッセージ用( 編集できません )", i);
        else Str_Format(text, sizeof text, "%03d : %s", i, g_MovieData.messages[i]);
        SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)text);
    }
    SendMessageA(list, LB_SETCURSEL, (WPARAM)s_MessageSlot, 0);
}

void RefreshRender(HWND w)
{
    SetDlgItemTextA(w, 1089, g_MovieRenderSettings.outputName);
    SetDlgItemInt(w, 1086, (UINT)g_MovieRenderSettings.firstFrame, TRUE);
    SetDlgItemInt(w, 1087, (UINT)g_MovieRenderSettings.lastFrame, TRUE);
    SetDlgItemInt(w, 1084, (UINT)g_MovieRenderSettings.interval, TRUE);
}

void Refill(int d, HWND w)
{
    switch (d) {
    case DLG_TOOLS: RefreshTools(w); break;
    case DLG_KEY: RefreshKey(w); break;
    case DLG_IMG: RefreshImage(w); break;
    case DLG_QVA: case DLG_QVB: case DLG_QVO: case DLG_QVP: RefreshModel(w, d); break;
    case DLG_CAM: RefreshCamera(w); break;
    case DLG_SCENE: RefreshScene(w); break;
    case DLG_WAVE: FillSounds(w); break;
    case DLG_MES:
        FillMessages();
        SetDlgItemTextA(w, 1204, g_MovieData.messages[s_MessageSlot]);
        break;
    case DLG_RENDER: RefreshRender(w); break;
    default: break;
    }
}

// --- Commands ---

void Changed()
{
    MovieEdit_RefreshDialogs();
    View_RequestRedraw();
}

void KeyCommand(HWND w, int id)
{
    MOVIE_PLAY& m = g_MovieData;
    switch (id) {
    case 1212: m.frame = 0; break;
    case 1213: m.frame = MovieEdit_PrevKeyFrame(m.frame); break;
    case 1214: m.frame = m.frame > 0 ? m.frame - 1 : 0; break;
    case 1216: m.frame = m.frame < m.length ? m.frame + 1 : m.length; break;
    case 1217: m.frame = MovieEdit_NextKeyFrame(m.frame); break;
    case 1215: g_TimelineZoom = g_TimelineZoom * 2 > 64 ? 64 : g_TimelineZoom * 2; break;
    case 1219: g_TimelineZoom = g_TimelineZoom / 2 < 1 ? 1 : g_TimelineZoom / 2; break;
    case 1220: g_TimelineScrollX += 100; break;
    case 1221: g_TimelineScrollX -= 100; break;
    case 1060: MovieEdit_InsertKey(); break;
    case 1211: MovieEdit_DeleteKey(); break;
    case 1224: MovieEdit_CopyKey(); break;
    case 1225: MovieEdit_CutKey(); break;
    case 1226: MovieEdit_PasteKey(); break;
    case 1207: {
        int32_t length = 0;
        // The motion-frame tables hold 18000 frames: other lengths are refused.
        if (!FieldInt(w, 1260, &length) || !MovieEdit_SetLength(length))
            MessageBoxA(w, "1 ～ 18000 の値を入力して下さい。", "キーフレーム", MB_OK);
        break;
    }
    case 1264: MovieEdit_TogglePlayback(); break;
    case 1267: m.followNext = m.followNext == 1 ? 0 : 1; break;
    case 1268:
        if (MOVIE_KEY* k = CurKey()) k->visible = k->visible ? 0 : 1;
        break;
    default: return;
    }
    Changed();
}

void ImageCommand(HWND w, int id)
{
    MOVIE_TRACK* t = Cur();
    MOVIE_KEY* k = CurKey();
    if (!t || !k) return;
    if (id == 1228 && t->kind == MOVIE_PICTURE) {
        char dir[600];
        Str_Format(dir, sizeof dir, "%s\\%s", g_Lib.dataFolder, t->folder);
        File_ChDir(dir);
        const char* name = File_OpenDialog(w, "*", "ファイルを選択して下さい", t->file);
        if (name && name[0] && g_CurLayer < 1024) {
            Str_CopyN(t->file, sizeof t->file, name);
            if (Tex_LoadFile(&g_TexTable[g_CurLayer], t->file) < 0) g_TexTable[g_CurLayer] = -1;
            Movie_BuildMotionFrames();
            if (!t->name[0]) Str_CopyN(t->name, sizeof t->name, name);
        }
        File_ChDir(g_Lib.dataFolder);
        Changed();
    } else if (id == 1357) {
        GetDlgItemTextA(w, 1358, t->name, sizeof t->name);
        k->position[0] = FieldFloat(w, 1353);
        k->position[1] = FieldFloat(w, 1354);
        k->rotation[2] = FieldFloat(w, 1248);
        k->scale[0] = FieldFloat(w, 1249);
        k->scale[1] = FieldFloat(w, 1250);
        UINT c[4];
        BOOL ok = TRUE;
        for (int i = 0; i < 4 && ok; ++i) c[i] = GetDlgItemInt(w, 1251 + i, &ok, FALSE);
        if (ok)
            for (int i = 0; i < 4; ++i) k->colour[i] = (float)(c[i] > 255 ? 255 : c[i]);
        Changed();
    }
}

void ModelCommand(HWND w, int d, int id)
{
    MOVIE_TRACK* t = Cur();
    MOVIE_KEY* k = CurKey();
    if (!t || !k) return;
    if (id == 1357) {
        GetDlgItemTextA(w, 1358, t->name, sizeof t->name);
        if (d == DLG_QVP) GetDlgItemTextA(w, 69, t->folder, sizeof t->folder);
        if (d != DLG_QVA)
            for (int c = 0; c < 3; ++c) {
                k->position[c] = FieldFloat(w, 1353 + c);
                k->scale[c] = FieldFloat(w, 1249 + c);
            }
        if (d == DLG_QVB) k->rotation[2] = FieldFloat(w, 1248);
        const LRESULT sel = SendDlgItemMessageA(w, 1345, CB_GETCURSEL, 0, 0);
        k->resource = sel == CB_ERR ? 0 : (int32_t)sel;
        Movie_BuildMotionFrames();
        Changed();
        return;
    }
    if (id == 1228) {
        const bool ok = (d == DLG_QVA && t->kind == MOVIE_QVA) || (d == DLG_QVB && t->kind == MOVIE_QVB) ||
                        (d == DLG_QVP && t->kind == MOVIE_QVP);
        if (!ok) return;
        const char* ext = d == DLG_QVA ? "QVA" : d == DLG_QVB ? "QVB" : "QVP";
        char dir[600];
        Str_Format(dir, sizeof dir, "%s\\%s", d == DLG_QVP ? g_MovieData.folder : g_Lib.dataFolder, t->folder);
        File_ChDir(dir);
        const char* name = File_OpenDialog(w, ext, "ファイルを選択して下さい", t->file);
        if (name && name[0]) {
            Str_CopyN(t->file, sizeof t->file, name);
            if (d == DLG_QVB && g_CurLayer < kModel2Slots && !Model2_Load(g_CurLayer, t->file)) Model2_FreeSlot(g_CurLayer);
            if (d == DLG_QVP) {
                const int32_t id3 = Model3_LoadWait(t->file);
                t->modelId = id3;
                if (OBJECT* o = Object_GetById(t->objectId)) o->modelId = id3;
            }
            Movie_BuildMotionFrames();
            if (!t->name[0]) Str_CopyN(t->name, sizeof t->name, name);
        }
        File_ChDir(d == DLG_QVP ? g_MovieData.folder : g_Lib.dataFolder);
        MovieEdit_RefreshDialogs();
    } else if (id == 1230 && ((d == DLG_QVB && t->kind == MOVIE_QVB) || t->kind == MOVIE_QVP)) {
        const char* name = File_OpenDialog(w, "QVM", "モーションファイルを選択して下さい", t->motionFile);
        Str_CopyN(t->motionFile, sizeof t->motionFile, name ? name : "");
        MovieEdit_RefreshDialogs();
    } else if (id == 1226 && d != DLG_QVP) {
        char folder[256];
        if (File_ChooseFolder(folder)) RelativeFolder(t->folder, sizeof t->folder, folder);
        MovieEdit_RefreshDialogs();
    }
}

void CameraCommand(HWND w, int id)
{
    MOVIE_TRACK* t = Cur();
    if (id != 1059 || !t || t->kind != MOVIE_CAMERA) return;
    MOVIE_KEY* k = CurKey();
    if (!k) return;
    for (int c = 0; c < 3; ++c) {
        k->position[c] = FieldFloat(w, 1346 + c);
        k->target[c] = FieldFloat(w, 1349 + c);
    }
    Changed();
}

void SceneCommand(HWND w, int id)
{
    MOVIE_PLAY& m = g_MovieData;
    if (id == 1096 || id == 1098) {
        const bool bgm = id == 1096;
        const char* name = File_OpenDialog(w, bgm ? "mid" : "QVV", "ファイルを選択して下さい", bgm ? m.bgmFile : m.nextFile);
        char* field = bgm ? m.bgmFile : m.nextFile;
        Str_CopyN(field, 256, name ? name : "");
        (bgm ? m.bgmOn : m.nextOn) = field[0] ? 1 : 0;
        File_ChDir(g_Lib.dataFolder);
    } else if (id == 1097) {
        m.bgmOn = 0;
    } else if (id == 1099) {
        m.nextOn = 0;
    } else {
        return;
    }
    s_Slots[DLG_SCENE].dirty = 1;
}

void WaveCommand(HWND w, int id)
{
    MOVIE_PLAY& m = g_MovieData;
    const LRESULT sel = SendDlgItemMessageA(w, 1374, LB_GETCURSEL, 0, 0);
    if (sel != LB_ERR && sel < 100) s_SoundSlot = (int32_t)sel;
    if (s_SoundSlot < 0 || s_SoundSlot >= kMovieSlots) s_SoundSlot = 0;
    const int32_t slot = s_SoundSlot;
    if (id == 1359) {
        if (MOVIE_KEY* k = CurKey()) k->resource = slot;
        Changed();
    } else if (id == 1367) {
        ShowWindow(w, SW_HIDE);
    } else if ((id == 1368 || id == 1369) && slot > 0) {
        if (id == 1368) {
            char folder[256];
            if (File_ChooseFolder(folder)) RelativeFolder(m.soundFolders[slot], 256, folder);
        } else {
            const char* name = File_OpenDialog(w, "WAV", "ファイルを選択して下さい", m.soundFiles[0]);
            Str_CopyN(m.soundFiles[slot], 256, name ? name : "");
            if (m.soundFiles[slot][0]) Wave_LoadGlobalSound(slot, m.soundFiles[slot]);
        }
        if (slot >= m.soundCount) m.soundCount = slot + 1;
        FillSounds(w);
    }
}

void MessageCommand(HWND w, int id)
{
    MOVIE_PLAY& m = g_MovieData;
    const LRESULT sel = s_Lists[DLG_MES] ? SendMessageA(s_Lists[DLG_MES], LB_GETCURSEL, 0, 0) : LB_ERR;
    if (sel != LB_ERR && sel < kMovieSlots) s_MessageSlot = (int32_t)sel;
    if (id != 1205) {
        s_Slots[DLG_MES].dirty = 1;
        return;
    }
    if (s_MessageSlot > 0) {
        if (m.messageCount < s_MessageSlot + 1) m.messageCount = s_MessageSlot + 1;
        GetDlgItemTextA(w, 1204, m.messages[s_MessageSlot], 256);
    }
    if (MOVIE_KEY* k = CurKey()) k->resource = s_MessageSlot;
    Changed();
}

void RenderCommand(HWND w, int id)
{
    char base[256];
    GetDlgItemTextA(w, 1089, base, sizeof base);
    Str_CopyN(g_MovieRenderSettings.outputName, sizeof g_MovieRenderSettings.outputName, base);
    char name[300];
    if (id == 1090) {
        Str_Format(name, sizeof name, "%s.BMP", base);
        MovieEdit_RenderPicture(name);
    } else if (id == 1083) {
        int32_t interval = 0;
        if (!FieldInt(w, 1084, &interval) || !MovieEdit_IntervalValid(interval)) {
            MessageBoxA(w, "描画間隔は 1 ～ 60 の値を入力して下さい。", "レンダリング", MB_OK);
            return;
        }
        g_MovieRenderSettings.interval = interval;
        MovieEdit_RenderPictures(base, interval);
    } else if (id == 1091) {
        int32_t interval = 0;
        // The frame rate is 60 / interval: an interval outside 1..60 cannot drive a recording.
        if (!FieldInt(w, 1084, &interval) || !MovieEdit_IntervalValid(interval)) {
            MessageBoxA(w, "描画間隔は 1 ～ 60 の値を入力して下さい。", "レンダリング", MB_OK);
            return;
        }
        g_MovieRenderSettings.interval = interval;
        Str_Format(name, sizeof name, "%s.AVI", base);
        MovieEdit_RecordAvi(name, interval);
    } else if (id == 1033) {
        DestroyWindow(w);
        s_Slots[DLG_RENDER].window = nullptr;
    }
}

// --- Dialog procedures ---

INT_PTR CALLBACK DlgProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam)
{
    int d = (int)(INT_PTR)GetWindowLongPtrA(w, DWLP_USER);
    if (msg == WM_INITDIALOG) {
        d = (int)lParam;
        SetWindowLongPtrA(w, DWLP_USER, (LONG_PTR)d);
        if (d != DLG_KEY) SetTimer(w, 1, 50, nullptr);
        return TRUE;
    }
    if (d < 0 || d >= DLG_COUNT) return FALSE;
    RECT r;
    if (GetWindowRect(w, &r)) s_Slots[d].left = r.left, s_Slots[d].top = r.top;
    if (msg == WM_COMMAND) {
        const int id = LOWORD(wParam);
        if (HIWORD(wParam) != BN_CLICKED && (HWND)lParam != s_Lists[DLG_MES] && id != 1374) return FALSE;
        switch (d) {
        case DLG_TOOLS:
            if (id == 1174) g_DragTool = 0;
            else if (id == 1176) g_DragTool = 1;
            else if (id == 1178) g_DragTool = 2;
            else if ((id == 1198 || id == 1199) && Cur()) (id == 1198 ? Cur()->moveMode : Cur()->rotateMode) ^= 1;
            s_Slots[DLG_TOOLS].dirty = 1;
            break;
        case DLG_KEY: KeyCommand(w, id); break;
        case DLG_IMG: ImageCommand(w, id); break;
        case DLG_QVA: case DLG_QVB: case DLG_QVO: case DLG_QVP: ModelCommand(w, d, id); break;
        case DLG_CAM: CameraCommand(w, id); break;
        case DLG_SCENE: SceneCommand(w, id); break;
        case DLG_WAVE: WaveCommand(w, id); break;
        case DLG_MES: MessageCommand(w, id); break;
        case DLG_RENDER: RenderCommand(w, id); break;
        default: break;
        }
        return TRUE;
    }
    if (d == DLG_KEY && msg == WM_HSCROLL && (HWND)lParam == s_KeyScroll) {
        MOVIE_PLAY& m = g_MovieData;
        int pos = GetScrollPos(s_KeyScroll, SB_CTL);
        switch (LOWORD(wParam)) {
        case SB_LINELEFT: pos -= 1; break;
        case SB_LINERIGHT: pos += 1; break;
        case SB_PAGELEFT: pos -= 60; break;
        case SB_PAGERIGHT: pos += 60; break;
        case SB_THUMBPOSITION: pos = HIWORD(wParam); break;
        default: break;
        }
        pos = pos < 0 ? 0 : pos > m.length ? m.length : pos;
        SetScrollPos(s_KeyScroll, SB_CTL, pos, TRUE);
        m.frame = pos;
        Changed();
        return TRUE;
    }
    if (d == DLG_KEY && msg == WM_LBUTTONDBLCLK) {
        MovieEdit_InsertKey();
        Changed();
        return TRUE;
    }
    if (d == DLG_KEY && msg == WM_LBUTTONDOWN) {
        // The track/key panel: a click picks the frame and the track row.
        const int x = (short)LOWORD(lParam), y = (short)HIWORD(lParam);
        MOVIE_PLAY& m = g_MovieData;
        int32_t f = 0;
        if (x > g_TimelineLeft) {
            f = (x - g_TimelineScrollX - g_TimelineLeft) * g_TimelineZoom / 10;
            f = f < 0 ? 0 : f > m.length ? m.length : f;
        }
        m.frame = f;
        const int32_t row = (y - g_TimelineScrollY - g_TimelineTop - 5) / kTimelineRowHeight;
        if (row >= 0 && row < m.trackCount && m.tracks[row]) g_CurLayer = row;
        Changed();
        return TRUE;
    }
    if (msg == WM_GETMINMAXINFO && d == DLG_KEY) {
        MINMAXINFO* mm = (MINMAXINFO*)lParam;
        mm->ptMinTrackSize.x = 646;
        mm->ptMinTrackSize.y = 192;
        return TRUE;
    }
    if (msg != WM_COMMAND && s_Slots[d].dirty) {
        s_Slots[d].dirty = 0;
        Refill(d, w);
    }
    return FALSE;
}

} // namespace

bool MovieEdit_RenderPicture(const char* name)
{
    g_PickedView = 0;
    MovieEdit_Frame();
    App_RenderFrame();
    const int32_t W = (int32_t)g_BackBufferDesc.Width, H = (int32_t)g_BackBufferDesc.Height;
    RECT r;
    r.left = (W - 1280) / 2;
    r.top = (H - 720) / 2;
    r.right = r.left + 1280;
    r.bottom = r.top + 720;
    return App_SaveScreenshotRect(name, &r);
}

int32_t MovieEdit_RenderPictures(const char* base, int32_t interval)
{
    MOVIE_PLAY& m = g_MovieData;
    if (interval < 1) return -1;
    const int32_t resume = m.frame;
    int32_t written = 0;
    for (int32_t f = 0; f < m.length; f += interval) {
        m.frame = f;
        char name[300];
        Str_Format(name, sizeof name, "%s%04d.BMP", base, (int)written);
        // A picture that cannot be written ends the run (the screenshot has said why).
        if (!MovieEdit_RenderPicture(name)) {
            m.frame = resume;
            return -1;
        }
        ++written;
    }
    m.frame = resume;
    View_RequestRedraw();
    return written;
}

void MovieEdit_RecordAvi(const char* name, int32_t interval)
{
    MOVIE_PLAY& m = g_MovieData;
    g_ScreenGroup = 9;
    m.loop = 0;
    const int32_t resume = m.frame;
    g_MovieResumeFrame = resume;
    m.frame = 0;
    m.recordStep = interval;
    if (Avi_StartRecording(name, 60 / interval)) {
        // The recording starts from frame 0 whatever the key dialog's start field says.
        if (HWND key = Wnd(DLG_KEY)) SetDlgItemInt(key, 1261, 0, TRUE);
        MovieEdit_StartPlayback();
        g_MovieResumeFrame = resume;
        m.frame = 0;
        g_ScreenGroup = 9;
    } else {
        MovieEdit_StopPlayback();
        char text[400];
        Str_Format(text, sizeof text, "%s を作成できませんでした。", name);
        Lib_MessageBox(text);
    }
    s_Slots[DLG_TOOLS].dirty = s_Slots[DLG_KEY].dirty = 1;
}

HWND MovieEditUi_Window(int32_t kind)
{
    switch (kind) {
    case -2: return Wnd(DLG_KEY);
    case -3: return Wnd(DLG_RENDER);
    case MOVIE_PICTURE: return Wnd(DLG_IMG);
    case MOVIE_QVA: return Wnd(DLG_QVA);
    case MOVIE_QVB: return Wnd(DLG_QVB);
    case MOVIE_QVO: return Wnd(DLG_QVO);
    case MOVIE_QVP: return Wnd(DLG_QVP);
    case MOVIE_CAMERA: return Wnd(DLG_CAM);
    case MOVIE_SCENE: return Wnd(DLG_SCENE);
    case MOVIE_SOUND: return Wnd(DLG_WAVE);
    case MOVIE_MESSAGE: return Wnd(DLG_MES);
    default: return nullptr;
    }
}

void MovieEditUi_Create()
{
    const int mw = g_Lib.monitorWidth, mh = g_Lib.monitorHeight;
    if (!Wnd(DLG_TOOLS)) Create(DLG_TOOLS, "MOVIE_DLG", DlgProc, 0, 317, 90, 265, true);
    struct Tool { int d; const char* caption; int listH; };
    const Tool tools[] = {
        {DLG_IMG, nullptr, 280}, {DLG_QVA, "２Ｄモデル オブジェクト", 280}, {DLG_QVB, "２Ｄモデル ワンスキン", 280},
        {DLG_QVO, "３Ｄモデル", 280}, {DLG_QVP, "３Ｄモデル", 280}, {DLG_CAM, nullptr, 0},
        {DLG_SCENE, nullptr, 0}, {DLG_WAVE, nullptr, 0}, {DLG_MES, nullptr, 380},
    };
    for (const Tool& t : tools) {
        if (Wnd(t.d)) continue;
        const char* res = t.d == DLG_IMG ? "MOVIE_IMG_DLG" : t.d == DLG_CAM ? "MOVIE_CAM_DLG" : t.d == DLG_SCENE ? "MOVIE_SCENE_DLG"
                        : t.d == DLG_WAVE ? "MOVIE_WAVE_DLG" : t.d == DLG_MES ? "MOVIE_MES_DLG" : "MOVIE_MODEL_DLG";
        HWND w = Create(t.d, res, DlgProc, mw - 378, 46, 378, 524, false);
        if (!w) continue;
        if (t.caption) SetWindowTextA(w, t.caption);
        if (t.listH) s_Lists[t.d] = AddList(w, t.d == DLG_MES ? 300 : 372, t.listH);
    }
    if (!Wnd(DLG_KEY)) {
        HWND w = Create(DLG_KEY, "MOVIE_KEY_DLG", DlgProc, 0, mh - 342, 1024, 312, true);
        if (w) {
            CheckDlgButton(w, 1266, BST_CHECKED);
            s_KeyScroll = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_HORZ, 64, 5, 160, 18, w, nullptr,
                                          Instance(), nullptr);
            SetScrollRange(s_KeyScroll, SB_CTL, 0, g_MovieData.length, FALSE);
            SetScrollPos(s_KeyScroll, SB_CTL, 0, TRUE);
        }
    }
    g_PanelHosts[PANEL_HOST_MOVIE_KEYS] = &s_Slots[DLG_KEY];
}

void MovieEditUi_Destroy()
{
    g_PanelHosts[PANEL_HOST_MOVIE_KEYS] = nullptr;
    for (int d = 0; d < DLG_COUNT; ++d) {
        if (Wnd(d)) DestroyWindow(Wnd(d));
        s_Slots[d].window = nullptr;
        s_Lists[d] = nullptr;
    }
    s_KeyScroll = nullptr;
}

void MovieEditUi_FlagRefresh(bool camera)
{
    for (int d = 0; d < DLG_COUNT; ++d)
        if (d != DLG_CAM || camera) s_Slots[d].dirty = 1;
    // The dialogs refill at their next message; the key dialog has no timer, so it gets one now.
    if (HWND key = Wnd(DLG_KEY)) PostMessageA(key, WM_NULL, 0, 0);
}

void MovieEditUi_ShowToolDialog(int32_t kind)
{
    const int tools[] = {DLG_IMG, DLG_QVA, DLG_QVB, DLG_QVO, DLG_QVP, DLG_CAM, DLG_SCENE, DLG_WAVE, DLG_MES};
    HWND show = MovieEditUi_Window(kind);
    for (int d : tools)
        if (Wnd(d) && Wnd(d) != show) ShowWindow(Wnd(d), SW_HIDE);
    if (show) ShowWindow(show, SW_SHOWNOACTIVATE);
}

bool MovieEditUi_ReadPlayRange(int32_t* start, int32_t* end)
{
    HWND key = Wnd(DLG_KEY);
    if (!key) {
        *start = g_MovieData.loopStart;
        *end = g_MovieData.endFrame;
        return true;
    }
    return FieldInt(key, 1261, start) && FieldInt(key, 1262, end);
}

bool MovieEditUi_LoopChecked()
{
    HWND key = Wnd(DLG_KEY);
    return key && IsDlgButtonChecked(key, 1266) == BST_CHECKED;
}

void MovieEditUi_SetPlaying(bool playing)
{
    if (HWND key = Wnd(DLG_KEY)) SetDlgItemTextA(key, 1264, playing ? "停止(A)" : "再生(A)");
    // Stopping ends a recording in progress (which puts the screen group back).
    if (!playing && g_AviWriter) Avi_StopRecording();
}

bool MovieEditUi_KeyDialogActive()
{
    HWND key = Wnd(DLG_KEY);
    return key && GetActiveWindow() == key;
}

void MovieEditUi_OpenRenderDialog()
{
    if (Wnd(DLG_RENDER)) return;
    Create(DLG_RENDER, "MOVIE_RENDER_DLG", DlgProc, 100, 100, 300, 170, true);
}
