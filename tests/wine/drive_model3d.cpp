// The 3D editor hub as a user meets it: a model named on the command line opens the polygon screen
// with its screen switcher, layer buttons and undo list; the list names the switch into the editor
// and the load, and U and I step the model back and forward through them.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/qvp_fixtures.h"
#include "wine/support/driver.h"
#include "wine/support/input.h"

namespace {

bool EndsWith(const std::wstring& s, const std::wstring& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

int Selected(HWND list) { return (int)SendMessageW(list, LB_GETCURSEL, 0, 0); }

// Saves the current model through the menu and reads the file back once it is whole.
bool SaveModel(const StudioProcess& studio, const std::string& path, std::vector<uint8_t>& bytes)
{
    return Drive_ClickFree(studio.Main()) && Drive_SaveModel(studio.Pid(), L"MENU_3D_POLY", path, bytes);
}

TEST(DriveModel3D, UndoListNamesTheEditorAndTheLoadAndUAndIStepThroughThem)
{
    const std::string folder = Drive_ExeFolder() + "drive_model3d";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string model = folder + "\\Undo.qvp";
    ASSERT_TRUE(Drive_WriteFile(model, QvpFixture(2009000)));

    StudioProcess studio;
    ASSERT_TRUE(studio.Start("\"" + model + "\""));
    BoxAnswerer boxes(studio.Pid());
    HWND main = studio.Main();

    // The hub's three dialogs of the polygon screen.
    HWND undo = nullptr;
    ASSERT_TRUE(Drive_WaitFor([&] { return (undo = Drive_FindTitled(studio.Pid(), L"アンドゥ＆リドゥ")) != nullptr; }, 60000));
    EXPECT_NE(nullptr, Drive_FindTitled(studio.Pid(), L" ３Ｄモデル"));
    HWND layers = Drive_FindTitled(studio.Pid(), L"レイヤー");
    ASSERT_NE(nullptr, layers);
    EXPECT_TRUE(Drive_WaitFor([&] { return SendMessageW(GetDlgItem(layers, 1342), BM_GETCHECK, 0, 0) == BST_CHECKED; }, 10000));
    HWND screens = Drive_FindTitled(studio.Pid(), L" ３Ｄモデル");
    if (screens)
        EXPECT_TRUE(Drive_WaitFor([&] { return SendMessageW(GetDlgItem(screens, 1093), BM_GETCHECK, 0, 0) == BST_CHECKED; }, 10000));

    HWND list = GetDlgItem(undo, 1373);
    ASSERT_NE(nullptr, list);
    ASSERT_TRUE(Drive_WaitFor([&] { return Drive_ListRows(list).size() == 2; }, 60000));
    std::vector<std::wstring> rows = Drive_ListRows(list);
    EXPECT_EQ(L"３Ｄモデル編集", rows[0]);
    EXPECT_TRUE(EndsWith(rows[1], L"Undo.qvp 読み込み")) << rows[1].size();
    EXPECT_EQ(1, Selected(list));

    std::vector<uint8_t> loaded, undone, redone;
    ASSERT_TRUE(SaveModel(studio, folder + "\\Loaded.qvp", loaded));

    // U: back to the editor's empty model; the title no longer names the file.
    ASSERT_TRUE(Drive_ClickFree(main));
    Input_Key('U');
    EXPECT_TRUE(Drive_WaitFor([&] { return Selected(list) == 0; }, 10000));
    EXPECT_TRUE(Drive_WaitFor([&] { return !EndsWith(Drive_Text(main), L"\\Undo.qvp ( Ver 2009.000 )"); }, 30000))
        << "title still names the file after U";
    ASSERT_TRUE(SaveModel(studio, folder + "\\Undone.qvp", undone));
    EXPECT_LT(undone.size(), loaded.size());

    // I: the loaded model again, the same bytes as before.
    ASSERT_TRUE(Drive_ClickFree(main));
    Input_Key('I');
    EXPECT_TRUE(Drive_WaitFor([&] { return Selected(list) == 1; }, 10000));
    EXPECT_TRUE(Drive_WaitFor([&] { return EndsWith(Drive_Text(main), L"\\Undo.qvp ( Ver 2009.000 )"); }, 30000));
    ASSERT_TRUE(SaveModel(studio, folder + "\\Redone.qvp", redone));
    EXPECT_EQ(loaded, redone);
    // A second I at the newest step changes nothing.
    ASSERT_TRUE(Drive_ClickFree(main));
    Input_Key('I');
    Sleep(1000);
    EXPECT_EQ(1, Selected(list));
    EXPECT_EQ(2u, Drive_ListRows(list).size());

    EXPECT_TRUE(boxes.SeenBoxes().empty());
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(studio.WaitExit(30000));
}

} // namespace
