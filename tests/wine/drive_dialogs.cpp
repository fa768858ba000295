// Every dialog of the studio shows its texts whole with the fonts it really gets. Each dialog is
// opened the way a person opens it and measured inside the studio (a hook library, since a font
// handle is only good in its own process): the text's extent in the control's own font against the
// room the control leaves it, and the caption in the caption font against the caption bar.
// A new dialog joins by a row in kDialogs.
#include <cstdio>
#include <cwchar>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/qvp_fixtures.h"
#include "wine/support/driver.h"
#include "wine/support/input.h"

namespace {

// ---- real input --------------------------------------------------------------------------------

// Input through the X server, as a person's keyboard and mouse give it: xdotool, started through
// Wine's start.exe, which runs a Unix program. Waits until it is done.
bool Xdotool(const std::string& args)
{
    std::string cmd = "start.exe /wait /unix /usr/bin/xdotool " + args;
    std::vector<char> line(cmd.begin(), cmd.end());
    line.push_back(0);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
        return false;
    bool done = WaitForSingleObject(pi.hProcess, 20000) == WAIT_OBJECT_0;
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    Sleep(300);
    return done;
}

// A key (an X key name) as a person presses it: down, held about 100 ms, up.
void PressKey(const char* key)
{
    Xdotool(std::string("keydown ") + key + " sleep 0.1 keyup " + key);
}

void Click(int x, int y)
{
    Xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y) + " sleep 0.1 mousedown 1 sleep 0.1 mouseup 1");
}

// Clicks a point of the window's client area that no other window covers, so the click lands there.
bool ClickInside(HWND wnd)
{
    RECT c = {};
    GetClientRect(wnd, &c);
    for (int fy = 1; fy < 8; ++fy)
        for (int fx = 1; fx < 8; ++fx) {
            POINT p = {c.right * fx / 8, c.bottom * fy / 8};
            ClientToScreen(wnd, &p);
            if (WindowFromPoint(p) != wnd) continue;
            Click(p.x, p.y);
            return true;
        }
    return false;
}

// ---- measuring ----------------------------------------------------------------------------------

struct ITEM {
    bool caption = false;
    int id = 0;
    std::wstring cls;
    unsigned long style = 0;
    bool hasFont = false;
    int cx = 0, cy = 0;                // the text on one line
    int wrapW = 0, wrapH = 0;          // broken into lines at the client width
    int zeroHalf = 0, checkBox = 0;
    int width = 0, height = 0;         // client area; for the caption, the window's width
    int buttonW = 0, captionH = 0, frame = 0, smallIcon = 0;
    std::wstring text;
};

std::vector<std::wstring> Split(const std::wstring& line)
{
    std::vector<std::wstring> f;
    std::wstring cur;
    for (wchar_t c : line) {
        if (c == L'\t') {
            f.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    f.push_back(cur);
    return f;
}

int Num(const std::wstring& s) { return (int)std::wcstol(s.c_str(), nullptr, 10); }

std::vector<ITEM> Parse(const std::wstring& all)
{
    std::vector<ITEM> items;
    std::wstringstream in(all);
    std::wstring line;
    while (std::getline(in, line)) {
        std::vector<std::wstring> f = Split(line);
        ITEM it;
        if (f[0] == L"T" && f.size() >= 10) {
            it.caption = true;
            it.cx = Num(f[1]);
            it.cy = Num(f[2]);
            it.width = Num(f[3]);
            it.buttonW = Num(f[4]);
            it.captionH = Num(f[5]);
            it.frame = Num(f[6]);
            it.smallIcon = Num(f[7]);
            it.style = std::wcstoul(f[8].c_str(), nullptr, 16);
            it.text = f[9];
        } else if (f[0] == L"C" && f.size() >= 14) {
            it.id = Num(f[1]);
            it.cls = f[2];
            it.style = std::wcstoul(f[3].c_str(), nullptr, 16);
            it.hasFont = Num(f[4]) != 0;
            it.cx = Num(f[5]);
            it.cy = Num(f[6]);
            it.wrapW = Num(f[7]);
            it.wrapH = Num(f[8]);
            it.zeroHalf = Num(f[9]);
            it.width = Num(f[10]);
            it.height = Num(f[11]);
            it.checkBox = Num(f[12]);
            it.text = f[13];
        } else {
            continue;
        }
        items.push_back(it);
    }
    return items;
}

// The studio's dialogs measured by the hook library, loaded into the studio for each probe.
class Probe {
public:
    Probe()
    {
        m_section = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBytes, L"QvDialogProbe");
        m_view = m_section ? (wchar_t*)MapViewOfFile(m_section, FILE_MAP_ALL_ACCESS, 0, 0, kBytes) : nullptr;
        m_library = LoadLibraryA((Drive_ExeFolder() + "qv_dialog_probe.dll").c_str());
        m_hook = m_library ? (HOOKPROC)(void*)GetProcAddress(m_library, "DialogProbe_Hook") : nullptr;
        m_message = RegisterWindowMessageW(L"QvDialogProbe");
    }
    ~Probe()
    {
        if (m_view) UnmapViewOfFile(m_view);
        if (m_section) CloseHandle(m_section);
        if (m_library) FreeLibrary(m_library);
    }
    bool Ready() const { return m_view && m_hook; }

    // The caption and every child of the dialog; empty when the studio did not answer in time.
    std::vector<ITEM> Measure(HWND dlg)
    {
        if (!Ready()) return {};
        HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, m_hook, m_library, GetWindowThreadProcessId(dlg, nullptr));
        if (!hook) return {};
        // The studio may be busy with a frame, or loading the library, when the first probe comes.
        std::vector<ITEM> items;
        for (int attempt = 0; attempt < 5 && items.empty(); ++attempt) {
            m_view[0] = 0;
            DWORD_PTR result = 0;
            SendMessageTimeoutW(dlg, m_message, 0, 0, SMTO_NORMAL, 10000, &result);
            items = Parse(std::wstring(m_view, wcsnlen(m_view, kBytes / sizeof(wchar_t))));
            if (items.empty()) Sleep(1000);
        }
        UnhookWindowsHookEx(hook);
        return items;
    }

private:
    static const DWORD kBytes = 256 * 1024;
    HANDLE m_section = nullptr;
    wchar_t* m_view = nullptr;
    HMODULE m_library = nullptr;
    HOOKPROC m_hook = nullptr;
    UINT m_message = 0;
};

// The room a control leaves its text, or -1 for a control whose text is data, not layout (edits,
// lists, combo boxes) or that shows no text.
struct ROOM {
    int width = -1, height = -1;
    bool wraps = false;  // a static broken into lines at its width
};

ROOM RoomFor(const ITEM& it)
{
    ROOM r;
    if (it.text.empty()) return r;
    if (_wcsicmp(it.cls.c_str(), L"Button") == 0) {
        const unsigned long type = it.style & BS_TYPEMASK;
        const bool check = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                           type == BS_3STATE || type == BS_AUTO3STATE || type == BS_AUTORADIOBUTTON;
        if (type == BS_GROUPBOX) {
            // The title sits in the frame line, a few pixels in from each end.
            r.width = it.width - 2 * 8;
            r.height = it.height;
        } else if (check && !(it.style & BS_PUSHLIKE)) {
            // The box and a gap of half a '0' come before the text.
            r.width = it.width - it.checkBox - it.zeroHalf;
            r.height = it.height;
        } else {
            // A push button's 3D edge and the focus rectangle inside it.
            r.width = it.width - 2 * (GetSystemMetrics(SM_CXEDGE) + 1);
            r.height = it.height - 2 * GetSystemMetrics(SM_CYEDGE);
        }
        return r;
    }
    if (_wcsicmp(it.cls.c_str(), L"Static") == 0) {
        const unsigned long type = it.style & SS_TYPEMASK;
        if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP &&
            type != SS_SIMPLE)
            return r;
        r.width = it.width;
        r.height = it.height;
        // A static tall enough for two lines is laid out to wrap.
        r.wraps = (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) && it.height >= 2 * it.cy;
        return r;
    }
    return r;
}

// The caption bar's room for the text. A window manager draws its own bar (openbox: the window's
// icon and three buttons, whatever the style asks for), so room for those is kept on every caption,
// with a little padding around each piece.
int CaptionRoom(const ITEM& it)
{
    return it.width - 2 * it.frame - (it.smallIcon + 2) - 3 * (it.buttonW + 2) - 2 * 6;
}

std::string Utf8(const std::wstring& w)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), (int)w.size(), nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? n : 0, '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, w.c_str(), (int)w.size(), &s[0], n, nullptr, nullptr);
    return s;
}

// Lines naming each clipped text; empty when all show whole.
std::vector<std::string> Clipped(const std::wstring& dialog, const std::vector<ITEM>& items)
{
    std::vector<std::string> out;
    char line[512];
    for (const ITEM& it : items) {
        if (it.caption) {
            const int room = CaptionRoom(it);
            if (it.cx > room) {
                std::snprintf(line, sizeof line, "%s: caption \"%s\" needs %d px, the caption bar has %d",
                              Utf8(dialog).c_str(), Utf8(it.text).c_str(), it.cx, room);
                out.push_back(line);
            }
            continue;
        }
        const ROOM r = RoomFor(it);
        if (r.width < 0) continue;
        const bool wide = r.wraps ? it.wrapW > r.width : it.cx > r.width;
        const bool tall = r.wraps ? it.wrapH > r.height : it.cy > r.height;
        if (!it.hasFont || wide || tall) {
            std::snprintf(line, sizeof line, "%s: control %d \"%s\" needs %dx%d px, has %dx%d%s",
                          Utf8(dialog).c_str(), it.id, Utf8(it.text).c_str(), r.wraps ? it.wrapW : it.cx,
                          r.wraps ? it.wrapH : it.cy, r.width, r.height, it.hasFont ? "" : " (no font)");
            out.push_back(line);
        }
    }
    return out;
}

// ---- the dialogs ---------------------------------------------------------------------------------

struct SESSION {
    StudioProcess& studio;
    DWORD pid;
};

// Opens the dialog (nothing to do for one open at start); closing is for modal ones, which must not
// stay open over the next step.
struct DIALOG {
    const wchar_t* resource;  // "#140" for a numbered template, else its name
    const wchar_t* caption;   // the window's caption as it shows
    int screen;  // the screen the dialog belongs to: the studio starts in it
    std::function<void(SESSION&)> open;
    std::function<void(SESSION&, HWND)> close;
    int tries;  // a person presses again when nothing opened; a posted command is sent once
};

void OpenAtStart(SESSION&) {}

// "オプション" through its key: a click on the main window gives it the focus, then O.
void OpenOptions(SESSION& s)
{
    ClickInside(s.studio.Main());
    PressKey("o");
}

// The device dialog has no menu item or key in the studio: its command is posted.
void OpenDeviceDialog(SESSION& s) { PostMessageW(s.studio.Main(), WM_COMMAND, 40002, 0); }

// "下絵" on a view window's menu bar, through the keyboard: Alt opens the bar on "View", Right
// moves to "下絵", Enter chooses it.
void OpenSketch(SESSION& s)
{
    HWND front = Drive_FindTitled(s.pid, L"Front");
    if (!front) return;
    ClickInside(front);
    PressKey("Alt_L");
    PressKey("Right");
    PressKey("Return");
}

// Esc cancels a modal dialog; posted IDCANCEL only when the key did not close it in time.
void CloseByEscape(SESSION&, HWND dlg)
{
    PressKey("Escape");
    if (!Drive_WaitFor([&] { return !IsWindowVisible(dlg); }, 5000)) PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
    Drive_WaitFor([&] { return !IsWindow(dlg) || !IsWindowVisible(dlg); }, 10000);
}

void LeaveOpen(SESSION&, HWND) {}

// The bone screen's button of the screen switcher (the switch closes the polygon screen's dialogs,
// so this row comes after theirs).
void OpenBoneScreen(SESSION& s)
{
    if (HWND screens = Drive_FindTitled(s.pid, L" ３Ｄモデル")) Input_ClickItem(screens, 1097);
}

// The other screens' buttons, in the table's order after the bone screen.
void OpenTextureScreen(SESSION& s)
{
    if (HWND screens = Drive_FindTitled(s.pid, L" ３Ｄモデル")) Input_ClickItem(screens, 1098);
}
void OpenWeightScreen(SESSION& s)
{
    if (HWND screens = Drive_FindTitled(s.pid, L" ３Ｄモデル")) Input_ClickItem(screens, 1102);
}
void OpenMotionScreen(SESSION& s)
{
    if (HWND screens = Drive_FindTitled(s.pid, L" ３Ｄモデル")) Input_ClickItem(screens, 1094);
}
void OpenObjectScreen(SESSION& s)
{
    if (HWND screens = Drive_FindTitled(s.pid, L" ３Ｄモデル")) Input_ClickItem(screens, 1096);
}

// The effect editor, where the studio starts; the polygon screen, opened by a model on the command line.
enum { SCREEN_EFFECT, SCREEN_POLYGON };

const DIALOG kDialogs[] = {
    {L"#140", L"イメージリスト", SCREEN_EFFECT, OpenAtStart, LeaveOpen, 1},
    {L"#59", L"キーフレーム情報", SCREEN_EFFECT, OpenAtStart, LeaveOpen, 1},
    {L"#139", L"パーティクル", SCREEN_EFFECT, OpenAtStart, LeaveOpen, 1},
    {L"#60", L"キーフレーム", SCREEN_EFFECT, OpenAtStart, LeaveOpen, 1},
    {L"OPTION_DLG", L"オプション", SCREEN_EFFECT, OpenOptions, LeaveOpen, 3},
    {L"#2001", L"Direct3D Settings", SCREEN_EFFECT, OpenDeviceDialog, CloseByEscape, 1},
    {L"WIN_DLG", L"Front", SCREEN_POLYGON, OpenAtStart, LeaveOpen, 1},
    {L"WIN_DLG", L"Top", SCREEN_POLYGON, OpenAtStart, LeaveOpen, 1},
    {L"WIN_DLG", L"Side", SCREEN_POLYGON, OpenAtStart, LeaveOpen, 1},
    {L"SKETCH_DLG", L"下絵", SCREEN_POLYGON, OpenSketch, LeaveOpen, 3},
    {L"MODEL_3D_DLG", L" ３Ｄモデル", SCREEN_POLYGON, OpenAtStart, LeaveOpen, 1},
    {L"LAYER_DLG", L"レイヤー", SCREEN_POLYGON, OpenAtStart, LeaveOpen, 1},
    {L"UNDO_DLG", L"アンドゥ＆リドゥ", SCREEN_POLYGON, OpenAtStart, LeaveOpen, 1},
    {L"#133", L"モデリング", SCREEN_POLYGON, OpenAtStart, LeaveOpen, 1},
    {L"POLY_NUM_DLG", L"数値入力 ( 加算用 )", SCREEN_POLYGON, OpenAtStart, LeaveOpen, 1},
    {L"3D_GROUP_DLG", L"グループ", SCREEN_POLYGON, OpenAtStart, LeaveOpen, 1},
    {L"BONE_LIST_DLG", L"ボーン一覧", SCREEN_POLYGON, OpenBoneScreen, LeaveOpen, 1},
    {L"3D_TEX_DLG", L"テクスチャ", SCREEN_POLYGON, OpenTextureScreen, LeaveOpen, 3},
    {L"3D_TEX_IMAGE_DLG", L"イメージ", SCREEN_POLYGON, OpenTextureScreen, LeaveOpen, 1},
    {L"3D_WEIGHT_DLG", L"ウエイト", SCREEN_POLYGON, OpenWeightScreen, LeaveOpen, 3},
    {L"3D_MOTION_DLG", L"モーション", SCREEN_POLYGON, OpenMotionScreen, LeaveOpen, 3},
    {L"MOTION_KEY_DLG", L"キーフレーム", SCREEN_POLYGON, OpenMotionScreen, LeaveOpen, 1},
    {L"3D_MOTION_LIST_DLG", L"モーションリスト", SCREEN_POLYGON, OpenMotionScreen, LeaveOpen, 1},
    {L"OBJ_LIST_DLG", L"オブジェクト一覧", SCREEN_POLYGON, OpenObjectScreen, LeaveOpen, 3},
    {L"3D_OBJ_DLG", L"モーション", SCREEN_POLYGON, OpenObjectScreen, LeaveOpen, 1},
    {L"OBJ_KEY_DLG", L"キーフレーム", SCREEN_POLYGON, OpenObjectScreen, LeaveOpen, 1},
};

// Templates no user can open yet, so nothing here can open them either.
const wchar_t* const kNoWayInYet[] = {
    L"#107",  // "パラメータ" of the particle mode: no menu or key enters that mode yet
    L"#53",   // "編集" of the program mode: no menu or key enters that mode yet
    L"PREVIEW_RENDER_DLG",  // "レンダリング" of the preview mode, which the program never enters
    // The 2D model editor (mode 3), the map and collision editors (modes 21, 22) and the movie
    // editor (mode 23): no menu or key enters those modes yet.
    L"MODEL_2D_DLG", L"2D_GROUP_DLG", L"2D_MOTION_DLG", L"2D_MOTION_LIST_DLG", L"2D_POLY_DLG",
    L"#55", L"COLI_SELECT_DLG", L"COLI_MAX_DLG", L"COLI_BOX_DLG", L"COLI_CIRCLE_DLG",
    L"MOVIE_DLG", L"MOVIE_KEY_DLG", L"MOVIE_IMG_DLG", L"MOVIE_MODEL_DLG", L"MOVIE_CAM_DLG",
    L"MOVIE_SCENE_DLG", L"MOVIE_WAVE_DLG", L"MOVIE_MES_DLG", L"MOVIE_RENDER_DLG",
};

// Opened by a button inside their screen's dialog, which the driver does not press yet.
const wchar_t* const kNotDrivenYet[] = {L"MOTION_WAVE_DLG", L"OBJ_WAVE_DLG", L"OBJ_MOTION_LIST_DLG"};

// The command line that starts the studio in the screen.
std::string ArgsFor(int screen)
{
    if (screen == SCREEN_EFFECT) return "";
    const std::string folder = Drive_ExeFolder() + "drive_dialogs";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string model = folder + "\\Dialogs.qvp";
    Drive_WriteFile(model, QvpFixture(2009000));
    return "\"" + model + "\"";
}

// Runs the table's dialogs of one screen in one start of the studio (a start is costly).
void CheckDialogsOf(int screen)
{
    Probe probe;
    ASSERT_TRUE(probe.Ready()) << "qv_dialog_probe.dll beside the test";
    StudioProcess studio;
    ASSERT_TRUE(studio.Start(ArgsFor(screen)));
    BoxAnswerer boxes(studio.Pid());
    SESSION s = {studio, studio.Pid()};
    ASSERT_TRUE(Drive_WaitFor([&] { return IsZoomed(studio.Main()) != 0; }, 20000));
    for (const DIALOG& d : kDialogs) {
        if (d.screen != screen) continue;
        SCOPED_TRACE(Utf8(d.caption));
        HWND dlg = Drive_FindTitled(s.pid, d.caption);
        for (int attempt = 0; !dlg && attempt < d.tries; ++attempt) {
            d.open(s);
            Drive_WaitFor([&] { return (dlg = Drive_FindTitled(s.pid, d.caption)) != nullptr; }, 20000);
        }
        EXPECT_NE(dlg, nullptr) << "the dialog did not open";
        if (!dlg) continue;
        // Give it a moment to lay out and fill itself, as a person would see it.
        Sleep(1000);
        std::vector<ITEM> items = probe.Measure(dlg);
        EXPECT_FALSE(items.empty()) << "the studio did not answer the probe";
        for (const std::string& line : Clipped(d.caption, items)) ADD_FAILURE() << line;
        d.close(s, dlg);
    }
    EXPECT_TRUE(boxes.SeenBoxes().empty());
    PostMessageW(studio.Main(), WM_CLOSE, 0, 0);
    studio.WaitExit(30000);
}

BOOL CALLBACK AddName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR out)
{
    wchar_t id[16];
    if (IS_INTRESOURCE(name)) std::swprintf(id, 16, L"#%u", (unsigned)(ULONG_PTR)name);
    ((std::vector<std::wstring>*)out)->push_back(IS_INTRESOURCE(name) ? std::wstring(id) : std::wstring(name));
    return TRUE;
}

// A dialog template added to the program without a row in the table is caught here.
TEST(DriveDialogs, EveryDialogTemplateOfTheProgramIsInTheTable)
{
    const std::string exe = Drive_ExeFolder() + QV_EXE_NAME;
    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    std::vector<std::wstring> names;
    EnumResourceNamesW(module, (LPCWSTR)RT_DIALOG, AddName, (LONG_PTR)&names);
    FreeLibrary(module);
    ASSERT_FALSE(names.empty());
    for (const std::wstring& name : names) {
        bool known = false;
        for (const DIALOG& d : kDialogs) known = known || _wcsicmp(d.resource, name.c_str()) == 0;
        for (const wchar_t* n : kNoWayInYet) known = known || _wcsicmp(n, name.c_str()) == 0;
        for (const wchar_t* n : kNotDrivenYet) known = known || _wcsicmp(n, name.c_str()) == 0;
        EXPECT_TRUE(known) << "dialog template " << Utf8(name) << " has no row in kDialogs";
    }
}

TEST(DriveDialogs, EffectEditorDialogsShowTheirTextsWhole) { CheckDialogsOf(SCREEN_EFFECT); }

TEST(DriveDialogs, PolygonScreenDialogsShowTheirTextsWhole) { CheckDialogsOf(SCREEN_POLYGON); }

} // namespace
