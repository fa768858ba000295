// The effect editor as the studio starts in it: the sample effect stopped in the canvas, the four
// dialogs with their controls, and the effect saved through the menu, opened again and saved again.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "wine/support/driver.h"

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

TEST(DriveEffect, StartsWithTheSampleStoppedAndSavesAndOpensItThroughTheMenu)
{
    const std::string saved = Drive_DataPath("drive_effect.qve"), again = Drive_DataPath("drive_effect_again.qve");
    for (const std::string& p : {saved, again}) DeleteFileA(p.c_str());
    std::vector<uint8_t> sample;
    ASSERT_TRUE(Drive_ReadFile(Drive_DataPath("爆発.QVE"), sample));

    StudioProcess studio;
    ASSERT_TRUE(studio.Start(""));
    BoxAnswerer boxes(studio.Pid());
    const DWORD pid = studio.Pid();
    HWND main = studio.Main();

    // The sample effect, named after its file in the data folder.
    ASSERT_TRUE(WaitForTitle(main, L"爆発.QVE")) << std::string(Drive_Text(main).begin(), Drive_Text(main).end());

    // The four dialogs with their controls.
    HWND images = Drive_FindTitled(pid, L"イメージリスト");
    HWND keys = Drive_FindTitled(pid, L"キーフレーム");
    HWND info = Drive_FindTitled(pid, L"キーフレーム情報");
    HWND particle = Drive_FindTitled(pid, L"パーティクル");
    ASSERT_TRUE(images && keys && info && particle);
    HWND list = GetDlgItem(images, 1373);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(3, (int)SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int id : {88, 56, 57, 1417, 1418, 1419, 1420, 1421}) EXPECT_NE(GetDlgItem(images, id), nullptr) << id;
    for (int id = 1392; id <= 1413; ++id) EXPECT_NE(GetDlgItem(keys, id), nullptr) << id;
    HWND slider = GetDlgItem(keys, 1);
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(ItemText(keys, 1392), L"60");
    EXPECT_EQ(ItemText(keys, 1395), L"60");
    EXPECT_EQ(BST_CHECKED, (int)SendMessageW(GetDlgItem(keys, 1398), BM_GETCHECK, 0, 0));
    for (int id : {82, 83, 84, 85, 86, 1298, 1300, 1301, 1302, 1122, 1123, 1012, 87, 88, 1365})
        EXPECT_NE(GetDlgItem(info, id), nullptr) << id;
    for (int id = 88; id <= 107; ++id) EXPECT_NE(GetDlgItem(particle, id), nullptr) << id;

    // Stopped until "再生": the frame slider stays on frame 0.
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(0, GetScrollPos(slider, SB_CTL)) << i;
        Sleep(250);
    }

    // The canvas shows the particles rising from the instance at (320, 240), which the emitter
    // spawns while stopped too; the fullest picture is kept beside the test program.
    CanvasCount best;
    Canvas shot;
    for (int i = 0; i < 20 && best.orange < 20; ++i) {
        Canvas c = GrabCanvas(main);
        CanvasCount n = CountCanvas(c, 240, 60, 400, 320);
        if (n.orange > best.orange || shot.pixels.empty()) {
            best.orange = n.orange;
            shot = c;
        }
        if (n.notGrey > best.notGrey) best.notGrey = n.notGrey;
        Sleep(300);
    }
    EXPECT_TRUE(SaveCanvasBmp(shot, Drive_ExeFolder() + "drive_effect_canvas.bmp"));
    EXPECT_GT(best.notGrey, 200);
    // The canvas is grey far from the effect.
    EXPECT_EQ(0, CountCanvas(shot, 520, 380, 600, 460).notGrey);

    // Saved through the menu it is the sample's file, byte for byte.
    PostMessageW(main, WM_COMMAND, 40088, 0);
    ASSERT_TRUE(Drive_AnswerFileDialog(pid, kSaveTitle, saved, 60000));
    std::vector<uint8_t> savedBytes;
    ASSERT_TRUE(WaitForFile(saved, savedBytes));
    EXPECT_EQ(sample, savedBytes);

    // Opened through the menu it becomes the effect shown, and saved again it gives the same bytes.
    PostMessageW(main, WM_COMMAND, 40087, 0);
    ASSERT_TRUE(Drive_AnswerFileDialog(pid, kOpenTitle, saved, 60000));
    ASSERT_TRUE(WaitForTitle(main, L"drive_effect.qve"));
    EXPECT_EQ(3, (int)SendMessageW(list, LB_GETCOUNT, 0, 0));
    PostMessageW(main, WM_COMMAND, 40088, 0);
    ASSERT_TRUE(Drive_AnswerFileDialog(pid, kSaveTitle, again, 60000));
    std::vector<uint8_t> againBytes;
    ASSERT_TRUE(WaitForFile(again, againBytes));
    EXPECT_EQ(savedBytes, againBytes);

    EXPECT_TRUE(boxes.SeenBoxes().empty());
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(studio.WaitExit(30000));
    for (const std::string& p : {saved, again}) DeleteFileA(p.c_str());
}

} // namespace
