// The polygon screen's modelling dialog as a user meets it: with the one-quad primitive of the data
// folder named on the command line, S and "点選択" show the counts; "面分割" splits the quad and a
// second split gives sixteen faces; U and I step back to the quad's file and forward to the split.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "wine/support/driver.h"
#include "wine/support/input.h"

namespace {

bool SaveModel(const StudioProcess& studio, const std::string& path, std::vector<uint8_t>& bytes)
{
    return Drive_ClickFree(studio.Main()) && Drive_SaveModel(studio.Pid(), L"MENU_3D_POLY", path, bytes);
}

// S in the main window, then "面選択", whose refresh shows the count: S toggles, so a second S when the
// click into the view left everything selected.
bool SelectAllFaces(HWND main, HWND dlg, HWND counter, const std::wstring& all)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!Drive_ClickFree(main)) return false;
        Input_Key('S');
        if (!Input_ClickItem(dlg, 1142)) return false;
        if (Drive_WaitFor([&] { return Drive_Text(counter) == all; }, 5000)) return true;
    }
    return false;
}

TEST(DrivePoly, CountsSplitAndItsUndoStep)
{
    const std::string folder = Drive_ExeFolder() + "drive_poly";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string model = folder + "\\Quad.qvp";
    const std::wstring quad = Drive_Wide(Drive_ExeFolder()) + L"Data\\System\\プリミティブ\\４角形.QVP";
    ASSERT_TRUE(CopyFileW(quad.c_str(), Drive_Wide(model).c_str(), FALSE));

    StudioProcess studio;
    ASSERT_TRUE(studio.Start("\"" + model + "\""));
    BoxAnswerer boxes(studio.Pid());
    HWND main = studio.Main();
    HWND dlg = nullptr;
    ASSERT_TRUE(Drive_WaitFor([&] { return (dlg = Drive_FindTitled(studio.Pid(), L"モデリング")) != nullptr; }, 60000));
    EXPECT_TRUE(Drive_WaitFor([&] { return Drive_FindTitled(studio.Pid(), L"数値入力 ( 加算用 )") != nullptr; }, 10000));
    HWND counter = GetDlgItem(dlg, 1156);
    ASSERT_NE(nullptr, counter);
    HWND undo = nullptr;
    ASSERT_TRUE(Drive_WaitFor([&] { return (undo = Drive_FindTitled(studio.Pid(), L"アンドゥ＆リドゥ")) != nullptr; }, 60000));
    HWND list = GetDlgItem(undo, 1373);
    ASSERT_TRUE(Drive_WaitFor([&] { return SendMessageW(list, LB_GETCOUNT, 0, 0) == 2; }, 60000));

    ASSERT_TRUE(Drive_ClickFree(main));
    Input_Key('S');
    ASSERT_TRUE(Input_ClickItem(dlg, 1141));
    EXPECT_TRUE(Drive_WaitFor([&] { return Drive_Text(counter) == L"頂点     4 /    4"; }, 10000)) << Drive_Text(counter).size();

    std::vector<uint8_t> loaded, split, undone, redone;
    ASSERT_TRUE(SaveModel(studio, folder + "\\Loaded.qvp", loaded));
    EXPECT_EQ(968u, loaded.size());

    ASSERT_TRUE(SelectAllFaces(main, dlg, counter, L"面     1 /    1"));
    ASSERT_TRUE(Input_ClickItem(dlg, 1143));
    EXPECT_TRUE(Drive_WaitFor([&] { return Drive_Text(counter) == L"面     4 /    4"; }, 10000));
    ASSERT_TRUE(SaveModel(studio, folder + "\\Split.qvp", split));
    EXPECT_EQ(2456u, split.size());

    ASSERT_TRUE(SelectAllFaces(main, dlg, counter, L"面     4 /    4"));
    ASSERT_TRUE(Input_ClickItem(dlg, 1143));
    EXPECT_TRUE(Drive_WaitFor([&] { return Drive_Text(counter) == L"面    16 /   16"; }, 10000));
    EXPECT_TRUE(Drive_WaitFor([&] { return SendMessageW(list, LB_GETCOUNT, 0, 0) == 4; }, 10000));

    // U twice: the file as loaded; I once: the first split again.
    ASSERT_TRUE(Drive_ClickFree(main));
    Input_Key('U');
    ASSERT_TRUE(Drive_ClickFree(main));
    Input_Key('U');
    EXPECT_TRUE(Drive_WaitFor([&] { return SendMessageW(list, LB_GETCURSEL, 0, 0) == 1; }, 10000));
    ASSERT_TRUE(SaveModel(studio, folder + "\\Undone.qvp", undone));
    EXPECT_EQ(loaded, undone);
    ASSERT_TRUE(Drive_ClickFree(main));
    Input_Key('I');
    EXPECT_TRUE(Drive_WaitFor([&] { return SendMessageW(list, LB_GETCURSEL, 0, 0) == 2; }, 10000));
    ASSERT_TRUE(SaveModel(studio, folder + "\\Redone.qvp", redone));
    EXPECT_EQ(split, redone);

    EXPECT_TRUE(boxes.SeenBoxes().empty());
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(studio.WaitExit(30000));
}

} // namespace
