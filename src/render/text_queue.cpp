#include "render/text_queue.h"

#include <cstdarg>
#include <cstring>

#include "frame/lib.h"
#include "frame/text.h"

int32_t g_TextColor[4] = {255, 255, 255, 255};

int Draw_Text(int x, int y, const char* format, ...)
{
    if (!Lib_IsDrawAllowed()) return 0;
    QVL::TEXT_REC t;
    std::memset(&t, 0, sizeof t);
    va_list args;
    va_start(args, format);
    // The field holds 255 bytes: longer output is cut at a character boundary, never written past.
    Str_FormatV(t.text, sizeof t.text, format, args);
    va_end(args);
    t.x = x;
    t.y = y;
    t.r = g_TextColor[0];
    t.g = g_TextColor[1];
    t.b = g_TextColor[2];
    t.a = g_TextColor[3];
    t.size = g_Lib.textScale;
    g_TextQueue.push_back(t);
    return 1;
}

void Draw_SetTextColor(int r, int g, int b, int a)
{
    g_TextColor[0] = r;
    g_TextColor[1] = g;
    g_TextColor[2] = b;
    g_TextColor[3] = a;
}

void Text_WindowScale(int scaleToWindow, int backBufferWidth, int backBufferHeight, float out[2])
{
    if (scaleToWindow == 1) {
        out[0] = (float)backBufferWidth / 1280.0f;
        out[1] = (float)backBufferHeight / 720.0f;
    } else {
        out[0] = out[1] = 1.0f;
    }
}

int Text_FontHeight(float windowScaleX, float size) { return (int)(windowScaleX * 21.0f * size); }

void Text_DrawPosition(int x, int y, bool gameScreen, int monitorWidth, int monitorHeight, float panX, float panY,
                       int scaleToWindow, int backBufferWidth, int backBufferHeight, int* outX, int* outY)
{
    if (gameScreen) {
        // The text offset centres the 1280 x 720 base, where the 2D primitives centre 640 x 480.
        x += (int)((float)(monitorWidth - 1280) * 0.5f + panX);
        y += (int)((float)(monitorHeight - 720) * 0.5f + panY);
    }
    if (scaleToWindow == 1) {
        x = (int)((float)x * (float)backBufferWidth / 1280.0f);
        y = (int)((float)y * (float)backBufferHeight / 720.0f);
    }
    *outX = x;
    *outY = y;
}

uint32_t Text_Color(const QVL::TEXT_REC& t)
{
    // Out-of-range components keep their low 8 bits instead of spilling into their neighbours.
    return (uint32_t)t.a << 24 | ((uint32_t)t.r & 255u) << 16 | ((uint32_t)t.g & 255u) << 8 | ((uint32_t)t.b & 255u);
}
