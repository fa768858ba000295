#include "shell/panels.h"

#include <cstdarg>
#include <cmath>
#include <cstdlib>

#include "effect/effect.h"
#include "frame/text.h"
#include "model/obj2.h"
#include "shell/current.h"

PANEL_BITMAP g_PanelDib = {nullptr, kPanelWidth, kPanelHeight};
PANEL_TEXT_FN g_PanelTextHook = nullptr;

int32_t g_PanelDirtyGroups = 0, g_PanelDirtyObj2Image = 0, g_PanelDirtyObj2Keys = 0, g_PanelDirtyTexture = 0;
int32_t g_PanelDirtyMotion2Keys = 0, g_PanelDirtyObj3Keys = 0, g_PanelDirtyMotion3Keys = 0, g_PanelDirtyEffect = 0;

int32_t g_KeyTimeScale = 4;
int32_t g_KeyScrollX = 0, g_KeyScrollY = 0;
int32_t g_KeyHoverRow = -1;
int32_t g_TimelineLabelWidth = 0, g_TimelineTop = 90;

static int32_t s_TextColor[3] = {255, 255, 255};
constexpr int32_t kLineBand = 4096;

void Panel_FlagAllDirty()
{
    g_PanelDirtyGroups = 1;
    g_PanelDirtyObj2Image = 1;
    g_PanelDirtyObj2Keys = 1;
    g_PanelDirtyTexture = 1;
    g_PanelDirtyEffect = 1;
}

void Panel_SetTextColor(int32_t r, int32_t g, int32_t b)
{
    s_TextColor[0] = r;
    s_TextColor[1] = g;
    s_TextColor[2] = b;
}

void Panel_TextOut(int32_t x, int32_t y, const char* format, ...)
{
    char text[512];
    va_list args;
    va_start(args, format);
    Str_FormatV(text, sizeof text, format, args);
    va_end(args);
    if (g_PanelTextHook) g_PanelTextHook(x, y, text, s_TextColor[0], s_TextColor[1], s_TextColor[2]);
}

void Panel_PutPixel(int32_t x, int32_t y, int32_t r, int32_t g, int32_t b)
{
    const PANEL_BITMAP& d = g_PanelDib;
    if (!d.bits || x < 0 || y < 0 || x >= d.width || y >= d.height) return;
    d.bits[(size_t)x + (size_t)y * (size_t)d.width] =
        ((uint32_t)r & 255u) << 16 | ((uint32_t)g & 255u) << 8 | ((uint32_t)b & 255u);
}

// One horizontal run x1 .. x2 - 1, clipped once instead of per pixel.
static void Span(int32_t x1, int32_t x2, int32_t y, uint32_t c)
{
    const PANEL_BITMAP& d = g_PanelDib;
    if (!d.bits || y < 0 || y >= d.height) return;
    if (x1 < 0) x1 = 0;
    if (x2 > d.width) x2 = d.width;
    uint32_t* row = d.bits + (size_t)y * (size_t)d.width;
    for (int32_t x = x1; x < x2; ++x) row[x] = c;
}

// A line reaching far off the bitmap (a coordinate from a file, a far scroll) is first cut to a band
// around it, so that it costs no more than the pixels near the bitmap; a line inside the band keeps
// its exact pixels. False when nothing of it comes near the bitmap.
static bool ClipToBand(int32_t* x1, int32_t* y1, int32_t* x2, int32_t* y2)
{
    const double lo[2] = {-kLineBand, -kLineBand};
    const double hi[2] = {(double)kPanelWidth + kLineBand, (double)kPanelHeight + kLineBand};
    const double p0[2] = {(double)*x1, (double)*y1}, p1[2] = {(double)*x2, (double)*y2};
    bool inside = true;
    for (int a = 0; a < 2; ++a)
        inside = inside && p0[a] >= lo[a] && p0[a] <= hi[a] && p1[a] >= lo[a] && p1[a] <= hi[a];
    if (inside) return true;
    // Liang-Barsky over the band.
    double t0 = 0.0, t1 = 1.0;
    for (int a = 0; a < 2; ++a) {
        const double d = p1[a] - p0[a];
        const double q[2] = {p0[a] - lo[a], hi[a] - p0[a]};
        const double pp[2] = {-d, d};
        for (int k = 0; k < 2; ++k) {
            if (pp[k] == 0.0) {
                if (q[k] < 0.0) return false;
                continue;
            }
            const double t = q[k] / pp[k];
            if (pp[k] < 0.0) t0 = t > t0 ? t : t0;
            else t1 = t < t1 ? t : t1;
        }
    }
    if (t0 > t1) return false;
    *x1 = (int32_t)std::lround(p0[0] + t0 * (p1[0] - p0[0]));
    *y1 = (int32_t)std::lround(p0[1] + t0 * (p1[1] - p0[1]));
    *x2 = (int32_t)std::lround(p0[0] + t1 * (p1[0] - p0[0]));
    *y2 = (int32_t)std::lround(p0[1] + t1 * (p1[1] - p0[1]));
    return true;
}

void Panel_Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t r, int32_t g, int32_t b)
{
    const uint32_t c = ((uint32_t)r & 255u) << 16 | ((uint32_t)g & 255u) << 8 | ((uint32_t)b & 255u);
    if (y1 == y2) {
        if (x1 <= x2) Span(x1, x2, y1, c);
        else Span(x2 + 1, x1 + 1, y1, c);
        return;
    }
    if (!ClipToBand(&x1, &y1, &x2, &y2)) return;
    // Bresenham from the first point, stopping before the last.
    int64_t dx = std::llabs((int64_t)x2 - x1), dy = -std::llabs((int64_t)y2 - y1);
    int32_t sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    int64_t err = dx + dy;
    int32_t x = x1, y = y1;
    while (x != x2 || y != y2) {
        Panel_PutPixel(x, y, r, g, b);
        int64_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void Panel_FillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t r, int32_t g, int32_t b)
{
    const uint32_t c = ((uint32_t)r & 255u) << 16 | ((uint32_t)g & 255u) << 8 | ((uint32_t)b & 255u);
    if (y1 < 0) y1 = 0;
    if (y2 > g_PanelDib.height) y2 = g_PanelDib.height;
    for (int32_t y = y1; y < y2; ++y) Span(x1, x2, y, c);
}

void Panel_Rect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t r, int32_t g, int32_t b)
{
    Panel_Line(x1, y1, x1, y2, r, g, b);
    Panel_Line(x1, y2, x2, y2, r, g, b);
    Panel_Line(x2, y2, x2, y1, r, g, b);
    Panel_Line(x2, y1, x1, y1, r, g, b);
}

int32_t Panel_TimeScale()
{
    const int32_t s = g_KeyTimeScale;
    return s < 1 ? 1 : (s > kMaxTimeScale ? kMaxTimeScale : s);
}

int64_t Panel_FrameOffset(int64_t frame) { return frame * 10 / Panel_TimeScale(); }

int32_t Panel_ClampX(int64_t x) { return x < INT32_MIN / 2 ? INT32_MIN / 2 : (x > INT32_MAX / 2 ? INT32_MAX / 2 : (int32_t)x); }

void Panel_ClipSize(int32_t* width, int32_t* height)
{
    if (*width < 0) *width = 0;
    if (*width > kPanelWidth) *width = kPanelWidth;
    if (*height < 0) *height = 0;
    if (*height > kPanelHeight) *height = kPanelHeight;
}

int32_t Panel_Ruler(const PANEL_RULER& r, int64_t last, int64_t base, int32_t lo, int32_t hi)
{
    const int64_t scale = Panel_TimeScale();
    // The first f with base + trunc(f * 10 / scale) >= lo is ceil((lo - base) * scale / 10).
    int64_t f = 60;
    const int64_t need = (int64_t)lo - base;
    if (need > 0) {
        const int64_t first = (need * scale + 9) / 10;
        const int64_t k = (first + 59) / 60;
        if (k > 1) f = k * 60;
    }
    int32_t marks = 0;
    for (; f <= last; f += 60) {
        const int64_t u = base + f * 10 / scale;
        if (u >= hi) break;
        if (u < lo) continue;   // not reached: f starts at the first visible mark
        const int32_t x = (int32_t)u;
        Panel_TextOut(x + r.textDx, r.textY, "%d", (int32_t)f);
        Panel_Line(x + r.tickDx, r.tickY0, x + r.tickDx, r.tickY1, 255, 255, 255);
        ++marks;
    }
    return marks;
}

int32_t Timeline_FrameX(int64_t frame)
{
    return Panel_ClampX(Panel_FrameOffset(frame) + g_KeyScrollX + g_TimelineLabelWidth);
}

// Indicators stand only right of the label column and inside the bitmap.
static bool OnTimeline(int32_t x) { return x >= g_TimelineLabelWidth && x < kPanelWidth; }

void Panel_PaintEffectTimeline(int32_t width, int32_t height)
{
    const int32_t L = g_TimelineLabelWidth, T = g_TimelineTop;
    int32_t W = width, H = height;
    Panel_ClipSize(&W, &H);
    const QVL::EFFECT* e = g_CurEffect;
    const int32_t parts = Effect_GetPartCount(e);
    const int32_t frame = g_CurEffectInst ? g_CurEffectInst->frame : 0;

    Panel_FillRect(0, 0, L + 1, H, 0, 0, 0);
    Panel_Line(L, T, L, kPanelHeight, 255, 255, 255);
    for (int32_t r = 0; r < parts; ++r) {
        const int32_t top = T + kTimelineRowHeight * r;
        if (r == g_CurLayer) Panel_SetTextColor(255, 255, 0);
        else Panel_SetTextColor(255, 255, 255);
        Panel_TextOut(8, top + 4, "%d : %s", r, e->parts[(size_t)r].name);
    }
    Panel_SetTextColor(255, 255, 255);

    Panel_FillRect(L + 1, 0, W, H, 0, 0, 0);
    Panel_Line(0, T, W, T, 255, 255, 255);
    for (int32_t r = 0; r < parts; ++r) {
        const QVL::EFFECT_PART& part = e->parts[(size_t)r];
        const int32_t top = T + kTimelineRowHeight * r;
        Panel_Line(0, top, W, top, 255, 255, 255);
        const int32_t n = part.keyCount < 0 ? 0 : (part.keyCount > QVL::kEffectMaxKeys ? QVL::kEffectMaxKeys : part.keyCount);
        for (int32_t k = 0; k < n; ++k) {
            const int32_t x = Timeline_FrameX(part.keys[k].frame);
            if (k == 0) {
                // The 2D object plays from the part's first key for the length of its first motion.
                const QVL::OBJ2* o = Obj2_GetById(part.object);
                if (o && !o->motions.empty()) {
                    int32_t x2 = Timeline_FrameX((int64_t)part.keys[0].frame + o->motions[0].length);
                    int32_t x1 = x + 3 > L + 1 ? x + 3 : L + 1;
                    Panel_FillRect(x1, top + 20, x2, top + 23, 128, 0, 255);
                }
            }
            if (OnTimeline(x)) Panel_Rect(x + 3, top + 2, x + 9, top + 23, 0, 128, 255);
        }
        if (r == g_CurLayer) {
            const int32_t x = Timeline_FrameX(frame);
            if (OnTimeline(x)) Panel_Rect(x + 2, top + 1, x + 10, top + 24, 255, 255, 0);
        }
    }
    if (e) {
        const int32_t x = Timeline_FrameX(e->frameCount) + 3;
        if (OnTimeline(x)) Panel_Line(x, T + 1, x, kPanelHeight, 0, 255, 0);
        const PANEL_RULER ruler = {0, T - 21, 3, T - 3, T};
        Panel_Ruler(ruler, e->frameCount, (int64_t)g_KeyScrollX + L, L, kPanelWidth);
    }
    Panel_TextOut(12, 6, "%5d", frame);
    Panel_TextOut(402, 6, "～");
    Panel_TextOut(568, 6, "繰り返し");
}
