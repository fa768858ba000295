// The file commands of the real studio: a model named on the command line, a model dropped on the
// main window, and a model saved through the menu (from the keyboard), each seen in the window title
// and on disk. A drop cannot be typed or clicked from inside Wine, so it is posted as the shell
// posts it.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/qvp_fixtures.h"
#include "wine/support/driver.h"
#include "wine/support/input.h"

// The byte writer behind the fixtures carries the studio's file helpers, which these tests never
// call; they need these two of the platform seam to link.
void Lib_MessageBox(const char*) {}
bool Svc_ReplaceFile(const char*, const char*) { return false; }

namespace {

const std::wstring kSaveTitle = L"名前を付けてファイルに保存";

std::wstring Wide(const std::string& s)
{
    int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
    std::wstring w((size_t)(n > 0 ? n - 1 : 0), L'\0');
    if (n > 1) MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, &w[0], n);
    return w;
}

bool EndsWith(const std::wstring& s, const std::wstring& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The title shows the current model's path and version; it is rebuilt every 61 idle passes.
std::wstring TitleTail(const std::string& name) { return L"\\" + Wide(name) + L" ( Ver 2009.000 )"; }

bool WaitForTitle(HWND main, const std::string& name)
{
    std::wstring tail = TitleTail(name);
    return Drive_WaitFor([&] { return EndsWith(Drive_Text(main), tail); }, 60000);
}

bool WaitForFile(const std::string& path, std::vector<uint8_t>& bytes)
{
    return Drive_WaitFor([&] { return Drive_ReadFile(path, bytes) && !bytes.empty(); }, 60000);
}

TEST(DriveFiles, CommandLineDropAndSaveGoThroughTheModelLoader)
{
    std::string folder = Drive_ExeFolder() + "drive_files";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string source = folder + "\\Fixture.qvp", first = folder + "\\First.qvp",
                      second = folder + "\\Second.qvp";
    for (const std::string& p : {first, second}) DeleteFileA(p.c_str());
    ASSERT_TRUE(Drive_WriteFile(source, QvpFixture(2009000)));

    StudioProcess studio;
    ASSERT_TRUE(studio.Start("\"" + source + "\""));
    BoxAnswerer boxes(studio.Pid());
    HWND main = studio.Main();

    // The command line's model opens in the polygon screen (its views) through the loader.
    EXPECT_TRUE(Drive_WaitFor([&] { return Drive_FindTitled(studio.Pid(), L"Front") != nullptr; }, 30000));
    ASSERT_TRUE(WaitForTitle(main, "Fixture.qvp"));

    // Saved through the menu: the save dialog offers the model's name, the writer writes the answer.
    ASSERT_TRUE(Drive_ClickFree(main));
    ASSERT_TRUE(Drive_MenuCommand(L"MENU_3D_POLY", 40024));
    ASSERT_TRUE(Drive_AnswerFileDialog(studio.Pid(), kSaveTitle, Wide(first), 60000));
    std::vector<uint8_t> firstBytes;
    ASSERT_TRUE(WaitForFile(first, firstBytes));

    // That file dropped on the window replaces the model...
    ASSERT_TRUE(Drive_DropFile(studio.Process(), main, first)) << GetLastError();
    ASSERT_TRUE(WaitForTitle(main, "First.qvp"));
    // ...and saved again it gives the same bytes: what was written loads back equal.
    ASSERT_TRUE(Drive_ClickFree(main));
    ASSERT_TRUE(Drive_MenuCommand(L"MENU_3D_POLY", 40024));
    ASSERT_TRUE(Drive_AnswerFileDialog(studio.Pid(), kSaveTitle, Wide(second), 60000));
    std::vector<uint8_t> secondBytes;
    ASSERT_TRUE(WaitForFile(second, secondBytes));
    Sleep(500);  // a save in progress is replaced in one step; read it once more when whole
    ASSERT_TRUE(Drive_ReadFile(second, secondBytes));
    EXPECT_EQ(firstBytes, secondBytes);

    // A dropped file of no model format is refused and the model stays.
    const std::string text = folder + "\\notes.txt";
    ASSERT_TRUE(Drive_WriteFile(text, {'h', 'i'}));
    boxes.Answer(IDOK);
    ASSERT_TRUE(Drive_DropFile(studio.Process(), main, text));
    EXPECT_TRUE(boxes.WaitForBox(L"notes.txt は、モデルとして読み込める形式ではありません。", 30000));
    Sleep(2000);
    EXPECT_TRUE(EndsWith(Drive_Text(main), TitleTail("First.qvp")));
    EXPECT_EQ(boxes.SeenBoxes().size(), 1u);

    ASSERT_TRUE(Drive_ClickFree(main));
    Input_Chord(VK_MENU, VK_F4);
    EXPECT_TRUE(studio.WaitExit(30000));
}

} // namespace
