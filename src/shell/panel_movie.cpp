// The movie editor's timeline: one row per track with its keys, the current frame, the end and the
// ruler, under a header whose texts label the host dialog's controls.
#include "shell/current.h"
#include "shell/panels.h"

const MOVIE_TIMELINE* g_MovieTimeline = nullptr;

const char* Panel_MovieKindName(int32_t kind)
{
    static const char* const kNames[] = {"２Ｄイメージ", "２Ｄモデル(QVA)", "２Ｄモデル(QVB)", "３Ｄモデル(QVO)",
                                         "３Ｄモデル(QVP)", "カメラ(３Ｄ用)", "シーン", "ＢＧＭ", "効果音", "メッセージ"};
    return kind >= 0 && kind < (int32_t)(sizeof kNames / sizeof kNames[0]) ? kNames[kind] : "";
}

namespace {

bool OnTimeline(int32_t x) { return x >= g_TimelineLabelWidth && x < kPanelWidth; }

constexpr int32_t kMovieRowsTop = 88;

} // namespace

void Panel_PaintMovieTimeline(int32_t width, int32_t height)
{
    const MOVIE_TIMELINE* m = g_MovieTimeline;
    if (!m) return;
    int32_t W = width, H = height;
    Panel_ClipSize(&W, &H);
    const int32_t L = g_TimelineLabelWidth, T = g_TimelineTop;
    const int32_t y0 = Panel_ClampX((int64_t)g_KeyScrollY + kMovieRowsTop);
    const int32_t tracks = m->tracks && m->trackCount > 0 ? m->trackCount : 0;
    auto rowTop = [&](int32_t r) { return Panel_ClampX((int64_t)kTimelineRowHeight * r + y0); };

    Panel_FillRect(0, 0, L + 1, H, 0, 0, 0);
    Panel_Line(L, T, L, kPanelHeight, 255, 255, 255);
    for (int32_t r = 0; r < tracks; ++r) {
        const MOVIE_TIMELINE_TRACK& t = m->tracks[r];
        if (r == g_CurLayer) Panel_SetTextColor(255, 255, 0);
        else Panel_SetTextColor(255, 255, 255);
        Panel_TextOut(8, rowTop(r) + 3, "%2d : %s ( %s )", r, t.name ? t.name : "", Panel_MovieKindName(t.kind));
    }
    Panel_SetTextColor(255, 255, 255);

    Panel_FillRect(L + 1, 0, W, H, 0, 0, 0);
    Panel_Line(0, T, W, T, 255, 255, 255);
    for (int32_t r = 0; r < tracks; ++r) {
        const MOVIE_TIMELINE_TRACK& t = m->tracks[r];
        const int32_t top = rowTop(r);
        Panel_Line(0, top, W, top, 255, 255, 255);
        if (t.keyFrames && t.keyStride > 0)
            for (int32_t k = 0; k < t.keyCount; ++k) {
                const int32_t x = Timeline_FrameX(t.keyFrames[(size_t)k * (size_t)t.keyStride]);
                if (OnTimeline(x)) Panel_Rect(x + 3, top + 2, x + 9, top + 23, 0, 128, 255);
            }
        if (r == g_CurLayer && m->playState == 0) {
            const int32_t x = Timeline_FrameX(m->frame);
            if (OnTimeline(x)) Panel_Rect(x + 2, top + 1, x + 10, top + 24, 255, 255, 0);
        }
    }
    const int32_t xe = Timeline_FrameX(m->length) + 3;
    if (OnTimeline(xe)) Panel_Line(xe, T + 1, xe, kPanelHeight, 0, 255, 0);
    const int32_t xf = Timeline_FrameX(m->frame) + 1;
    if (OnTimeline(xf)) Panel_Line(xf, T + 1, xf, kPanelHeight, 0, 255, 255);

    Panel_FillRect(0, 0, W, kMovieRowsTop, 0, 0, 0);
    Panel_Line(g_KeyPanelRect.left, kMovieRowsTop, g_KeyPanelRect.right, kMovieRowsTop, 255, 255, 255);
    const PANEL_RULER ruler = {0, T - 21, 3, T - 3, T};
    Panel_Ruler(ruler, m->length, (int64_t)g_KeyScrollX + L, L, kPanelWidth);
    Panel_TextOut(12, 5, "%5d", m->frame);
    Panel_TextOut(402, 5, "～");
    Panel_TextOut(568, 5, "繰り返し");
    Panel_TextOut(663, 5, "次のQVVへ(編集用)");
    Panel_TextOut(568, 29, "表示");
}
