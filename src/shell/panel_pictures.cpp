// The group swatches, the texture panels with the UV layout, and the 2D object's picture panel.
#include <algorithm>
#include <cmath>
#include <vector>

#include "frame/image.h"
#include "model/model2.h"
#include "model/obj2.h"
#include "model/uv_map.h"
#include "shell/current.h"
#include "shell/panel_states.h"
#include "shell/panels.h"
#include "shell/picking.h"

namespace {

void PutRaw(int32_t x, int32_t y, uint32_t c)
{
    const PANEL_BITMAP& d = g_PanelDib;
    if (!d.bits || x < 0 || y < 0 || x >= d.width || y >= d.height) return;
    d.bits[(size_t)x + (size_t)y * (size_t)d.width] = c;
}

int32_t ToByte(float v)
{
    if (!(v > 0.0f)) return 0;   // NaN too
    return v >= 255.0f ? 255 : (int32_t)v;
}

// --- Swatches ---

struct SWATCH {
    bool exists;
    float r, g, b;
    int32_t texture;   // pixel copy entry, -1 none
};

void PaintSwatches(bool draw, int32_t first, SWATCH (*get)(int32_t group))
{
    Panel_FillRect(0, 0, kSwatchWidth, kSwatchHeight, 128, 128, 128);
    if (!draw) return;
    for (int32_t y = 17; y <= 269; y += 18) Panel_Line(0, y, kSwatchWidth, y, 255, 255, 255);
    Panel_Line(17, 0, 17, kSwatchHeight, 255, 255, 255);
    Panel_Line(35, 0, 35, kSwatchHeight, 255, 255, 255);
    for (int32_t row = 0; row < kSwatchRows; ++row) {
        const SWATCH s = get((int32_t)((int64_t)first + row > INT32_MAX ? -1 : first + row));
        if (!s.exists) continue;
        const int32_t b = 18 * row;
        Panel_Line(4, b + 9, 8, b + 15, 255, 255, 255);
        Panel_Line(12, b + 3, 7, b + 14, 255, 255, 255);
        Panel_FillRect(18, b, 35, b + 17, ToByte(s.r), ToByte(s.g), ToByte(s.b));
        if (s.texture < 0) continue;
        const QVL::PIXEL_COPY& c = g_PixelCopies[s.texture];
        const int64_t w = c.width, h = c.height;
        for (int32_t i = 0; i <= 16; ++i)
            for (int32_t j = 0; j <= 17; ++j)
                PutRaw(36 + j, b + i,
                       Panel_FromCopyPixel(Image_GetCopyPixel(s.texture, (int32_t)(j * w / 18 + i * h / 17 * w))));
    }
}

SWATCH Group3Swatch(int32_t g)
{
    const QVL::MODEL3* m = g_CurModel3;
    SWATCH s = {false, 0, 0, 0, -1};
    if (!m || g < 0 || g >= m->groupCount || (size_t)g >= m->groups.size()) return s;
    const QVL::GROUP3& gr = m->groups[(size_t)g];
    s = {true, gr.color[0], gr.color[1], gr.color[2], -1};
    const int32_t t = gr.texture;
    if (t > 0 && t < QVL::kModel3Textures && (size_t)t < m->textures.size() && m->textures[(size_t)t].used) s.texture = t;
    return s;
}

SWATCH Group2Swatch(int32_t g)
{
    const QVL::MODEL2* m = g_CurModel2;
    SWATCH s = {false, 0, 0, 0, -1};
    if (!m || g < 0 || g >= m->groupCount || g >= QVL::kModel2Groups) return s;
    const QVL::GROUP2& gr = m->groups[g];
    s = {true, gr.r, gr.g, gr.b, -1};
    const int32_t t = gr.texture;
    if (t > 0 && t < QVL::kModel2Textures && m->textures[t].used) s.texture = t;
    return s;
}

// --- Texture panels ---

struct TEX_VIEW {
    int32_t entry;   // pixel copy
    float zoom;
    int32_t ox, oy;
    float width, height;   // of the texture, for the UVs
};

// The texture's pixel copy, each texel a zoom x zoom block, clipped to the panel.
void PaintTexels(const TEX_VIEW& v)
{
    const QVL::PIXEL_COPY& c = g_PixelCopies[v.entry];
    if (!c.pixels || c.width <= 0 || c.height <= 0) return;
    const double z = v.zoom;
    // Each panel pixel shows the texel whose block covers it.
    for (int32_t py = 0; py < kTexPanelSide; ++py) {
        const double ty = std::floor((py - (double)v.oy) / z);
        if (ty < 0 || ty >= c.height) continue;
        for (int32_t px = 0; px < kTexPanelSide; ++px) {
            const double tx = std::floor((px - (double)v.ox) / z);
            if (tx < 0 || tx >= c.width) continue;
            PutRaw(px, py, Panel_FromCopyPixel(c.pixels[(size_t)tx + (size_t)ty * (size_t)c.width]));
        }
    }
}

int32_t UvX(const TEX_VIEW& v, float u) { return Panel_ClampX((int64_t)std::lround(std::fmin(std::fmax((double)u * v.width * v.zoom + v.ox, -1e9), 1e9))); }
int32_t UvY(const TEX_VIEW& v, float t) { return Panel_ClampX((int64_t)std::lround(std::fmin(std::fmax((double)t * v.height * v.zoom + v.oy, -1e9), 1e9))); }

// A face's outline through its corners' texture coordinates.
void Outline(const TEX_VIEW& v, const float* u, const float* t, int32_t n)
{
    for (int32_t c = 0; c < n; ++c) {
        const int32_t d = (c + 1) % n;
        Panel_Line(UvX(v, u[c]), UvY(v, t[c]), UvX(v, u[d]), UvY(v, t[d]), 255, 0, 0);
    }
}

// The rectangle selection and the drawing of one texture coordinate.
void UvPoint(const TEX_DLG_STATE& st, const TEX_VIEW& v, float u, float t, size_t index)
{
    const int32_t x = UvX(v, u), y = UvY(v, t);
    if (index >= (size_t)Sel_VertexCapacity()) return;
    if (st.drag == kTexDragRect) {
        const int32_t x1 = std::min(st.dragRect[0], st.dragRect[2]), x2 = std::max(st.dragRect[0], st.dragRect[2]);
        const int32_t y1 = std::min(st.dragRect[1], st.dragRect[3]), y2 = std::max(st.dragRect[1], st.dragRect[3]);
        if (x > x1 && x < x2 && y > y1 && y < y2) {
            if (st.add) g_UvSel[index] = 1;
            else if (st.remove) g_UvSel[index] = 0;
        }
    }
    if (g_UvSel[index] != 1) return;
    Panel_Rect(x - 2, y - 2, x + 2, y + 2, 0, 0, 0);
    Panel_Rect(x - 1, y - 1, x + 1, y + 1, 255, 255, 0);
    Panel_PutPixel(x, y, 255, 255, 0);
}

void DragOutline(const TEX_DLG_STATE& st)
{
    if (st.drag != kTexDragRect) return;
    const int32_t* r = st.dragRect;
    if (st.add) Panel_Rect(r[0], r[1], r[2], r[3], 0, 0, 255);
    else if (st.remove) Panel_Rect(r[0], r[1], r[2], r[3], 128, 0, 0);
}

bool TexView(const TEX_DLG_STATE& st, int32_t entry, int32_t width, int32_t height, TEX_VIEW* out)
{
    // A zoom of 0 (or NaN) would map every texel onto one point and divide by zero.
    if (!(st.zoom > 0.0f) || !std::isfinite(st.zoom)) return false;
    *out = {entry, st.zoom, st.offsetX, st.offsetY, (float)width, (float)height};
    return true;
}

} // namespace

void Panel_PaintGroups3D(int32_t, int32_t)
{
    PaintSwatches(g_CurModel3 != nullptr, g_Group3DList.firstVisible, Group3Swatch);
}

void Panel_PaintGroups2D(int32_t, int32_t)
{
    PaintSwatches(true, g_Tex2DState.groupTop, Group2Swatch);
}

void Panel_PaintTexture3D(int32_t, int32_t)
{
    Panel_FillRect(0, 0, kTexPanelSide, kTexPanelSide, 0, 0, 72);
    QVL::MODEL3* m = g_CurModel3;
    const TEX_DLG_STATE& st = g_Tex3DState;
    const int32_t t = st.texture;
    if (!m || t <= 0 || t >= QVL::kModel3Textures || (size_t)t >= m->textures.size() || !m->textures[(size_t)t].used)
        return;
    Model3_MapGroupUv(m->id, g_CurGroup);
    TEX_VIEW v;
    if (!TexView(st, t, m->textures[(size_t)t].width, m->textures[(size_t)t].height, &v)) return;
    PaintTexels(v);
    const size_t uvs = std::min((size_t)(m->uvCount < 0 ? 0 : m->uvCount), m->uvs.size());
    if (g_CurGroup >= 0 && (size_t)g_CurGroup < m->groups.size() && m->groups[(size_t)g_CurGroup].texture == t) {
        const size_t faces = std::min((size_t)(m->faceCount < 0 ? 0 : m->faceCount), m->faces.size());
        for (size_t f = 0; f < faces && f < (size_t)Sel_FaceCapacity(); ++f) {
            const QVL::FACE3& face = m->faces[f];
            if (face.group != g_CurGroup || g_FaceSel[f] != 1) continue;
            const int32_t n = face.cornerCount > 4 ? 4 : face.cornerCount;
            float u[4], t2[4];
            bool ok = n > 0;
            for (int32_t c = 0; c < n && ok; ++c) {
                const int32_t i = face.corners[c][QVL::CORNER_UV];
                ok = i >= 0 && (size_t)i < uvs;
                if (ok) u[c] = m->uvs[(size_t)i].u, t2[c] = m->uvs[(size_t)i].v;
            }
            if (ok) Outline(v, u, t2, n);
        }
    }
    for (size_t i = 0; i < uvs; ++i) UvPoint(st, v, m->uvs[i].u, m->uvs[i].v, i);
    DragOutline(st);
}

void Panel_PaintTexture2D(int32_t, int32_t)
{
    Panel_FillRect(0, 0, kTexPanelSide, kTexPanelSide, 0, 0, 72);
    const QVL::MODEL2* m = g_CurModel2;
    const TEX_DLG_STATE& st = g_Tex2DState;
    const int32_t t = st.texture;
    if (!m || t <= 0 || t >= QVL::kModel2Textures || !m->textures[t].used) return;
    TEX_VIEW v;
    if (!TexView(st, t, m->textures[t].width, m->textures[t].height, &v)) return;
    PaintTexels(v);
    if (g_CurGroup < 0 || g_CurGroup >= QVL::kModel2Groups || m->groups[g_CurGroup].texture != t) return;
    const size_t uvs = std::min((size_t)m->uvCount, m->uvs.size());
    const size_t faces = std::min((size_t)(m->polygonCount < 0 ? 0 : m->polygonCount), m->polygons.size());
    std::vector<uint8_t> drawn(uvs, 0);
    for (size_t f = 0; f < faces; ++f) {
        const QVL::FACE2& face = m->polygons[f];
        if (face.group != g_CurGroup) continue;
        const int32_t n = face.cornerCount > 4 ? 4 : face.cornerCount;
        bool selected = n > 0, valid = n > 0;
        float u[4], t2[4];
        for (int32_t c = 0; c < n; ++c) {
            const size_t vi = face.corners[c][0], ui = face.corners[c][2];
            if (ui >= uvs) valid = false;
            else u[c] = m->uvs[ui].u, t2[c] = m->uvs[ui].v;
            if (vi >= (size_t)Sel_VertexCapacity() || g_VertexSel[vi] != 1) selected = false;
        }
        if (!valid) continue;
        if (f < (size_t)Sel_FaceCapacity() && g_FaceSel[f] == 0)
            for (int32_t c = 0; c < n; ++c)
                if ((size_t)face.corners[c][2] < (size_t)Sel_VertexCapacity()) g_UvSel[face.corners[c][2]] = 0;
        if (!selected) continue;
        Outline(v, u, t2, n);
        for (int32_t c = 0; c < n; ++c) drawn[face.corners[c][2]] = 1;
    }
    for (size_t i = 0; i < uvs; ++i)
        if (drawn[i]) UvPoint(st, v, m->uvs[i].u, m->uvs[i].v, i);
    DragOutline(st);
}

void Panel_PaintObj2Image(int32_t width, int32_t height)
{
    int32_t W = width, H = height;
    Panel_ClipSize(&W, &H);
    Panel_FillRect(0, 0, W, H, 128, 128, 128);
    const QVL::OBJ2* o = g_CurObj2;
    const int32_t image = g_Obj2DState.picture;
    if (!o || image < 0 || image >= QVL::kObj2MaxImages) return;
    Obj2_CopyImagePixels(o->id, image);
    const QVL::PIXEL_COPY& c = g_Obj2Pixels;
    if (c.pixels && c.width > 0 && c.height > 0) {
        const int32_t rows = std::min(c.height, H - 25), cols = std::min(c.width, W);
        for (int32_t y = 0; y < rows; ++y)
            for (int32_t x = 0; x < cols; ++x)
                PutRaw(x, y + 25, Panel_FromCopyPixel(c.pixels[(size_t)x + (size_t)y * (size_t)c.width]));
    }
    const int64_t px = o->pivotX[image], py = o->pivotY[image];
    const int32_t x1 = Panel_ClampX(px - 6), x2 = Panel_ClampX(px + 6);
    const int32_t y1 = Panel_ClampX(py + 19), y2 = Panel_ClampX(py + 31);
    Panel_Line(x1, y1, x2, y2, 255, 255, 0);
    Panel_Line(x2, y1, x1, y2, 255, 255, 0);
}
