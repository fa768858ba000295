// The motion screen as a user meets it: the editor's fresh model (the load undone) on the motion
// screen, a click in the key panel at frame 10 on bone 1's row, "キー作成", A to play and stop, and
// a new motion from the motion list; each step saved and read back.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/qvp_fixtures.h"
#include "wine/support/driver.h"
#include "wine/support/input.h"

namespace {

bool SaveModel(const StudioProcess& studio, const std::string& path, std::vector<uint8_t>& bytes)
{
    // Through the caption: a click in the view would key the bones.
    return Drive_ClickCaption(studio.Main()) && Drive_SaveModel(studio.Pid(), L"MENU_3D_MOTION", path, bytes);
}

// Off: the screen switch and the motion dialogs work under the driver, but the save through the
// screen's menu does not reach its file dialog yet (open).
TEST(DriveMotion, DISABLED_KeyCreationPlaybackAndANewMotionOnAFreshModel)
{
    const std::string folder = Drive_ExeFolder() + "drive_motion";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string model = folder + "\\Rig.qvp";
    ASSERT_TRUE(Drive_WriteFile(model, QvpFixture(2009000)));

    StudioProcess studio;
    ASSERT_TRUE(studio.Start("\"" + model + "\""));
    BoxAnswerer boxes(studio.Pid());
    HWND main = studio.Main();
    HWND undo = nullptr;
    ASSERT_TRUE(Drive_WaitFor([&] { return (undo = Drive_FindTitled(studio.Pid(), L"アンドゥ＆リドゥ")) != nullptr; }, 60000));
    HWND undoList = GetDlgItem(undo, 1373);
    ASSERT_TRUE(Drive_WaitFor([&] { return SendMessageW(undoList, LB_GETCOUNT, 0, 0) == 2; }, 60000));
    // U: back to the editor's own fresh model.
    ASSERT_TRUE(Drive_ClickFree(main));
    Input_Key('U');
    ASSERT_TRUE(Drive_WaitFor([&] { return SendMessageW(undoList, LB_GETCURSEL, 0, 0) == 0; }, 10000));

    HWND screens = Drive_FindTitled(studio.Pid(), L" ３Ｄモデル");
    ASSERT_NE(nullptr, screens);
    ASSERT_TRUE(Input_ClickItem(screens, 1094));
    HWND motion = nullptr, keys = nullptr, list = nullptr;
    ASSERT_TRUE(Drive_WaitFor([&] {
        motion = Drive_FindTitled(studio.Pid(), L"モーション");
        keys = Drive_FindTitled(studio.Pid(), L"キーフレーム");
        list = Drive_FindTitled(studio.Pid(), L"モーションリスト");
        return motion && keys && list;
    }, 30000));
    HWND motionRows = GetDlgItem(list, 1);
    ASSERT_NE(nullptr, motionRows);
    EXPECT_TRUE(Drive_WaitFor([&] { return SendMessageW(motionRows, LB_GETCOUNT, 0, 0) == 1; }, 10000));

    // Frame 10 (x = 189 + 10 * 10 / 4 at zoom 4) on row 1 (bone 1), then "キー作成".
    Input_ClickClient(keys, 214, 28 + 21 + 10);
    Sleep(500);
    ASSERT_TRUE(Input_ClickItem(motion, 1238));
    Sleep(500);
    std::vector<uint8_t> fresh, keyed, twoMotions;
    ASSERT_TRUE(SaveModel(studio, folder + "\\Keyed.qvp", keyed));
    EXPECT_EQ(481u, keyed.size());

    // A plays, A again stops.
    HWND play = GetDlgItem(motion, 1255);
    ASSERT_NE(nullptr, play);
    EXPECT_EQ(L"再生(A)", Drive_Text(play));
    ASSERT_TRUE(Drive_ClickCaption(main));
    Input_Key('A');
    EXPECT_TRUE(Drive_WaitFor([&] { return Drive_Text(play) == L"停止(A)"; }, 10000)) << Drive_Text(play).size();
    Input_Key('A');
    EXPECT_TRUE(Drive_WaitFor([&] { return Drive_Text(play) == L"再生(A)"; }, 10000));

    // "追加": a second motion named and timed as the first.
    ASSERT_TRUE(Input_ClickItem(list, 1056));
    EXPECT_TRUE(Drive_WaitFor([&] { return SendMessageW(motionRows, LB_GETCOUNT, 0, 0) == 2; }, 10000));
    EXPECT_EQ(L" 1 : 60 Frame  モーション名", Drive_ListRows(motionRows).at(1));
    ASSERT_TRUE(SaveModel(studio, folder + "\\TwoMotions.qvp", twoMotions));
    EXPECT_EQ(564u, twoMotions.size());

    EXPECT_TRUE(boxes.SeenBoxes().empty());
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(studio.WaitExit(30000));
}

} // namespace
