// The movie's share of the 2D layer: picture tracks as textured quads on the 1280 x 720 screen, and
// the message tracks' subtitles.
#include <cstring>

#include "frame/lib.h"
#include "frame/math3d.h"
#include "frame/mode_ids.h"
#include "model/gpu_services.h"
#include "render/frame_render.h"
#include "render/immediate.h"
#include "render/tex_slots.h"
#include "render/text_queue.h"
#include "scene/movie.h"

using namespace QVL;

namespace {

int Clamp255(float v)
{
    const int i = (int)v;
    return i < 0 ? 0 : i > 255 ? 255 : i;
}

} // namespace

void Movie_DrawPictures(int32_t width, int32_t height)
{
    MOVIE_PLAY& m = g_MovieData;
    const int32_t type = Render_PickedViewType();
    const bool show = g_StudioFlag == 0 ? g_MoviePlayState == 1 : g_Mode == MODE_MOVIE && (type == 0 || type == 4);
    if (!show) return;
    for (int32_t i = 0; i < m.trackCount && i < kMovieMaxTracks && i < 1024; ++i) {
        MOVIE_TRACK* t = m.tracks[i];
        if (!t || t->kind != MOVIE_PICTURE || t->keyCount <= 0) continue;
        Movie_FindTrackKeys(t, m.frame);
        if (!t->keys[t->currentKey].visible) continue;
        // A picture without a file, or whose file did not load, has nothing to draw.
        const int32_t handle = g_TexTable[i];
        if (!t->file[0] || handle < 0) continue;
        Movie_InterpolateTrack(i, t->currentKey, t->fraction);
        float w = 0.0f, h = 0.0f;
        if (!Tex_GetSize(handle, &w, &h)) continue;
        MATRIX world;
        Math_MatrixWorld(&world, t->livePosition[0], t->livePosition[1], 0.0f, 0.0f, 0.0f, -t->liveRotation[2],
                         t->liveScale[0], t->liveScale[1], 0.0f);
        const float cx[4] = {-w / 2, w / 2, w / 2, -w / 2}, cy[4] = {-h / 2, -h / 2, h / 2, h / 2};
        int px[4], py[4];
        const float ox = g_StudioFlag == 1 ? (float)(width - 1280) * 0.5f : 0.0f;
        const float oy = g_StudioFlag == 1 ? (float)(height - 720) * 0.5f : 0.0f;
        for (int c = 0; c < 4; ++c) {
            VEC3 p;
            Math_TransformPoint(&p, cx[c], cy[c], 0.0f, world);
            px[c] = (int)(p.x + ox);
            py[c] = (int)(p.y + oy);
        }
        const int r = Clamp255(t->liveColour[0]), g = Clamp255(t->liveColour[1]);
        const int b = Clamp255(t->liveColour[2]), a = Clamp255(t->liveColour[3]);
        Tex_Set(handle);
        Draw_Quad2D(px[0], py[0], r, g, b, a, 0.01f, 0.01f, px[1], py[1], r, g, b, a, 0.99f, 0.01f, px[2], py[2], r, g,
                    b, a, 0.99f, 0.99f, px[3], py[3], r, g, b, a, 0.01f, 0.99f);
    }
}

void Movie_SubtitlePosition(int32_t n, int32_t width, int32_t height, int32_t* x, int32_t* y)
{
    int32_t sx = 640 - 8 * n, sy = 640;
    if (g_StudioFlag == 1) {
        sx += (width - 1280) / 2;
        sy = (height - 720) / 2 + 640;
    }
    if (g_ScaleToWindow == 1) {
        sx = (int32_t)((double)width * sx / 1280.0);
        sy = (int32_t)((double)height * sy / 720.0);
    }
    *x = sx;
    *y = sy;
}

void Movie_DrawSubtitles(int32_t width, int32_t height)
{
    MOVIE_PLAY& m = g_MovieData;
    bool show;
    if (g_StudioFlag == 1) show = g_Mode == MODE_MOVIE ? Render_PickedViewType() == 0 : m.loaded == 1;
    else show = g_Mode == MODE_MOVIE || m.loaded == 1;
    if (!show) return;
    for (int32_t i = 0; i < m.trackCount && i < kMovieMaxTracks; ++i) {
        MOVIE_TRACK* t = m.tracks[i];
        if (!t || t->kind != MOVIE_MESSAGE || t->keyCount <= 0) continue;
        const int32_t c = t->currentKey >= 0 && t->currentKey < t->keyCount ? t->currentKey : 0;
        const int32_t slot = t->keys[c].resource;
        if (slot < 0 || slot >= kMovieSlots) continue;
        const char* text = m.messages[slot];
        int32_t x = 0, y = 0;
        Movie_SubtitlePosition((int32_t)strnlen(text, 255), width, height, &x, &y);
        Draw_SubtitleText(x, y, text);
    }
}
