// The AVI writer (Video for Windows), recording of presented frames and back-buffer screenshots.
// While a writer records, g_ScreenGroup is 9 and the frame tick adds each presented picture.
#pragma once
#include <windows.h>
#include <vfw.h>
#include <cstdint>

struct AVI_WRITER {
    void* bits;                  // pixel memory of the DIB section (bottom-up 24-bit rows)
    HGDIOBJ bitmap;              // the memory DC's previous bitmap while the DIB section is selected
    HDC memoryDC;                // each frame is drawn here
    PAVISTREAM stream;           // the uncompressed stream
    PAVISTREAM compressed;       // the stream frames are written to (the plain one when uncompressed)
    COMPVARS compressor;         // filled by ICCompressorChoose
    PAVIFILE file;
    int32_t width, height;
    int32_t frameBytes;
    int32_t frameCount;          // index of the next frame
    int32_t savedScreenGroup;
    int32_t frameRate;
    HBITMAP dib;
    bool aviInit;                // AVIFileInit ran: AVIFileExit is owed
    bool failed;                 // a frame was lost: the file is not kept
    char path[MAX_PATH];         // the AVI file the recording replaces once it is complete
    char workPath[MAX_PATH];     // the file written meanwhile, beside it
};

extern AVI_WRITER* g_AviWriter;

// Opens a 1280 x 720 writer for "<exe folder>\\<name stem>.avi" (the user picks the compressor);
// on success it becomes g_AviWriter and the screen group becomes 9.
bool Avi_StartRecording(const char* file, int32_t frameRate);
// Closes the recording and puts the file in place; an incomplete one is dropped and the file it
// would have replaced stays. Nothing without a writer.
void Avi_StopRecording();
// The memory DC of the writer, or null.
HDC Avi_Open(AVI_WRITER* writer, HWND window, int32_t width, int32_t height, const char* path, int32_t scale, int32_t rate);
// Releases everything the writer holds; keep: put the written file in place. False when a kept
// file could not be completed.
bool Avi_Close(AVI_WRITER* writer, bool keep);
// Writes the memory picture as the next frame; false (reported once) when it is lost.
bool Avi_AddFrame(AVI_WRITER* writer);
HDC Avi_GetMemoryDC(AVI_WRITER* writer);
// The frame tick's part: the presented back buffer into the writer's picture, then the next frame.
void Avi_CaptureFrame();

// The back buffer (or a rectangle of it) as a BMP file in the executable folder; a failure is
// shown, and a file of that name is only replaced by a complete picture.
bool App_SaveScreenshot(const char* file);
bool App_SaveScreenshotRect(const char* file, const RECT* rect);
// The same to a full path, without a message.
bool Screenshot_Write(const char* path, const RECT* rect);
