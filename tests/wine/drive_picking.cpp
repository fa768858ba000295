// The polygon screen's pick under the cursor runs on every mouse move while auto-select is on (the
// start value): a model named on the command line opens there, and a cursor wandering over the main
// view, clicking the right button here and there, must leave the studio running and silent.
#include <string>

#include <gtest/gtest.h>

#include "support/qvp_fixtures.h"
#include "wine/support/driver.h"

namespace {

TEST(DrivePicking, HoverAndRightClicksOverTheModelKeepTheStudioRunning)
{
    std::string folder = Drive_ExeFolder() + "drive_picking";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string model = folder + "\\Pick.qvp";
    ASSERT_TRUE(Drive_WriteFile(model, QvpFixture(2009000)));

    StudioProcess studio;
    ASSERT_TRUE(studio.Start("\"" + model + "\""));
    BoxAnswerer boxes(studio.Pid());
    HWND main = studio.Main();
    ASSERT_TRUE(Drive_WaitFor([&] { return Drive_FindTitled(studio.Pid(), L"Front") != nullptr; }, 60000));

    RECT c;
    ASSERT_TRUE(GetClientRect(main, &c));
    for (int i = 0; i < 60; ++i) {
        POINT p = {c.right / 8 + (i * 37) % (c.right * 3 / 4 + 1), c.bottom / 8 + (i * 53) % (c.bottom * 3 / 4 + 1)};
        ClientToScreen(main, &p);
        SetCursorPos(p.x, p.y);
        Sleep(40);
        if (i % 15 == 7) {
            INPUT in[2] = {};
            in[0].type = in[1].type = INPUT_MOUSE;
            in[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
            in[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
            SendInput(2, in, sizeof(INPUT));
            Sleep(100);
        }
    }
    Sleep(1000);
    EXPECT_TRUE(studio.Running());
    EXPECT_TRUE(boxes.SeenBoxes().empty());

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(studio.WaitExit(30000));
}

} // namespace
