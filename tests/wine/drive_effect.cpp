// The effect editor as the studio starts in it: the sample effect in the canvas, played with the
// 再生 button, the four dialogs with their controls, and the effect saved through the menu under
// Japanese names and opened again, all with real input.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "wine/support/driver.h"
#include "wine/support/input.h"

namespace {

const std::wstring kSaveTitle = L"名前を付けてファイルに保存";
const std::wstring kOpenTitle = L"読み込む QVE ファイルを選択して下さい";

bool EndsWith(const std::wstring& s, const std::wstring& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The title shows the effect's path and version; it is rebuilt every 61 idle passes.
bool WaitForTitle(HWND main, const std::wstring& name)
{
    const std::wstring tail = L"\\" + name + L" ( Ver 2009.000 )";
    return Drive_WaitFor([&] { return EndsWith(Drive_Text(main), tail); }, 60000);
}

bool WaitForFile(const std::string& path, std::vector<uint8_t>& bytes)
{
    if (!Drive_WaitFor([&] { return Drive_ReadFile(path, bytes) && !bytes.empty(); }, 60000)) return false;
    Sleep(500);   // read once more when whole
    return Drive_ReadFile(path, bytes);
}

// A control's text through WM_GETTEXT, which the system carries across processes.
std::wstring ItemText(HWND dlg, int id)
{
    wchar_t buf[256] = L"";
    SendMessageW(GetDlgItem(dlg, id), WM_GETTEXT, 256, (LPARAM)buf);
    return buf;
}

// The canvas: the 640 x 480 game screen centred in the monitor-sized main view, moved by the
// main view's pan (-160, -120), read from the screen as 0x00RRGGBB pixels, top row first.
struct Canvas {
    static constexpr int kW = 640, kH = 480;
    std::vector<uint32_t> pixels;
};

Canvas GrabCanvas(HWND main)
{
    Canvas c;
    POINT origin = {(GetSystemMetrics(SM_CXSCREEN) - Canvas::kW) / 2 - 160,
                    (GetSystemMetrics(SM_CYSCREEN) - Canvas::kH) / 2 - 120};
    ClientToScreen(main, &origin);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = Canvas::kW;
    bi.bmiHeader.biHeight = -Canvas::kH;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, Canvas::kW, Canvas::kH, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    const uint32_t* p = (const uint32_t*)bits;
    c.pixels.assign(p, p + Canvas::kW * Canvas::kH);
    for (uint32_t& v : c.pixels) v &= 0xFFFFFFu;
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return c;
}

// Pixels of a game-screen rectangle that are not the editor's clear grey, and those that are orange
// (the explosion) rather than the particles' grey-white.
struct CanvasCount {
    int notGrey = 0;
    int orange = 0;
};

CanvasCount CountCanvas(const Canvas& c, int x0, int y0, int x1, int y1)
{
    CanvasCount n;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const uint32_t v = c.pixels[(size_t)(x + y * Canvas::kW)];
            const int r = (v >> 16) & 255, g = (v >> 8) & 255, b = v & 255;
            if (v == 0x404040u) continue;
            ++n.notGrey;
            if (r > 150 && r > g + 40 && r > b + 60) ++n.orange;
        }
    return n;
}

// A 24-bit bitmap file of the canvas, for a person to look at.
bool SaveCanvasBmp(const Canvas& c, const std::string& path)
{
    const int stride = Canvas::kW * 3;
    std::vector<uint8_t> out(54 + (size_t)stride * Canvas::kH);
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = 54;
    fh.bfSize = (DWORD)out.size();
    BITMAPINFOHEADER ih = {};
    ih.biSize = sizeof ih;
    ih.biWidth = Canvas::kW;
    ih.biHeight = -Canvas::kH;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    std::memcpy(out.data(), &fh, 14);
    std::memcpy(out.data() + 14, &ih, 40);
    uint8_t* d = out.data() + 54;
    for (uint32_t v : c.pixels) {
        *d++ = (uint8_t)v;
        *d++ = (uint8_t)(v >> 8);
        *d++ = (uint8_t)(v >> 16);
    }
    return Drive_WriteFile(path, out);
}

FILETIME WriteTime(const std::string& path)
{
    FILETIME t = {};
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) t = data.ftLastWriteTime;
    return t;
}

bool SameTime(const FILETIME& a, const FILETIME& b)
{
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

// The effect saved through the menu under a path; its bytes once the file has been written anew.
bool SaveThroughMenu(DWORD pid, HWND main, const std::string& path, std::vector<uint8_t>& bytes)
{
    const FILETIME before = WriteTime(path);
    if (!Drive_ClickFree(main) || !Drive_MenuCommand(L"MENU_EFFECT", 40088)) return false;
    if (!Drive_AnswerFileDialog(pid, kSaveTitle, Drive_Wide(path), 60000)) return false;
    if (!Drive_WaitFor([&] { return !SameTime(WriteTime(path), before); }, 60000)) return false;
    return WaitForFile(path, bytes);
}

bool OpenThroughMenu(DWORD pid, HWND main, const std::string& path)
{
    return Drive_ClickFree(main) && Drive_MenuCommand(L"MENU_EFFECT", 40087) &&
           Drive_AnswerFileDialog(pid, kOpenTitle, Drive_Wide(path), 60000);
}

// Presses 再生 and samples the canvas while the effect plays: the number of samples that differ
// from the one before, and the fullest picture.
struct Played {
    int changes = 0;
    CanvasCount best;
    Canvas shot;
};

Played PressPlay(HWND main, HWND keys)
{
    Played p;
    Input_ClickItem(keys, 1396);
    Canvas last;
    for (int i = 0; i < 20 && (p.best.orange < 20 || p.changes < 3); ++i) {
        Canvas c = GrabCanvas(main);
        if (!last.pixels.empty() && c.pixels != last.pixels) ++p.changes;
        CanvasCount n = CountCanvas(c, 240, 60, 400, 320);
        if (n.orange > p.best.orange || p.shot.pixels.empty()) {
            p.best.orange = n.orange;
            p.shot = c;
        }
        if (n.notGrey > p.best.notGrey) p.best.notGrey = n.notGrey;
        last = std::move(c);
        Sleep(300);
    }
    return p;
}

// The four dialogs of the effect editor.
struct Dialogs {
    HWND images, keys, info, particle;
};

Dialogs FindDialogs(DWORD pid)
{
    return {Drive_FindTitled(pid, L"イメージリスト"), Drive_FindTitled(pid, L"キーフレーム"),
            Drive_FindTitled(pid, L"キーフレーム情報"), Drive_FindTitled(pid, L"パーティクル")};
}

const std::string kSample = "爆発.QVE", kCopy = "爆発の写し.QVE";

TEST(DriveEffect, PlaysTheSampleAndSavesAndOpensItUnderJapaneseNames)
{
    const std::string sampleName = Drive_DataPath(kSample), copyName = Drive_DataPath(kCopy);
    DeleteFileA(copyName.c_str());
    std::vector<uint8_t> sample;
    ASSERT_TRUE(Drive_ReadFile(sampleName, sample));

    StudioProcess studio;
    ASSERT_TRUE(studio.Start(""));
    BoxAnswerer boxes(studio.Pid());
    const DWORD pid = studio.Pid();
    HWND main = studio.Main();

    // The sample effect, named after its file in the data folder.
    ASSERT_TRUE(WaitForTitle(main, L"爆発.QVE")) << std::string(Drive_Text(main).begin(), Drive_Text(main).end());

    // The four dialogs with their controls.
    const Dialogs d = FindDialogs(pid);
    ASSERT_TRUE(d.images && d.keys && d.info && d.particle);
    HWND list = GetDlgItem(d.images, 1373);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(3, (int)SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int id : {88, 56, 57, 1417, 1418, 1419, 1420, 1421}) EXPECT_NE(GetDlgItem(d.images, id), nullptr) << id;
    for (int id = 1392; id <= 1413; ++id) EXPECT_NE(GetDlgItem(d.keys, id), nullptr) << id;
    HWND slider = GetDlgItem(d.keys, 1);
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(ItemText(d.keys, 1392), L"60");
    EXPECT_EQ(ItemText(d.keys, 1395), L"60");
    EXPECT_EQ(BST_CHECKED, (int)SendMessageW(GetDlgItem(d.keys, 1398), BM_GETCHECK, 0, 0));
    for (int id : {82, 83, 84, 85, 86, 1298, 1300, 1301, 1302, 1122, 1123, 1012, 87, 88, 1365})
        EXPECT_NE(GetDlgItem(d.info, id), nullptr) << id;
    for (int id = 88; id <= 107; ++id) EXPECT_NE(GetDlgItem(d.particle, id), nullptr) << id;

    // 再生 plays it, whether it was playing already or not: the canvas changes from sample to
    // sample, and the frame slider follows the preview frame round the 60 frames.
    Played played = PressPlay(main, d.keys);
    EXPECT_GE(played.changes, 2);
    std::vector<int> positions;
    for (int i = 0; i < 12; ++i) {
        positions.push_back(GetScrollPos(slider, SB_CTL));
        Sleep(250);
    }
    int changes = 0;
    for (size_t i = 1; i < positions.size(); ++i) changes += positions[i] != positions[i - 1];
    EXPECT_GE(changes, 2);
    for (int p : positions) EXPECT_TRUE(p >= 0 && p < 60) << p;

    // The canvas shows the particles rising from the instance at (320, 240) and, at some moment of
    // the loop, the orange explosion around it; the fullest picture is kept beside the test program.
    EXPECT_TRUE(SaveCanvasBmp(played.shot, Drive_ExeFolder() + "drive_effect_canvas.bmp"));
    EXPECT_GT(played.best.notGrey, 200);
    EXPECT_GE(played.best.orange, 20);
    // The canvas is grey far from the effect.
    EXPECT_EQ(0, CountCanvas(played.shot, 520, 380, 600, 460).notGrey);

    // Saved through the menu under its own name and under a new one, it is the sample's file byte
    // for byte both times.
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(SaveThroughMenu(pid, main, sampleName, bytes));
    EXPECT_EQ(sample, bytes);
    ASSERT_TRUE(SaveThroughMenu(pid, main, copyName, bytes));
    EXPECT_EQ(sample, bytes);

    // Each opens again with its 2D-object parts, whose pictures the canvas shows.
    for (const std::string& name : {kCopy, kSample}) {
        ASSERT_TRUE(OpenThroughMenu(pid, main, Drive_DataPath(name))) << name;
        ASSERT_TRUE(WaitForTitle(main, Drive_Wide(name))) << name;
        EXPECT_EQ(3, (int)SendMessageW(list, LB_GETCOUNT, 0, 0)) << name;
        Played again = PressPlay(main, d.keys);
        EXPECT_GT(again.best.notGrey, 200) << name;
        EXPECT_GE(again.best.orange, 20) << name;
    }

    EXPECT_TRUE(boxes.SeenBoxes().empty());
    ASSERT_TRUE(Drive_ClickFree(main));
    Input_Chord(VK_MENU, VK_F4);
    EXPECT_TRUE(studio.WaitExit(90000));
    std::vector<uint8_t> now;
    if (!Drive_ReadFile(sampleName, now) || now != sample) Drive_WriteFile(sampleName, sample);
    DeleteFileA(copyName.c_str());
}

// The パーティクル dialog's 決定 with nothing edited writes back what the current key holds.
TEST(DriveEffect, DecidingTheParticleDialogUneditedChangesNothing)
{
    const std::string saved = Drive_DataPath("爆発の決定後.QVE");
    DeleteFileA(saved.c_str());
    std::vector<uint8_t> sample;
    ASSERT_TRUE(Drive_ReadFile(Drive_DataPath(kSample), sample));

    StudioProcess studio;
    ASSERT_TRUE(studio.Start(""));
    BoxAnswerer boxes(studio.Pid());
    const DWORD pid = studio.Pid();
    HWND main = studio.Main();
    ASSERT_TRUE(WaitForTitle(main, L"爆発.QVE"));
    const Dialogs d = FindDialogs(pid);
    ASSERT_TRUE(d.keys && d.particle);

    // Stopped, the particle part (the fourth row of the timeline, after the three 2D objects)
    // selected at frame 0, where its key lies: a click in the first column of its row.
    ASSERT_TRUE(Input_ClickItem(d.keys, 1397));
    const int labelWidth = 150, top = 84, rowHeight = 25;
    RECT c;
    GetClientRect(d.keys, &c);
    const POINT row = {labelWidth + 2, top + 3 * rowHeight + rowHeight / 2};
    ASSERT_LT(row.y, c.bottom) << "the timeline shows no fourth row";
    Input_ClickClient(d.keys, row.x, row.y);
    Sleep(2000);
    ASSERT_TRUE(Input_ClickItem(d.particle, 88));
    Sleep(2000);

    std::vector<uint8_t> bytes;
    ASSERT_TRUE(SaveThroughMenu(pid, main, saved, bytes));
    EXPECT_EQ(sample.size(), bytes.size());
    EXPECT_TRUE(sample == bytes) << "the unedited particle values written back changed the saved effect";

    EXPECT_TRUE(boxes.SeenBoxes().empty());
    ASSERT_TRUE(Drive_ClickFree(main));
    Input_Chord(VK_MENU, VK_F4);
    EXPECT_TRUE(studio.WaitExit(90000));
    DeleteFileA(saved.c_str());
}

} // namespace
