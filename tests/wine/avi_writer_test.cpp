// The AVI recorder and screenshots on the real device: presented frames recorded into a 1280 x 720
// file that replaces an older one only when complete; cancelled and failed recordings and failed
// screenshots leave the older file as it was. The recording this leaves beside the program
// (avi_take.avi, kTakeFrames frames) is opened again by ffprobe after the run (avi_probe.cmake).
#include <windows.h>
#include <vfw.h>
#include <d3d9.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "frame/lib.h"
#include "frame/win32/app_frame.h"
#include "frame/win32/avi_writer.h"
#include "render/camera.h"
#include "wine/support/modal_guard.h"
#include "wine/support/wine_frame.h"

namespace {

constexpr int kTakeFrames = 6;

std::string Beside(const char* name)
{
    return std::string(g_Lib.exeFolder) + "\\" + name;
}

std::string ReadAll(const std::string& path)
{
    std::string bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return bytes;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
    std::fclose(f);
    return bytes;
}

bool WriteAll(const std::string& path, const std::string& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Renders and presents one frame in a clear colour (the timer must move between frames).
void PresentFrame(int r, int g, int b)
{
    Render_SetFade(1.0f);
    Lib_SetClearColor(r, g, b);
    Sleep(20);
    App_RenderFrame();
}

// Restores what a recording changes: the screen group and the current directory.
struct RecordingKept {
    int32_t group = g_ScreenGroup;
    char cwd[MAX_PATH] = {};
    RecordingKept() { GetCurrentDirectoryA(MAX_PATH, cwd); }
    ~RecordingKept()
    {
        if (g_AviWriter) Avi_StopRecording();
        g_ScreenGroup = group;
        SetCurrentDirectoryA(cwd);
        ModalGuard::Answer(IDOK);
    }
};

const std::string kOldBytes = "an older file of that name";

// A stream that takes no writes: a tiny AVI file of our own, opened for reading.
PAVISTREAM ReadOnlyStream(const std::string& path)
{
    PAVIFILE file = nullptr;
    if (AVIFileOpenA(&file, path.c_str(), OF_CREATE | OF_WRITE, nullptr) != 0) return nullptr;
    AVISTREAMINFOA info = {};
    info.fccType = streamtypeVIDEO;
    info.dwScale = 1;
    info.dwRate = 30;
    PAVISTREAM s = nullptr;
    BITMAPINFOHEADER bi = {sizeof bi, 4, 4, 1, 24, BI_RGB, 48, 0, 0, 0, 0};
    char pixels[48] = {};
    bool ok = AVIFileCreateStreamA(file, &s, &info) == 0 && AVIStreamSetFormat(s, 0, &bi, sizeof bi) == 0 &&
              AVIStreamWrite(s, 0, 1, pixels, sizeof pixels, AVIIF_KEYFRAME, nullptr, nullptr) == 0;
    if (s) AVIStreamRelease(s);
    AVIFileRelease(file);
    if (!ok || AVIFileOpenA(&file, path.c_str(), OF_READ, nullptr) != 0) return nullptr;
    s = nullptr;
    AVIFileGetStream(file, &s, streamtypeVIDEO, 0);
    AVIFileRelease(file);   // the stream keeps the file open
    return s;
}

} // namespace

TEST(AviWriter, RecordsPresentedFramesAndReplacesTheOldFileWhenDone)
{
    ASSERT_TRUE(WineFrame_Ensure());
    RecordingKept kept;
    // The test reads the file back through the same library.
    AVIFileInit();
    struct AviExit {
        ~AviExit() { AVIFileExit(); }
    } aviExit;
    const std::string take = Beside("avi_take.avi");
    ASSERT_TRUE(WriteAll(take, kOldBytes));
    g_ScreenGroup = 4;
    ModalGuard::Clear();
    ModalGuard::Answer(IDOK);
    // The name's own extension gives way to .avi.
    ASSERT_TRUE(Avi_StartRecording("avi_take.bmp", 30));
    ASSERT_NE(nullptr, g_AviWriter);
    EXPECT_FALSE(ModalGuard::Seen().empty()) << "no compressor dialog was shown";
    EXPECT_EQ(9, g_ScreenGroup);
    EXPECT_EQ(1280, g_AviWriter->width);
    EXPECT_EQ(720, g_AviWriter->height);
    EXPECT_EQ(2764800, g_AviWriter->frameBytes);
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    EXPECT_EQ(0, lstrcmpiA(g_Lib.exeFolder, cwd)) << cwd;
    // Until the recording is complete, the old file stands.
    EXPECT_EQ(kOldBytes, ReadAll(take));

    const int colours[kTakeFrames][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {0, 255, 255}, {255, 0, 255}};
    for (const auto& c : colours) PresentFrame(c[0], c[1], c[2]);
    EXPECT_EQ(kTakeFrames, g_AviWriter->frameCount);
    EXPECT_FALSE(g_AviWriter->failed);
    EXPECT_EQ(kOldBytes, ReadAll(take));

    Avi_StopRecording();
    EXPECT_EQ(nullptr, g_AviWriter);
    EXPECT_EQ(4, g_ScreenGroup);
    EXPECT_FALSE(Exists(Beside("avi.bmp")));
    EXPECT_FALSE(Exists(take + ".tmp"));
    const std::string bytes = ReadAll(take);
    ASSERT_GE(bytes.size(), 12u);
    EXPECT_EQ("RIFF", bytes.substr(0, 4));
    EXPECT_EQ("AVI ", bytes.substr(8, 4));

    // Each frame holds the picture that was presented: its clear colour near the top left.
    PAVIFILE file = nullptr;
    ASSERT_EQ(0, AVIFileOpenA(&file, take.c_str(), OF_READ, nullptr));
    PAVISTREAM stream = nullptr;
    ASSERT_EQ(0, AVIFileGetStream(file, &stream, streamtypeVIDEO, 0));
    AVISTREAMINFOA info = {};
    AVIStreamInfoA(stream, &info, sizeof info);
    EXPECT_EQ(30u, info.dwRate);
    EXPECT_EQ(1u, info.dwScale);
    EXPECT_EQ(kTakeFrames, AVIStreamLength(stream));
    std::vector<unsigned char> frame(2764800);
    for (int i = 0; i < kTakeFrames; ++i) {
        LONG got = 0;
        ASSERT_EQ(0, AVIStreamRead(stream, i, 1, frame.data(), (LONG)frame.size(), &got, nullptr));
        ASSERT_EQ(2764800, got);
        const unsigned char* px = &frame[(size_t)(719 - 8) * 3840 + 8 * 3];   // bottom-up rows, BGR
        EXPECT_EQ(colours[i][2], px[0]) << "frame " << i;
        EXPECT_EQ(colours[i][1], px[1]) << "frame " << i;
        EXPECT_EQ(colours[i][0], px[2]) << "frame " << i;
    }
    AVIStreamRelease(stream);
    AVIFileRelease(file);
}

TEST(AviWriter, RecordingThatCannotStartKeepsTheOldFile)
{
    ASSERT_TRUE(WineFrame_Ensure());
    RecordingKept kept;
    const std::string path = Beside("avi_cancel.avi");
    const std::string work = path + ".tmp";
    const std::string tooLong(600, 'a');
    struct Case {
        const char* what;
        const char* name;
        int rate;
        int answer;       // to the compressor dialog
        bool blockWork;   // a folder stands where the file is written first
        bool dialog;      // the compressor dialog is shown
    } cases[] = {
        {"the compressor choice cancelled", "avi_cancel.AVI", 60, IDCANCEL, false, true},
        {"the file cannot be created", "avi_cancel.AVI", 60, IDOK, true, true},
        {"no frames per second (an interval above 60)", "avi_cancel.AVI", 0, IDOK, false, false},
        {"a name longer than a path", tooLong.c_str(), 60, IDOK, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteAll(path, kOldBytes));
        if (c.blockWork) ASSERT_TRUE(CreateDirectoryA(work.c_str(), nullptr));
        g_ScreenGroup = 7;
        ModalGuard::Clear();
        ModalGuard::Answer(c.answer);
        EXPECT_FALSE(Avi_StartRecording(c.name, c.rate));
        EXPECT_EQ(c.dialog, !ModalGuard::Seen().empty());
        EXPECT_EQ(nullptr, g_AviWriter);
        EXPECT_EQ(7, g_ScreenGroup);
        EXPECT_EQ(kOldBytes, ReadAll(path));
        if (c.blockWork) {
            RemoveDirectoryA(work.c_str());
        } else {
            EXPECT_FALSE(Exists(work));
        }
    }
    DeleteFileA(path.c_str());
}

TEST(AviWriter, LostFrameIsReportedOnceAndTheOldFileStays)
{
    ASSERT_TRUE(WineFrame_Ensure());
    RecordingKept kept;
    const std::string path = Beside("avi_lost.avi");
    ASSERT_TRUE(WriteAll(path, kOldBytes));
    ModalGuard::Answer(IDOK);
    ASSERT_TRUE(Avi_StartRecording("avi_lost", 30));
    AVI_WRITER* w = g_AviWriter;
    ASSERT_NE(nullptr, w);
    PresentFrame(10, 20, 30);
    EXPECT_EQ(1, w->frameCount);
    // The next writes go to a stream that refuses them, as a full disk would.
    PAVISTREAM refusing = ReadOnlyStream(Beside("avi_readonly.avi"));
    ASSERT_NE(nullptr, refusing);
    AVIStreamRelease(w->compressed);
    w->compressed = refusing;
    ModalGuard::Clear();
    EXPECT_FALSE(Avi_AddFrame(w));
    EXPECT_FALSE(Avi_AddFrame(w));
    EXPECT_EQ(3, w->frameCount);
    ASSERT_EQ(1u, ModalGuard::Seen().size()) << "a lost frame is reported once";
    EXPECT_NE(std::string::npos, ModalGuard::Seen()[0].text.find(path)) << ModalGuard::Seen()[0].text;

    ModalGuard::Clear();
    Avi_StopRecording();
    EXPECT_TRUE(ModalGuard::Seen().empty());
    EXPECT_EQ(nullptr, g_AviWriter);
    EXPECT_EQ(kOldBytes, ReadAll(path));
    EXPECT_FALSE(Exists(path + ".tmp"));
    DeleteFileA(path.c_str());
    DeleteFileA(Beside("avi_readonly.avi").c_str());
}

TEST(Screenshot, SavesTheBackBufferAndKeepsTheOldFileWhenTheWriteFails)
{
    ASSERT_TRUE(WineFrame_Ensure());
    PresentFrame(40, 80, 120);
    const std::string shot = Beside("shot_test.bmp");
    DeleteFileA(shot.c_str());
    ASSERT_TRUE(App_SaveScreenshot("shot_test.bmp"));
    std::string bmp = ReadAll(shot);
    ASSERT_GE(bmp.size(), 54u);
    EXPECT_EQ("BM", bmp.substr(0, 2));
    EXPECT_EQ((LONG)g_BackBufferDesc.Width, *(const LONG*)&bmp[18]);
    EXPECT_EQ((LONG)g_BackBufferDesc.Height, std::abs(*(const LONG*)&bmp[22]));
    // A rectangle of it has the rectangle's size.
    RECT rect = {0, 0, 64, 32};
    ASSERT_TRUE(App_SaveScreenshotRect("shot_test.bmp", &rect));
    bmp = ReadAll(shot);
    ASSERT_GE(bmp.size(), 54u);
    EXPECT_EQ(64, *(const LONG*)&bmp[18]);
    EXPECT_EQ(32, std::abs(*(const LONG*)&bmp[22]));

    // The new picture cannot be written (a folder stands where it is written first): the failure
    // is shown and the old file stays whole.
    const std::string old = bmp;
    ASSERT_TRUE(CreateDirectoryA((shot + ".tmp").c_str(), nullptr));
    ModalGuard::Clear();
    EXPECT_FALSE(App_SaveScreenshot("shot_test.bmp"));
    EXPECT_EQ(1u, ModalGuard::Seen().size());
    EXPECT_TRUE(old == ReadAll(shot)) << "the old picture changed";
    RemoveDirectoryA((shot + ".tmp").c_str());

    // A name that does not fit the path is refused, not cut into some other file's name.
    ModalGuard::Clear();
    EXPECT_FALSE(App_SaveScreenshot(std::string(600, 'a').c_str()));
    EXPECT_EQ(1u, ModalGuard::Seen().size());
    DeleteFileA(shot.c_str());
}
