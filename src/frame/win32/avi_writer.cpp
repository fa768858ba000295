// The AVI writer: a 1280 x 720 24-bit video stream through Video for Windows, fed one picture per
// presented frame while recording. The file is written beside its final name and put in place only
// once it is complete, so a cancelled or failed recording leaves an older file of that name alone.
#include "frame/win32/avi_writer.h"

#include <cstring>

#include "frame/bytes.h"
#include "frame/lib.h"
#include "frame/log.h"
#include "frame/paths.h"
#include "frame/services.h"
#include "frame/text.h"
#include "frame/win32/app_frame.h"

AVI_WRITER* g_AviWriter = nullptr;

namespace {

constexpr int32_t kAviWidth = 1280;
constexpr int32_t kAviHeight = 720;
constexpr int32_t kRecordingGroup = 9;

// The AVI file handler, named explicitly: the work file's extension does not select it.
const CLSID kAviFileHandler = {0x00020000, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

void FillFormat(BITMAPINFOHEADER* bi, int32_t width, int32_t height, int32_t frameBytes)
{
    std::memset(bi, 0, sizeof *bi);
    bi->biSize = sizeof *bi;
    bi->biWidth = width;
    bi->biHeight = height;
    bi->biPlanes = 1;
    bi->biBitCount = 24;
    bi->biCompression = BI_RGB;
    bi->biSizeImage = (DWORD)frameBytes;
}

// Splits "<folder>\\<name>" into the folder and "<name without extension>.avi".
bool SplitAviPath(const char* path, char* folder, size_t folderCap, char* file, size_t fileCap)
{
    const char* slash = Str_FindLastChar(path, '\\');
    if (!slash) return false;
    if (!Str_CopyN(folder, folderCap, path, (size_t)(slash - path))) return false;
    const char* name = slash + 1;
    const char* dot = Str_FindLastChar(name, '.');
    const size_t stem = dot ? (size_t)(dot - name) : std::strlen(name);
    char base[MAX_PATH];
    if (!Str_CopyN(base, sizeof base, name, stem)) return false;
    return Str_Format(file, fileCap, "%s.avi", base);
}

// The writer is closed after this (its handles are released by Avi_Close).
HDC DcFailure(HWND window, const char* text)
{
    MessageBoxA(window, text, kProductCaption, MB_OK);
    return nullptr;
}

// The complete file holds one video stream with every frame written.
bool WorkFileComplete(const char* path, int32_t frames)
{
    PAVIFILE file = nullptr;
    if (AVIFileOpenA(&file, path, OF_READ | OF_SHARE_DENY_WRITE, const_cast<CLSID*>(&kAviFileHandler)) != 0 || !file)
        return false;
    PAVISTREAM stream = nullptr;
    bool ok = AVIFileGetStream(file, &stream, streamtypeVIDEO, 0) == 0 && stream;
    if (ok) ok = AVIStreamLength(stream) == frames;
    if (stream) AVIStreamRelease(stream);
    AVIFileRelease(file);
    return ok;
}

void ReportLostFrame(AVI_WRITER* w)
{
    if (w->failed) return;
    w->failed = true;
    Log_Printf("AVI: frame %d was not written: %s", (int)w->frameCount, w->workPath);
    char text[800];
    Str_Format(text, sizeof text, "AVI ファイルに書き込むことができませんでした。\n録画は保存されません。\n\n%s", w->path);
    Lib_MessageBox(text);
}

} // namespace

HDC Avi_Open(AVI_WRITER* w, HWND window, int32_t width, int32_t height, const char* path, int32_t scale, int32_t rate)
{
    w->width = width;
    w->height = height;
    w->frameBytes = (width * 24 + 31) / 32 * 4 * height;
    AVIFileInit();
    w->aviInit = true;

    char folder[MAX_PATH], file[MAX_PATH];
    if (!SplitAviPath(path, folder, sizeof folder, file, sizeof file) ||
        !Str_Format(w->path, sizeof w->path, "%s\\%s", folder, file) ||
        !Str_Format(w->workPath, sizeof w->workPath, "%s.tmp", w->path)) {
        Log_Printf("AVI: name too long: %s", path);
        return nullptr;
    }
    // Loaders that run while recording read from the recording's folder.
    SetCurrentDirectoryA(folder);

    AVISTREAMINFOA header = {};
    header.fccType = streamtypeVIDEO;
    header.fccHandler = mmioFOURCC('D', 'I', 'B', ' ');
    header.dwScale = (DWORD)scale;
    header.dwRate = (DWORD)rate;
    header.dwQuality = (DWORD)-1;
    SetRect(&header.rcFrame, 0, 0, width, height);
    Str_CopyN(header.szName, sizeof header.szName, "RE Rerude AVI");
    BITMAPINFOHEADER format;
    FillFormat(&format, width, height, w->frameBytes);

    std::memset(&w->compressor, 0, sizeof w->compressor);
    w->compressor.cbSize = sizeof w->compressor;
    w->compressor.dwFlags = ICMF_COMPVARS_VALID;
    w->compressor.fccHandler = mmioFOURCC('D', 'I', 'B', ' ');
    w->compressor.lQ = ICQUALITY_DEFAULT;
    if (!ICCompressorChoose(nullptr, ICMF_CHOOSE_KEYFRAME | ICMF_CHOOSE_DATARATE, &format, nullptr, &w->compressor, nullptr))
        return nullptr;   // cancelled: nothing was created

    AVICOMPRESSOPTIONS options = {};
    options.fccType = streamtypeVIDEO;
    options.fccHandler = w->compressor.fccHandler;
    header.fccHandler = w->compressor.fccHandler;
    options.dwKeyFrameEvery = (DWORD)w->compressor.lKey;
    options.dwQuality = (DWORD)w->compressor.lQ;
    options.dwBytesPerSecond = (DWORD)w->compressor.lDataRate;
    options.dwFlags = (w->compressor.lDataRate ? AVICOMPRESSF_DATARATE : 0) | (w->compressor.lKey ? AVICOMPRESSF_KEYFRAMES : 0);
    options.lpParms = w->compressor.lpState;
    options.cbParms = (DWORD)w->compressor.cbState;

    DeleteFileA(w->workPath);
    if (AVIFileOpenA(&w->file, w->workPath, OF_CREATE | OF_SHARE_DENY_NONE | OF_WRITE, const_cast<CLSID*>(&kAviFileHandler)) != 0) {
        w->file = nullptr;
        Log_Printf("AVI: cannot create %s", w->workPath);
        return nullptr;
    }
    if (AVIFileCreateStreamA(w->file, &w->stream, &header) != 0) {
        w->stream = nullptr;
        return nullptr;
    }
    // "Full frames" has no compressor behind it; where AVIMakeCompressedStream refuses it, those
    // frames go to the plain stream as they are.
    const bool uncompressed = options.fccHandler == mmioFOURCC('D', 'I', 'B', ' ') || options.fccHandler == 0;
    if (AVIMakeCompressedStream(&w->compressed, w->stream, &options, nullptr) != 0) {
        w->compressed = nullptr;
        if (!uncompressed) {
            Log_Printf("AVI: the chosen compressor cannot be used");
            return nullptr;
        }
        AVIStreamAddRef(w->stream);
        w->compressed = w->stream;
    }
    if (AVIStreamSetFormat(w->compressed, 0, &format, sizeof format) != 0) return nullptr;

    HDC dc = GetDC(window);
    if (!dc) return DcFailure(window, "Error hDC");
    w->memoryDC = CreateCompatibleDC(dc);
    if (ReleaseDC(window, dc) != 1) return DcFailure(window, "Error ReleaseDC");
    if (!w->memoryDC) return DcFailure(window, "Error hMemDC");
    BITMAPINFO info = {};
    info.bmiHeader = format;
    w->dib = CreateDIBSection(w->memoryDC, &info, DIB_RGB_COLORS, &w->bits, nullptr, 0);
    if (!w->dib || !w->bits) {
        w->bits = nullptr;
        return DcFailure(window, "Error CreateDIBSection");
    }
    w->bitmap = SelectObject(w->memoryDC, w->dib);
    return w->memoryDC;
}

bool Avi_Close(AVI_WRITER* w, bool keep)
{
    if (w->compressed) AVIStreamRelease(w->compressed);
    if (w->stream) AVIStreamRelease(w->stream);
    // Releasing the file writes its index: only then is it whole.
    const bool opened = w->file != nullptr;
    if (w->file) AVIFileRelease(w->file);
    w->compressed = w->stream = nullptr;
    w->file = nullptr;
    if (w->compressor.cbSize) ICCompressorFree(&w->compressor);
    if (w->memoryDC && w->bitmap) SelectObject(w->memoryDC, w->bitmap);
    if (w->dib) DeleteObject(w->dib);
    if (w->memoryDC) DeleteDC(w->memoryDC);
    w->dib = nullptr;
    w->bitmap = nullptr;
    w->memoryDC = nullptr;
    w->bits = nullptr;

    bool ok = true;
    if (opened) {
        ok = keep && !w->failed && WorkFileComplete(w->workPath, w->frameCount) && Svc_ReplaceFile(w->workPath, w->path);
        if (!ok) DeleteFileA(w->workPath);
        ok = ok || !keep || w->failed;   // a dropped recording was already reported
    }
    w->frameCount = 0;
    if (w->aviInit) AVIFileExit();
    w->aviInit = false;
    return ok;
}

bool Avi_StartRecording(const char* file, int32_t frameRate)
{
    if (!file) return false;
    // A rate of 0 makes a stream no player can time.
    if (frameRate <= 0) {
        Log_Printf("AVI: no frame rate for %s", file);
        return false;
    }
    // One recording at a time: an earlier one is finished first.
    if (g_AviWriter) Avi_StopRecording();
    char path[MAX_PATH];
    if (!Str_Format(path, sizeof path, "%s\\%s", g_Lib.exeFolder, file)) {
        Log_Printf("AVI: name too long: %s", file);
        return false;
    }
    if (path[0] > 96 && path[0] <= 'z') path[0] = (char)(path[0] - 32);
    AVI_WRITER* w = new AVI_WRITER{};
    if (!Avi_Open(w, nullptr, kAviWidth, kAviHeight, path, 1, frameRate)) {
        Avi_Close(w, false);
        delete w;
        return false;
    }
    w->savedScreenGroup = g_ScreenGroup;
    w->frameRate = frameRate;
    g_AviWriter = w;
    g_ScreenGroup = kRecordingGroup;
    return true;
}

void Avi_StopRecording()
{
    AVI_WRITER* w = g_AviWriter;
    if (!w) return;
    if (g_ScreenGroup == kRecordingGroup) g_ScreenGroup = w->savedScreenGroup;
    g_AviWriter = nullptr;
    if (!Avi_Close(w, true)) QVL::File_ReportWriteFailed(w->path);
    delete w;
    char work[MAX_PATH];
    if (Str_Format(work, sizeof work, "%s\\avi.bmp", g_Lib.exeFolder)) DeleteFileA(work);
}

bool Avi_AddFrame(AVI_WRITER* w)
{
    if (!w || !w->compressed || !w->bits) return false;
    // A file that has lost a frame is not kept: nothing more goes into it.
    HRESULT hr = E_FAIL;
    if (!w->failed) {
        GdiFlush();
        hr = AVIStreamWrite(w->compressed, w->frameCount, 1, w->bits, w->frameBytes, AVIIF_KEYFRAME, nullptr, nullptr);
    }
    if (FAILED(hr)) {
        ReportLostFrame(w);
        w->frameCount++;
        return false;
    }
    w->frameCount++;
    return true;
}

HDC Avi_GetMemoryDC(AVI_WRITER* w)
{
    return w ? w->memoryDC : nullptr;
}

void Avi_CaptureFrame()
{
    AVI_WRITER* w = g_AviWriter;
    if (!w) return;
    char path[512];
    HBITMAP bmp = nullptr;
    if (Str_Format(path, sizeof path, "%s\\avi.bmp", g_Lib.exeFolder) && Screenshot_Write(path, nullptr))
        bmp = (HBITMAP)LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (!bmp || !w->memoryDC) {
        if (bmp) DeleteObject(bmp);
        ReportLostFrame(w);
        w->frameCount++;
        return;
    }
    HDC source = CreateCompatibleDC(w->memoryDC);
    HGDIOBJ old = SelectObject(source, bmp);
    int x = 0, y = 0;
    if (g_Lib.layoutFlag == 1) {
        x = (int)((float)(Lib_GetWindowWidth() - kAviWidth) * 0.5f);
        y = (int)((float)(Lib_GetWindowHeight() - kAviHeight) * 0.5f);
    }
    // A back buffer smaller than the frame fills what it covers; the rest keeps the last picture.
    BitBlt(w->memoryDC, 0, 0, kAviWidth, kAviHeight, source, x, y, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
    DeleteObject(bmp);
    Avi_AddFrame(w);
}
