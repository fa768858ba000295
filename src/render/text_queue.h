// The text queue: any code queues formatted texts at 2D positions during a frame; the 2D layer draws
// them all with one font object near its end and empties the queue. The queue and the position and
// size arithmetic are platform-free; the font and the drawing are in render/win32/text_d3d.cpp.
#pragma once
#include <cstdint>
#include <vector>

namespace QVL {

struct TEXT_REC {
    char text[256];      // NUL-terminated; longer output is cut at a character boundary
    int32_t x, y;        // 2D coordinates
    int32_t r, g, b, a;  // 0..255
    float size;          // 1.0 gives a 21-pixel font
};

} // namespace QVL

// Statics (shell/statics.cpp, group 4).
extern std::vector<QVL::TEXT_REC> g_TextQueue;
// Stamped on each queued text; 255, 255, 255, 255 at start. (The text size stamped with it is the
// library's text scale, g_Lib.textScale.)
extern int32_t g_TextColor[4];

// Queues one text formatted printf-style; 0 (and nothing queued) while drawing is not allowed.
int Draw_Text(int x, int y, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;
void Draw_SetTextColor(int r, int g, int b, int a);

// The window scale: back-buffer size / (1280, 720) while scaling to the window, else (1, 1).
void Text_WindowScale(int scaleToWindow, int backBufferWidth, int backBufferHeight, float out[2]);
// Font height in pixels: trunc(scale x * 21 * size).
int Text_FontHeight(float windowScaleX, float size);
// Where a queued text is drawn: the studio's game-screen offset (the 1280 x 720 base centred in the
// monitor, plus view 0's pan) when gameScreen, then the scaling to the back buffer.
void Text_DrawPosition(int x, int y, bool gameScreen, int monitorWidth, int monitorHeight, float panX, float panY,
                       int scaleToWindow, int backBufferWidth, int backBufferHeight, int* outX, int* outY);
// a << 24 | r << 16 | g << 8 | b (each below alpha kept to 8 bits).
uint32_t Text_Color(const QVL::TEXT_REC& t);

// Device side (render/win32/text_d3d.cpp).
void Draw_CreateFont(float size);
void Draw_FlushTexts();
void Draw_ReleaseFontObject();
// One subtitle line at back-buffer pixels (x, y) in white with the font of size 2.
void Draw_SubtitleText(int x, int y, const char* text);
