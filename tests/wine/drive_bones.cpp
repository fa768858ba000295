// The bone screen as a user meets it: a fresh model named on the command line, the bone screen's
// button, key A adding a bone under the current one (three bones, and the file saved with them),
// and the root bone refused by the list dialog's delete button.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/qvp_fixtures.h"
#include "wine/support/driver.h"
#include "wine/support/input.h"

namespace {

// The main window to the front: a person clicks it again when the first click did not bring it up.
bool ClickMain(const StudioProcess& studio)
{
    return Drive_WaitFor([&] { return Drive_ClickFree(studio.Main()); }, 15000);
}

int ListCount(HWND list) { return list ? (int)SendMessageW(list, LB_GETCOUNT, 0, 0) : -1; }

bool Save(const StudioProcess& studio, const wchar_t* menu, const std::string& path, std::vector<uint8_t>& bytes)
{
    return ClickMain(studio) && Drive_SaveModel(studio.Pid(), menu, path, bytes);
}

TEST(DriveBones, KeyAAddsABoneAndTheRootCannotBeDeleted)
{
    const std::string folder = Drive_ExeFolder() + "drive_bones";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string loaded = folder + "\\Loaded.qvp";
    const std::string fresh = folder + "\\Fresh.qvp";
    ASSERT_TRUE(Drive_WriteFile(loaded, QvpFixture(2009000)));

    // A fresh model's file: the editor's own empty model (U steps back past the load) saved.
    {
        StudioProcess studio;
        ASSERT_TRUE(studio.Start("\"" + loaded + "\""));
        BoxAnswerer boxes(studio.Pid());
        HWND undo = nullptr;
        ASSERT_TRUE(Drive_WaitFor([&] { return (undo = Drive_FindTitled(studio.Pid(), L"アンドゥ＆リドゥ")) != nullptr; }, 60000));
        HWND list = GetDlgItem(undo, 1373);
        ASSERT_TRUE(Drive_WaitFor([&] { return ListCount(list) == 2; }, 60000));
        ASSERT_TRUE(Drive_ClickFree(studio.Main()));
        Input_Key('U');
        ASSERT_TRUE(Drive_WaitFor([&] { return SendMessageW(list, LB_GETCURSEL, 0, 0) == 0; }, 10000));
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(Save(studio, L"MENU_3D_POLY", fresh, bytes));
        PostMessageW(studio.Main(), WM_CLOSE, 0, 0);
        EXPECT_TRUE(studio.WaitExit(30000));
    }

    StudioProcess studio;
    ASSERT_TRUE(studio.Start("\"" + fresh + "\""));
    BoxAnswerer boxes(studio.Pid());
    HWND screens = nullptr;
    ASSERT_TRUE(Drive_WaitFor([&] { return (screens = Drive_FindTitled(studio.Pid(), L" ３Ｄモデル")) != nullptr; }, 60000));
    // The load is done when the undo list names it.
    HWND undo = nullptr;
    ASSERT_TRUE(Drive_WaitFor([&] { return (undo = Drive_FindTitled(studio.Pid(), L"アンドゥ＆リドゥ")) != nullptr; }, 60000));
    ASSERT_TRUE(Drive_WaitFor([&] { return ListCount(GetDlgItem(undo, 1373)) == 2; }, 60000));
    // The view windows open over the switcher; a person clicks the button again when nothing
    // happened.
    HWND bones = nullptr;
    bool opened = false;
    for (int attempt = 0; attempt < 3 && !opened; ++attempt) {
        // As a person brings the switcher up from under the view windows. (A click on a free
        // part of it could land on another screen's button: the switcher is all buttons.)
        screens = Drive_FindTitled(studio.Pid(), L" ３Ｄモデル");
        if (!screens) continue;
        SetWindowPos(screens, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        Sleep(300);
        Input_ClickItem(screens, 1097);
        opened = Drive_WaitFor([&] { return (bones = Drive_FindTitled(studio.Pid(), L"ボーン一覧")) != nullptr; }, 15000);
    }
    if (!opened) {
        for (HWND w : Drive_WindowsOf(studio.Pid())) ADD_FAILURE() << "window: " << Drive_Text(w).size() << " chars, first "
                                                                     << (unsigned)(Drive_Text(w).empty() ? 0 : Drive_Text(w)[0]);
        ADD_FAILURE() << "bone button checked: " << SendMessageW(GetDlgItem(screens, 1097), BM_GETCHECK, 0, 0);
    }
    ASSERT_TRUE(opened);
    HWND list = GetDlgItem(bones, 1);
    ASSERT_NE(nullptr, list);
    ASSERT_TRUE(Drive_WaitFor([&] { return ListCount(list) == 2; }, 30000));

    ASSERT_TRUE(ClickMain(studio));
    Input_Key('A');
    ASSERT_TRUE(Drive_WaitFor([&] { return ListCount(list) == 3; }, 30000)) << ListCount(list);
    EXPECT_TRUE(Drive_WaitFor([&] { return Drive_Text(GetDlgItem(bones, 1097)) == L"ボーンNo.2"; }, 10000))
        << Drive_Text(GetDlgItem(bones, 1097)).size();
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(Save(studio, L"MENU_3D_BONE", folder + "\\ThreeBones.qvp", bytes));
    EXPECT_EQ(542u, bytes.size());

    // Row 0 chosen in the list, then "消去": the root stays.
    SetWindowPos(bones, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RECT row = {};
    SendMessageW(list, LB_GETITEMRECT, 0, (LPARAM)&row);
    Input_ClickClient(list, (row.left + row.right) / 2, (row.top + row.bottom) / 2);
    EXPECT_TRUE(Drive_WaitFor([&] { return Drive_Text(GetDlgItem(bones, 1097)) == L"ボーンNo.0"; }, 10000));
    ASSERT_TRUE(Input_ClickItem(bones, 40031));
    EXPECT_TRUE(boxes.WaitForBox(L"親ボーンは、消去できません。", 20000));
    Sleep(500);
    EXPECT_EQ(3, ListCount(list));

    PostMessageW(studio.Main(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(studio.WaitExit(30000));
}

} // namespace
