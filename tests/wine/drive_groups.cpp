// The group dialog and the weight screen as a user meets them: a model named on the command line,
// the group dialog's copy and delete buttons, and numbers given to vertices selected on the weight
// screen, checked in the saved file.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/qvp_fixtures.h"
#include "wine/support/driver.h"
#include "wine/support/input.h"

namespace {

// The fixture's triangle with its one group named as the studio names a new group.
std::vector<uint8_t> ModelFile()
{
    std::vector<uint8_t> bytes = QvpFixture(2009000);
    // "素材" and "グループ 0" in code page 932, each after its 32-bit length.
    const std::vector<uint8_t> from = {4, 0, 0, 0, 0x91, 0x66, 0x8D, 0xDE};
    const std::vector<uint8_t> to = {10, 0, 0, 0, 0x83, 0x4F, 0x83, 0x8B, 0x81, 0x5B, 0x83, 0x76, 0x20, 0x30};
    auto at = std::search(bytes.begin(), bytes.end(), from.begin(), from.end());
    if (at == bytes.end()) return {};
    at = bytes.erase(at, at + (long)from.size());
    bytes.insert(at, to.begin(), to.end());
    return bytes;
}

INPUT Mouse(DWORD flags, int x, int y)
{
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = (LONG)(((long long)x * 65536 + w / 2) / w);
    in.mi.dy = (LONG)(((long long)y * 65536 + h / 2) / h);
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    return in;
}

void Send(INPUT in)
{
    SendInput(1, &in, sizeof in);
    Sleep(60);
}

// A left-button drag between two screen points, in steps, held long enough for frames to be drawn.
void Drag(POINT from, POINT to)
{
    Send(Mouse(MOUSEEVENTF_MOVE, from.x, from.y));
    Sleep(200);
    Send(Mouse(MOUSEEVENTF_LEFTDOWN, from.x, from.y));
    Sleep(300);
    for (int i = 1; i <= 10; ++i) {
        Send(Mouse(MOUSEEVENTF_MOVE, from.x + (to.x - from.x) * i / 10, from.y + (to.y - from.y) * i / 10));
        Sleep(150);
    }
    Sleep(2000);
    Send(Mouse(MOUSEEVENTF_LEFTUP, to.x, to.y));
    Sleep(300);
}

// A point of the main window's client area that no other window covers, near a corner, and the
// point mirrored through the client's centre: the rectangle between them holds the middle.
bool SelectionRectangle(HWND main, POINT* from, POINT* to)
{
    RECT c;
    if (!GetClientRect(main, &c)) return false;
    for (int step = 1; step < 20; ++step)
        for (int corner = 0; corner < 4; ++corner) {
            POINT p = {(corner & 1) ? c.right - 8 * step : 8 * step, (corner & 2) ? c.bottom - 8 * step : 8 * step};
            POINT q = {c.right - p.x, c.bottom - p.y};
            ClientToScreen(main, &p);
            ClientToScreen(main, &q);
            if (WindowFromPoint(p) != main) continue;
            *from = p, *to = q;
            return true;
        }
    return false;
}

bool SaveModel(const StudioProcess& studio, const std::string& path, std::vector<uint8_t>& bytes)
{
    return Drive_ClickFree(studio.Main()) && Drive_SaveModel(studio.Pid(), L"MENU_3D_POLY", path, bytes);
}

size_t CountOf(const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& seq)
{
    size_t n = 0;
    for (auto it = bytes.begin(); (it = std::search(it, bytes.end(), seq.begin(), seq.end())) != bytes.end(); ++it) ++n;
    return n;
}

// Moves a tool dialog to a free part of the screen, as a person drags it out from under the views.
void MoveAside(HWND dlg, int x, int y)
{
    SetWindowPos(dlg, HWND_TOP, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    Sleep(300);
}

// A control's text through WM_GETTEXT: GetWindowText does not read another process's edits.
std::wstring ItemText(HWND dlg, int id)
{
    wchar_t text[256] = {};
    SendMessageW(GetDlgItem(dlg, id), WM_GETTEXT, 256, (LPARAM)text);
    return text;
}

bool Checked(HWND dlg, int id) { return SendMessageW(GetDlgItem(dlg, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

TEST(DriveGroups, GroupCopyAndDeleteFromTheGroupDialog)
{
    const std::string folder = Drive_ExeFolder() + "drive_groups";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string model = folder + "\\Groups.qvp";
    const std::vector<uint8_t> file = ModelFile();
    ASSERT_FALSE(file.empty());
    ASSERT_TRUE(Drive_WriteFile(model, file));

    StudioProcess studio;
    ASSERT_TRUE(studio.Start("\"" + model + "\""));
    BoxAnswerer boxes(studio.Pid());
    boxes.Answer(IDOK);
    HWND main = studio.Main();

    HWND groups = nullptr;
    ASSERT_TRUE(Drive_WaitFor([&] { return (groups = Drive_FindTitled(studio.Pid(), L"グループ")) != nullptr; }, 60000));
    HWND list = GetDlgItem(groups, 1373);
    ASSERT_NE(nullptr, list);
    // The list shows the editor's empty model until the file has loaded.
    const std::vector<std::wstring> loadedRows = {L" 0 : グループ 0 ( 1 Poly )"};
    ASSERT_TRUE(Drive_WaitFor([&] { return Drive_ListRows(list) == loadedRows; }, 90000));
    Sleep(1000);
    MoveAside(groups, 1000, 150);

    // One group: the record-only delete refuses.
    ASSERT_TRUE(Input_ClickItem(groups, 1399));
    EXPECT_TRUE(boxes.WaitForBox(L"グループを消去できません。", 20000));
    EXPECT_EQ(1u, Drive_ListRows(list).size());

    // The record-only copy: a second row, current, with no faces.
    ASSERT_TRUE(Input_ClickItem(groups, 1398));
    ASSERT_TRUE(Drive_WaitFor([&] { return Drive_ListRows(list).size() == 2; }, 20000));
    EXPECT_EQ(L" 1 : グループ 0 ( 0 Poly )", Drive_ListRows(list)[1]);
    EXPECT_EQ(1, (int)SendMessageW(list, LB_GETCURSEL, 0, 0));

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(studio.WaitExit(30000));
}

// Off: the weight screen's run under the driver is not proven yet (its earlier end was the device
// reset fixed since); run it with --gtest_also_run_disabled_tests.
TEST(DriveGroups, DISABLED_WeightNumbersOfRectangleSelectedVerticesReachTheSavedFile)
{
    const std::string folder = Drive_ExeFolder() + "drive_groups";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string model = folder + "\\Weights.qvp";
    const std::vector<uint8_t> file = ModelFile();
    ASSERT_FALSE(file.empty());
    ASSERT_TRUE(Drive_WriteFile(model, file));

    StudioProcess studio;
    ASSERT_TRUE(studio.Start("\"" + model + "\""));
    BoxAnswerer boxes(studio.Pid());
    boxes.Answer(IDOK);
    HWND main = studio.Main();
    HWND undo = nullptr;
    ASSERT_TRUE(Drive_WaitFor([&] { return (undo = Drive_FindTitled(studio.Pid(), L"アンドゥ＆リドゥ")) != nullptr; }, 60000));
    ASSERT_TRUE(Drive_WaitFor([&] { return Drive_ListRows(GetDlgItem(undo, 1373)).size() == 2; }, 90000));

    // The weight screen: vertices selected with a rectangle in the main view, then the numbers.
    HWND screens = Drive_FindTitled(studio.Pid(), L" ３Ｄモデル");
    ASSERT_NE(nullptr, screens);
    MoveAside(screens, 1400, 60);
    ASSERT_TRUE(Input_ClickItem(screens, 1102));
    HWND weights = nullptr;
    ASSERT_TRUE(Drive_WaitFor([&] { return (weights = Drive_FindTitled(studio.Pid(), L"ウエイト")) != nullptr; }, 60000));
    MoveAside(weights, 1000, 700);
    screens = Drive_FindTitled(studio.Pid(), L" ３Ｄモデル");
    ASSERT_NE(nullptr, screens);
    MoveAside(screens, 1400, 60);
    EXPECT_TRUE(Drive_WaitFor([&] { return Checked(screens, 1102); }, 10000));
    EXPECT_EQ(L"1.0", ItemText(weights, 1128));
    POINT from, to;
    ASSERT_TRUE(SelectionRectangle(main, &from, &to));
    Drag(from, to);
    // The edits take their texts as messages: typed keys end the studio under this Wine (left open).
    SendMessageW(GetDlgItem(weights, 1126), WM_SETTEXT, 0, (LPARAM)L"3");
    SendMessageW(GetDlgItem(weights, 1127), WM_SETTEXT, 0, (LPARAM)L"5");
    SendMessageW(GetDlgItem(weights, 1128), WM_SETTEXT, 0, (LPARAM)L"0.25");
    EXPECT_EQ(L"0.25", ItemText(weights, 1128));
    ASSERT_TRUE(Input_ClickItem(weights, 1125));
    Sleep(1000);

    // Back on the polygon screen (whose menu saves): each of the three vertices is bound to 3 and 5.
    ASSERT_TRUE(Input_ClickItem(screens, 1093));
    Sleep(2000);
    screens = Drive_FindTitled(studio.Pid(), L" ３Ｄモデル");
    ASSERT_NE(nullptr, screens);
    EXPECT_TRUE(Drive_WaitFor([&] { return Checked(screens, 1093); }, 20000));
    std::vector<uint8_t> saved;
    ASSERT_TRUE(SaveModel(studio, folder + "\\Saved.qvp", saved));
    EXPECT_LE(3u, CountOf(saved, {0x03, 0x05, 0x00, 0x00, 0x80, 0x3E, 0x00}));

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(studio.WaitExit(30000));
}

} // namespace
