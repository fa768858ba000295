// The texture screen's edits of one model: the texture entries, the unfolds, the face UV rotation,
// the hand drags of UV entries and the picture zoom.
#include <algorithm>
#include <cmath>
#include <vector>

#include "edit3d/tex_screen.h"
#include "model/model3.h"
#include "model/uv_map.h"

using namespace QVL;

namespace {

constexpr float kTwoPi = 6.28318f;

// A flat extent (one point, one line) gives 0 instead of dividing by zero.
float Ratio(float d, float extent) { return extent != 0.0f ? d / extent : 0.0f; }

int Corners(const FACE3& f) { return f.cornerCount > 4 ? 4 : f.cornerCount; }

int32_t FaceCount(const MODEL3* m) { return std::max(0, std::min<int32_t>(m->faceCount, (int32_t)m->faces.size())); }

int32_t UvCount(const MODEL3* m) { return std::max(0, std::min<int32_t>(m->uvCount, (int32_t)m->uvs.size())); }

bool Selected(const int32_t* sel, int32_t cap, int32_t i) { return sel && i >= 0 && i < cap && sel[i] == 1; }

bool ValidUv(const MODEL3* m, int32_t i) { return i >= 0 && i < UvCount(m); }

} // namespace

bool TexEdit_DeleteEntry(MODEL3* m, int32_t s)
{
    if (!m) return false;
    const int32_t count = std::min<int32_t>(m->textureCount, (int32_t)m->textures.size());
    if (s <= 0 || s >= count) return false;
    for (int32_t i = s; i + 1 < count; ++i) m->textures[(size_t)i] = m->textures[(size_t)i + 1];
    m->textureCount = (int16_t)(count - 1);
    TEXTURE3& last = m->textures[(size_t)count - 1];
    last = TEXTURE3{};
    for (GROUP3& g : m->groups) {
        if (g.texture >= s) --g.texture;
        if (g.normalMapTexture >= s) --g.normalMapTexture;
    }
    return true;
}

void TexEdit_UnfoldPositions(MODEL3* m, const int32_t* faceSel, int32_t faceCap)
{
    if (!m) return;
    const int32_t faces = FaceCount(m);
    float minX = 99999.0f, maxX = -99999.0f, minY = 99999.0f, maxY = -99999.0f;
    for (int32_t f = 0; f < faces; ++f) {
        const FACE3& face = m->faces[(size_t)f];
        for (int c = 0; c < Corners(face); ++c) {
            const XYZ p = Model3_PositionAt(m, face.corners[c][CORNER_POS]);
            minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
        }
    }
    const float width = maxX - minX, height = maxY - minY;
    std::vector<UV2> out;
    out.reserve((size_t)faces * 4);
    for (int32_t f = 0; f < faces; ++f) {
        if (!Selected(faceSel, faceCap, f)) continue;
        FACE3& face = m->faces[(size_t)f];
        bool front = true;
        for (int c = 0; c < Corners(face); ++c)
            if (Model3_NormalAt(m, face.corners[c][CORNER_NORMAL]).z < 0.0f) front = false;
        for (int c = 0; c < Corners(face); ++c) {
            const XYZ p = Model3_PositionAt(m, face.corners[c][CORNER_POS]);
            const float across = 0.5f * Ratio(maxX - p.x, width);
            face.corners[c][CORNER_UV] = (int32_t)out.size();
            out.push_back(UV2{front ? 0.5f + across : 0.5f - across, Ratio(maxY - p.y, height)});
        }
    }
    // The other faces keep what they showed: each old entry they use is copied once behind the new
    // ones (a seen-table, not a search), so no index points past the rebuilt list.
    const int32_t oldCount = UvCount(m);
    std::vector<int32_t> moved((size_t)oldCount, -1);
    for (int32_t f = 0; f < faces; ++f) {
        if (Selected(faceSel, faceCap, f)) continue;
        FACE3& face = m->faces[(size_t)f];
        for (int c = 0; c < Corners(face); ++c) {
            int32_t& index = face.corners[c][CORNER_UV];
            if (index >= 0 && index < oldCount) {
                if (moved[(size_t)index] < 0) {
                    moved[(size_t)index] = (int32_t)out.size();
                    out.push_back(m->uvs[(size_t)index]);
                }
                index = moved[(size_t)index];
            } else {
                index = (int32_t)out.size();
                out.push_back(UV2{0.0f, 0.0f});
            }
        }
    }
    if (m->uvs.size() < out.size()) m->uvs.resize(out.size());
    std::copy(out.begin(), out.end(), m->uvs.begin());
    m->uvCount = (int32_t)out.size();
}

void TexEdit_UnfoldNormals(MODEL3* m, const int32_t* faceSel, int32_t faceCap)
{
    if (!m) return;
    const int32_t faces = FaceCount(m);
    for (int32_t f = 0; f < faces; ++f) {
        if (!Selected(faceSel, faceCap, f)) continue;
        const FACE3& face = m->faces[(size_t)f];
        for (int c = 0; c < Corners(face); ++c) {
            const int32_t t = face.corners[c][CORNER_UV];
            if (!ValidUv(m, t)) continue;
            const XYZ n = Model3_NormalAt(m, face.corners[c][CORNER_NORMAL]);
            float u = n.x * 0.25f + 0.25f;
            if (n.z < 0.0f) u += 0.5f;
            m->uvs[(size_t)t] = UV2{u, 0.5f - n.y * 0.5f};
        }
    }
}

void TexEdit_UnfoldCylinder(MODEL3* m, int32_t group)
{
    if (!m) return;
    const int32_t faces = FaceCount(m);
    float minY = 99999.0f, maxY = -99999.0f;
    for (int32_t f = 0; f < faces; ++f) {
        const FACE3& face = m->faces[(size_t)f];
        if (face.group != group) continue;
        for (int c = 0; c < Corners(face); ++c) {
            const float y = Model3_PositionAt(m, face.corners[c][CORNER_POS]).y;
            minY = std::min(minY, y), maxY = std::max(maxY, y);
        }
    }
    const float height = maxY - minY;
    for (int32_t f = 0; f < faces; ++f) {
        const FACE3& face = m->faces[(size_t)f];
        if (face.group != group) continue;
        for (int c = 0; c < Corners(face); ++c) {
            const int32_t t = face.corners[c][CORNER_UV];
            if (!ValidUv(m, t)) continue;
            const XYZ p = Model3_PositionAt(m, face.corners[c][CORNER_POS]);
            float a = (float)std::atan2((double)p.z, (double)p.x);
            if (a < 0.0f) a += kTwoPi;
            float u = a / kTwoPi - 0.25f;
            if (u < 0.0f) u += 1.0f;
            m->uvs[(size_t)t] = UV2{u, Ratio(maxY - p.y, height)};
        }
    }
    Model3_MendGroupSeams(m, group);
}

void TexEdit_RotateFaceUvs(MODEL3* m, const int32_t* faceSel, int32_t faceCap)
{
    if (!m) return;
    const int32_t faces = FaceCount(m);
    for (int32_t f = 0; f < faces; ++f) {
        if (!Selected(faceSel, faceCap, f)) continue;
        FACE3& face = m->faces[(size_t)f];
        const int n = Corners(face);
        if (n < 2) continue;
        const int32_t last = face.corners[n - 1][CORNER_UV];
        for (int k = n - 1; k >= 1; --k) face.corners[k][CORNER_UV] = face.corners[k - 1][CORNER_UV];
        face.corners[0][CORNER_UV] = last;
    }
}

void TexEdit_DragUvs(MODEL3* m, const int32_t* uvSel, int32_t uvCap, int32_t tool, int32_t dx, int32_t dy,
                     float zoom, int32_t texW, int32_t texH, int32_t dlgW, int32_t dlgH)
{
    if (!m || !uvSel) return;
    if (tool == UV_TOOL_MOVE && (texW <= 0 || texH <= 0)) return;
    if (tool == UV_TOOL_ROTATE && (dlgW <= 0 || dlgH <= 0)) return;
    const int32_t n = std::min(UvCount(m), uvCap);
    const double angle = -(0.5 * (double)(dx - dy) * zoom) * 3.14159265358979 / 180.0;
    const float cs = (float)std::cos(angle), sn = (float)std::sin(angle);
    for (int32_t i = 0; i < n; ++i) {
        if (uvSel[i] != 1) continue;
        UV2& uv = m->uvs[(size_t)i];
        switch (tool) {
        case UV_TOOL_MOVE:
            uv.u += 128.0f / (float)texW * (float)dx * 0.01f;
            uv.v += 128.0f / (float)texH * (float)dy * 0.01f;
            break;
        case UV_TOOL_ROTATE: {
            const float W = (float)dlgW, H = (float)dlgH;
            const float x = (2.0f * uv.u - 1.0f) * W, y = (2.0f * uv.v - 1.0f) * H;
            const float x2 = x * cs + y * sn, y2 = y * cs - x * sn;
            uv.u = (W + x2) / (2.0f * W);
            uv.v = (H + y2) / (2.0f * H);
            break;
        }
        case UV_TOOL_SCALE:
            uv.u += zoom * (float)dx * (uv.u - 0.5f) * 0.005f;
            uv.v -= zoom * (float)dy * (uv.v - 0.5f) * 0.005f;
            break;
        default: return;
        }
    }
}

bool TexEdit_ZoomIn(float* zoom, int32_t* ox, int32_t* oy, int32_t texW, int32_t texH)
{
    if (!(*zoom < kTexZoomMax)) return false;
    *ox += (int32_t)(-(double)texW * 0.5 * *zoom);
    *oy += (int32_t)(-(double)texH * 0.5 * *zoom);
    *zoom *= 2.0f;
    return true;
}

bool TexEdit_ZoomOut(float* zoom, int32_t* ox, int32_t* oy, int32_t texW, int32_t texH)
{
    if (!(*zoom > kTexZoomMin)) return false;
    *zoom *= 0.5f;
    *ox += (int32_t)((double)texW * 0.5 * *zoom);
    *oy += (int32_t)((double)texH * 0.5 * *zoom);
    return true;
}
