// The key panels of the 2D and 3D editors: one row per visible bone or part (or per material group),
// the keys as boxes on the time axis, the current frame, the motion's end and the header ruler.
#include <cstring>

#include "model/model2.h"
#include "model/obj3.h"
#include "shell/current.h"
#include "shell/hierarchy.h"
#include "shell/panels.h"
#include "shell/playback.h"

PANEL_RECT g_KeyPanelRect = {0, 0, 1024, 300};
int32_t g_KeyLabelWidth = kKeyLabelWidth, g_KeyRowHeight = kKeyRowHeight;

int32_t Panel_KeyFrameX(int32_t frame)
{
    return Panel_ClampX(Panel_FrameOffset(frame) + g_KeyScrollX + kKeyLabelWidth + 1);
}

namespace {

// Row tops far off the bitmap are clamped so that the offsets added to them stay int32.
int32_t RowTop(int64_t row, int32_t y0) { return Panel_ClampX(row * kKeyRowHeight + y0); }

int32_t RowCount()
{
    return g_HierRowCount < 0 ? 0 : (g_HierRowCount > kHierMaxRows ? kHierMaxRows : g_HierRowCount);
}

int32_t KeyCount(const HIER_ROW& row)
{
    return row.keyCount < 0 ? 0 : (row.keyCount > kHierMaxKeys ? kHierMaxKeys : row.keyCount);
}

bool OnKeyArea(int32_t x, int32_t width) { return x >= kKeyLabelWidth && x < width; }

// A row's name may fill its whole field without a terminator.
void RowName(const HIER_ROW& row, char (&out)[256])
{
    std::memcpy(out, row.name, sizeof out - 1);
    out[sizeof out - 1] = 0;
}

void KeyBox(int32_t frame, int32_t top, int32_t width)
{
    const int32_t x = Panel_KeyFrameX(frame);
    if (OnKeyArea(x, width)) Panel_Rect(x + 1, top + 2, x + 7, top + 19, 0, 160, 255);
}

void RowLabel(const KEY_PANEL& p, const HIER_ROW& row, int32_t top)
{
    const bool parent = row.firstChild != 0;
    const char* prefix = "　";
    if (p.prefixes && parent) prefix = p.expanded && p.expanded(row.item) ? "－" : "＋";
    char name[256];
    RowName(row, name);
    const int32_t x = g_KeyPanelRect.left + 16 * (row.depth < 0 ? 0 : (row.depth > 64 ? 64 : row.depth)) + 1;
    Panel_SetTextColor(255, 255, 255);
    Panel_TextOut(x, top + 2, p.labelFormat, prefix, row.item, name);
    Panel_TextOut(x, top + 2, "□");
}

// The header strip: ruler and the current key and frame.
void KeyHeader(int32_t width, int32_t keyIndex, int32_t frame)
{
    const PANEL_RECT& k = g_KeyPanelRect;
    Panel_FillRect(0, 0, width, kKeyRowsTop, 0, 0, 0);
    Panel_Line(k.left, kKeyRowsTop, k.right, kKeyRowsTop, 255, 255, 255);
    Panel_SetTextColor(255, 255, 255);
    // The ruler runs up to the panel width read as a frame number.
    if (width >= 60) {
        const PANEL_RULER ruler = {-2, 6, 1, 24, 28};
        Panel_Ruler(ruler, width, (int64_t)g_TimelineLabelWidth + g_KeyScrollX + kKeyLabelWidth, kKeyLabelWidth,
                    width);
    }
    Panel_TextOut(k.left + 5, 6, "Key %d", keyIndex);
    Panel_TextOut(k.left + 72, 6, "Frame %d", frame);
}

// Steps shared by every multi-row key panel after the rows: the current-frame box, the divider, the
// hover and current-row lines, the motion's end, the header.
void KeyTail(const KEY_PANEL& p, int32_t width, int32_t y0)
{
    const PANEL_RECT& k = g_KeyPanelRect;
    const int32_t xc = Panel_KeyFrameX(p.frame);
    if (!p.playing && OnKeyArea(xc, width)) {
        const int32_t yc = RowTop(g_HierRowCur, y0);
        Panel_Rect(xc, yc + 1, xc + 8, yc + 20, 255, 255, 0);
    }
    Panel_Rect(kKeyLabelWidth, y0 + 1, kKeyLabelWidth, k.bottom, 255, 255, 255);
    if (g_KeyHoverRow >= 0) {
        const int32_t yh = RowTop((int64_t)g_KeyHoverRow + 1, y0);
        Panel_Line(k.left, yh, k.right, yh, p.hoverGrey, p.hoverGrey, 0);
        const int32_t yr = RowTop((int64_t)g_HierRowCur + 1, y0);
        Panel_Line(k.left, yr, k.right, yr, 200, 200, 0);
    }
    const int32_t xe = Panel_KeyFrameX(p.length);
    if (xe > kKeyLabelWidth - 1 && xe < width) Panel_Line(xe, y0 + 1, xe, k.bottom, 0, 255, 0);
    if (p.playing && xc > kKeyLabelWidth - 1 && xc < width) Panel_Line(xc, y0 + 1, xc, k.bottom, 0, 255, 255);
    KeyHeader(width, p.keyIndex, p.frame);
}

void SetKeyLayout()
{
    g_KeyLabelWidth = kKeyLabelWidth;
    g_KeyRowHeight = kKeyRowHeight;
}

} // namespace

void Panel_PaintHierKeys(const KEY_PANEL& p, int32_t width, int32_t height)
{
    int32_t W = width, H = height;
    Panel_ClipSize(&W, &H);
    SetKeyLayout();
    const PANEL_RECT& k = g_KeyPanelRect;
    const int32_t y0 = Panel_ClampX((int64_t)g_KeyScrollY + kKeyRowsTop);
    const int32_t rows = RowCount();
    if (p.labelsFirst) {
        Panel_FillRect(0, kKeyRowsTop, kKeyLabelWidth, H, 0, 0, 0);
        for (int32_t r = 0; r < rows; ++r) RowLabel(p, g_HierRows[r], RowTop(r, y0));
        Panel_FillRect(kKeyLabelWidth, kKeyRowsTop, W, H, 0, 0, 0);
    } else {
        Panel_FillRect(0, kKeyRowsTop, W, H, 0, 0, 0);
    }
    for (int32_t r = 0; r < rows; ++r) {
        const HIER_ROW& row = g_HierRows[r];
        const int32_t top = RowTop(r, y0);
        Panel_Line(p.labelsFirst ? kKeyLabelWidth : k.left, top + kKeyRowHeight, k.right, top + kKeyRowHeight, 128,
                   128, 128);
        if (!p.labelsFirst) RowLabel(p, row, top);
        if (row.item <= 0) continue;   // the root shows no keys
        const int32_t n = KeyCount(row);
        for (int32_t i = 0; i < n; ++i) KeyBox(row.keyFrames[i], top, W);
    }
    KeyTail(p, W, y0);
}

namespace {

int32_t Obj2PartExpanded(int32_t item)
{
    const QVL::OBJ2* o = g_CurObj2;
    return o && item >= 0 && item < QVL::kObj2MaxParts ? o->parts[item].expanded : 0;
}

int32_t Bone2Expanded(int32_t item)
{
    const QVL::MODEL2* m = g_CurModel2;
    return m && item >= 0 && item < QVL::kModel2Bones ? m->bones[item].expanded : 0;
}

int32_t Bone3Expanded(int32_t item)
{
    const QVL::MODEL3* m = g_CurModel3;
    return m && item >= 0 && item < QVL::kModel3Bones ? m->bones[item].expanded : 0;
}

} // namespace

void Panel_PaintObj2Keys(int32_t width, int32_t height)
{
    const QVL::OBJ2* o = g_CurObj2;
    KEY_PANEL p = {"%s %d : %s", o && o->partCount >= 2, Obj2PartExpanded, 0, 0, 0, g_PlayFlag == 1, 64, false};
    if (o) p.frame = o->frame;
    if (g_CurObj2Part) p.keyIndex = g_CurObj2Part->keyIndex;
    if (g_CurObj2Motion) p.length = g_CurObj2Motion->length;
    Panel_PaintHierKeys(p, width, height);
}

void Panel_PaintMotion2Keys(int32_t width, int32_t height)
{
    const QVL::MODEL2* m = g_CurModel2;
    KEY_PANEL p = {"%s %d:%s", m && m->boneCount >= 2, Bone2Expanded, 0, 0, 0, g_PlayFlag == 1, 64, false};
    if (m) {
        p.frame = m->currentFrame;
        if (g_CurBone >= 0 && g_CurBone < QVL::kModel2Bones) p.keyIndex = m->bones[g_CurBone].keyIndex;
        if (m->currentMotion >= 0 && m->currentMotion < QVL::kModel2Motions)
            p.length = m->motions[m->currentMotion].length;
    }
    Panel_PaintHierKeys(p, width, height);
}

void Panel_PaintMotion3Keys(int32_t width, int32_t height)
{
    const QVL::MODEL3* m = g_CurModel3;
    if (!m) return;
    KEY_PANEL p = {"%s %d:%s", m->boneCount >= 2, Bone3Expanded, m->currentFrame, 0, 0, g_PlayFlag == 1, 108, true};
    if (g_CurBone3) p.keyIndex = g_CurBone3->keyIndex;
    if (g_CurMotion3) p.length = g_CurMotion3->length;
    Panel_PaintHierKeys(p, width, height);
}

void Panel_PaintObj3Keys(int32_t width, int32_t height)
{
    int32_t W = width, H = height;
    Panel_ClipSize(&W, &H);
    SetKeyLayout();
    g_HierRowCur = 0;
    g_KeyHoverRow = 0;
    const PANEL_RECT& k = g_KeyPanelRect;
    const QVL::OBJ3* o = g_CurObj3;
    const int32_t v = Panel_ClampX(g_KeyScrollY);
    const bool playing = g_PlayFlag == 1;
    Panel_FillRect(0, kKeyRowsTop, W, H, 0, 0, 0);
    const HIER_ROW& row = g_HierRows[0];
    if (RowCount() > 0) {
        char name[256];
        RowName(row, name);
        Panel_SetTextColor(255, 255, 255);
        const int32_t depth = row.depth < 0 ? 0 : (row.depth > 64 ? 64 : row.depth);
        Panel_TextOut(k.left + 16 * depth + 5, v + 30, "%s", name);
        // Every row holds the object's key list; the first row's serves even a root-only object.
        const int32_t n = KeyCount(row);
        for (int32_t i = 0; i < n; ++i) {
            const int32_t x = Panel_KeyFrameX(row.keyFrames[i]);
            if (OnKeyArea(x, W)) Panel_Rect(x + 1, v + 30, x + 7, v + 47, 0, 160, 255);
        }
    }
    const int32_t frame = o ? o->frame : 0;
    const int32_t xc = Panel_KeyFrameX(frame);
    if (!playing && OnKeyArea(xc, W)) Panel_Rect(xc, v + 29, xc + 8, v + 48, 255, 255, 0);
    Panel_Rect(kKeyLabelWidth, v + 29, kKeyLabelWidth, v + 49, 255, 255, 255);
    int32_t length = 0;
    if (o && o->motion >= 0 && o->motion < QVL::kObj3Motions) length = o->motions[o->motion].length;
    const int32_t xe = Panel_KeyFrameX(length);
    if (xe > kKeyLabelWidth - 1 && xe < W) Panel_Line(xe, v + 29, xe, v + 49, 0, 255, 0);
    if (playing && xc > kKeyLabelWidth - 1 && xc < W) Panel_Line(xc, v + 29, xc, v + 49, 0, 255, 255);
    KeyHeader(W, o ? o->keyIndex : 0, frame);
    Panel_Line(k.left, 49, k.right, 49, 255, 255, 255);
}

void Panel_PaintGroupTrackKeys(int32_t width, int32_t height)
{
    const QVL::MODEL3* m = g_CurModel3;
    if (!m) return;
    int32_t W = width, H = height;
    Panel_ClipSize(&W, &H);
    SetKeyLayout();
    const PANEL_RECT& k = g_KeyPanelRect;
    const int32_t y0 = Panel_ClampX((int64_t)g_KeyScrollY + kKeyRowsTop);
    int32_t groups = m->groupCount < 0 ? 0 : (m->groupCount > QVL::kModel3Groups ? QVL::kModel3Groups : m->groupCount);
    if ((size_t)groups > m->groups.size()) groups = (int32_t)m->groups.size();
    Panel_FillRect(0, kKeyRowsTop, kKeyLabelWidth, H, 0, 0, 0);
    for (int32_t g = 0; g < groups; ++g) {
        char name[256];
        std::memcpy(name, m->groups[(size_t)g].name, sizeof name - 1);
        name[sizeof name - 1] = 0;
        if (g == g_CurBone) Panel_SetTextColor(255, 255, 0);
        else Panel_SetTextColor(255, 255, 255);
        Panel_TextOut(k.left + 1, RowTop(g, y0) + 2, "%2d:%s", g, name);
    }
    Panel_SetTextColor(255, 255, 255);
    Panel_FillRect(kKeyLabelWidth, kKeyRowsTop, W, H, 0, 0, 0);
    const QVL::MOTION3* motion = g_CurMotion3;
    for (int32_t g = 0; g < groups; ++g) {
        const int32_t top = RowTop(g, y0);
        Panel_Line(kKeyLabelWidth, top + kKeyRowHeight, k.right, top + kKeyRowHeight, 128, 128, 128);
        if (!motion) continue;
        const QVL::GROUP_TRACK3& t = motion->tracks[g];
        const int32_t n = t.keyCount < 0 ? 0 : (t.keyCount > QVL::kModel3GroupKeys ? QVL::kModel3GroupKeys : t.keyCount);
        for (int32_t i = 0; i < n; ++i) KeyBox(t.keys[i].frame, top, W);
    }
    KEY_PANEL p = {"", false, nullptr, m->currentFrame, 0, motion ? motion->length : 0, g_PlayFlag == 1, 108, true};
    if (motion && g_CurBone >= 0 && g_CurBone < QVL::kModel3Groups) p.keyIndex = motion->tracks[g_CurBone].keyIndex;
    KeyTail(p, W, y0);
}
