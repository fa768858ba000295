#include "shell/picking.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

#include "frame/lib.h"
#include "model/model_table.h"
#include "model/motion3.h"
#include "render/camera.h"
#include "shell/app_state.h"
#include "shell/current.h"
#include "shell/dlg_slot.h"
#include "shell/hierarchy.h"
#include "shell/input_state.h"
#include "shell/mode_hooks.h"
#include "shell/playback.h"
#include "shell/views.h"

int32_t* g_FaceSel;
int32_t* g_VertexSel;
int32_t* g_UvSel;
float (*g_ProjVerts)[3];
float (*g_FaceCentres)[2];
float (*g_FaceNormals2D)[2];
uint8_t g_SelectDrag, g_DeselectDrag;
int32_t g_PickedFace = -1;
int32_t g_WeightVertex;

namespace {

int32_t s_FaceCap, s_VertexCap;

// What the projection buffer was made from: re-projecting is skipped while the camera (judged by a
// few probe points), the model and its positions are unchanged, so a hover pick reads the buffer.
const QVL::MODEL3* s_ProjModel;
int32_t s_ProjCount = -1;
uint32_t s_ProjGen = 1;
std::vector<QVL::XYZ> s_ProjSource;
QVL::VEC3 s_ProjProbe[5];

// The bucket grid over the projected positions (counting-sort layout, no per-pick allocation once
// the capacities are reached).
struct GRID {
    const float (*proj)[3] = nullptr;
    int32_t count = -1;
    uint32_t gen = 0;
    float x0 = 0, y0 = 0, cell = 1;
    int32_t w = 0, h = 0;
    std::vector<int32_t> start;   // w * h + 1 offsets into items
    std::vector<int32_t> items;   // position indices, ascending within a cell
    std::vector<int32_t> outside; // finite positions beyond the grid's extent, ascending
    std::vector<int32_t> fill;    // build scratch
};
GRID s_Grid;

constexpr float kGridExtent = 16384.0f;   // pixels beyond which a point is scanned, not bucketed

int32_t SelectionMode() { return g_PickEditorHooks.selectionMode ? *g_PickEditorHooks.selectionMode : 0; }
int32_t Tool() { return g_PickEditorHooks.tool ? *g_PickEditorHooks.tool : 0; }

bool Finite2(const float* p) { return std::isfinite(p[0]) && std::isfinite(p[1]); }

void Cross(const float a[3], const float b[3], float out[3])
{
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

float Dot(const float a[3], const float b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

float Length(const float a[3]) { return std::sqrt(Dot(a, a)); }

void ProbeCamera(QVL::VEC3 out[5])
{
    static const float kPoints[5][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1}};
    for (int i = 0; i < 5; ++i) Render_ProjectToScreen(&out[i], kPoints[i][0], kPoints[i][1], kPoints[i][2]);
}

bool ProjectionFresh(const QVL::MODEL3* m, int32_t n)
{
    if (m != s_ProjModel || n != s_ProjCount || (size_t)n > s_ProjSource.size()) return false;
    QVL::VEC3 probe[5];
    ProbeCamera(probe);
    if (std::memcmp(probe, s_ProjProbe, sizeof probe) != 0) return false;
    return n == 0 || std::memcmp(m->positions.data(), s_ProjSource.data(), (size_t)n * sizeof(QVL::XYZ)) == 0;
}

// The positions the projection covers: the stored ones, within the buffer.
int32_t ProjectedCount(const QVL::MODEL3* m)
{
    int32_t n = (int32_t)m->positions.size();
    if (m->positionCount < n) n = m->positionCount < 0 ? 0 : m->positionCount;
    return n < s_VertexCap ? n : s_VertexCap;
}

int32_t FaceCount(const QVL::MODEL3* m)
{
    int32_t n = (int32_t)m->faces.size();
    if (m->faceCount < n) n = m->faceCount < 0 ? 0 : m->faceCount;
    return n < s_FaceCap ? n : s_FaceCap;
}

bool CornerOk(const QVL::MODEL3* m, const QVL::FACE3& f, int k, int32_t positions)
{
    (void)m;
    int32_t v = f.corners[k][QVL::CORNER_POS];
    return v >= 0 && v < positions;
}

void BuildGrid(const float (*proj)[3], int32_t count)
{
    GRID& g = s_Grid;
    g.proj = proj;
    g.count = count;
    g.gen = s_ProjGen;
    g.outside.clear();
    float minX = kGridExtent, minY = kGridExtent, maxX = -kGridExtent, maxY = -kGridExtent;
    int32_t inside = 0;
    for (int32_t i = 0; i < count; ++i) {
        const float* p = proj[i];
        if (!Finite2(p) || std::fabs(p[0]) > kGridExtent || std::fabs(p[1]) > kGridExtent) continue;
        if (p[0] < minX) minX = p[0];
        if (p[0] > maxX) maxX = p[0];
        if (p[1] < minY) minY = p[1];
        if (p[1] > maxY) maxY = p[1];
        ++inside;
    }
    if (inside == 0) { minX = minY = 0; maxX = maxY = 1; }
    float spanX = maxX - minX + 1.0f, spanY = maxY - minY + 1.0f;
    // About two positions per cell, at most 512 cells a side.
    float cell = std::sqrt(spanX * spanY / (float)(inside / 2 + 1));
    if (cell < 1.0f) cell = 1.0f;
    int32_t w = (int32_t)(spanX / cell) + 1, h = (int32_t)(spanY / cell) + 1;
    if (w > 512) { w = 512; }
    if (h > 512) { h = 512; }
    cell = std::fmax(spanX / (float)w, spanY / (float)h);
    w = (int32_t)(spanX / cell) + 1;
    h = (int32_t)(spanY / cell) + 1;
    g.x0 = minX;
    g.y0 = minY;
    g.cell = cell;
    g.w = w;
    g.h = h;
    g.start.assign((size_t)w * h + 1, 0);
    g.items.resize((size_t)inside);
    auto cellOf = [&](const float* p) {
        int32_t cx = (int32_t)((p[0] - g.x0) / g.cell), cy = (int32_t)((p[1] - g.y0) / g.cell);
        if (cx < 0) cx = 0;
        if (cx >= w) cx = w - 1;
        if (cy < 0) cy = 0;
        if (cy >= h) cy = h - 1;
        return cy * w + cx;
    };
    for (int32_t i = 0; i < count; ++i) {
        const float* p = proj[i];
        if (!Finite2(p)) continue;
        if (std::fabs(p[0]) > kGridExtent || std::fabs(p[1]) > kGridExtent) { g.outside.push_back(i); continue; }
        ++g.start[(size_t)cellOf(p) + 1];
    }
    for (size_t c = 1; c < g.start.size(); ++c) g.start[c] += g.start[c - 1];
    g.fill.assign(g.start.begin(), g.start.end() - 1);
    for (int32_t i = 0; i < count; ++i) {
        const float* p = proj[i];
        if (!Finite2(p) || std::fabs(p[0]) > kGridExtent || std::fabs(p[1]) > kGridExtent) continue;
        g.items[(size_t)g.fill[(size_t)cellOf(p)]++] = i;
    }
}

// Keeps the better of (d, i) and the best so far: the smaller distance, the lower index on a tie.
inline void Consider(const float (*proj)[3], int32_t i, float x, float y, float* best, int32_t* bestIndex)
{
    float d = std::fabs(proj[i][0] - x) + std::fabs(proj[i][1] - y);
    if (!(d == d)) return;
    if (*bestIndex < 0 || d < *best || (d == *best && i < *bestIndex)) {
        *best = d;
        *bestIndex = i;
    }
}

// Clears the selection flags of the model's faces and positions.
void ClearSelection(const QVL::MODEL3* m)
{
    int32_t faces = FaceCount(m), positions = ProjectedCount(m);
    if (faces > 0) std::memset(g_FaceSel, 0, (size_t)faces * sizeof(int32_t));
    if (positions > 0) std::memset(g_VertexSel, 0, (size_t)positions * sizeof(int32_t));
}

bool ClickInMainView()
{
    if (!g_CurView || g_CurView->type != VIEW_MAIN) return false;
    if (g_PlayFlag != 0) return false;
    return g_DragStart.x == g_PressPoint.x && g_DragStart.y == g_PressPoint.y;
}

// Manhattan distance in integers from the cursor to a projected point; far points saturate.
int64_t PixelDistance(float sx, float sy)
{
    int32_t px = Sel_TruncPixel(sx), py = Sel_TruncPixel(sy);
    if (px == INT32_MIN || py == INT32_MIN) return INT64_MAX;
    return std::llabs((int64_t)g_PressPoint.y - py) + std::llabs((int64_t)g_PressPoint.x - px);
}

QVL::MODEL3* LayerModel()
{
    if (g_CurLayer < 0 || (size_t)g_CurLayer >= g_LayerModelIds.size()) return nullptr;
    return Model3_GetById(g_LayerModelIds[(size_t)g_CurLayer]);
}

} // namespace

int32_t Sel_FaceCapacity() { return s_FaceCap; }
int32_t Sel_VertexCapacity() { return s_VertexCap; }

void Sel_AllocBuffers()
{
    int32_t faces = g_Lib.maxPolygons > 0 ? g_Lib.maxPolygons : 65000;
    if (faces > 0x1FFFFFFF / 4) faces = 0x1FFFFFFF / 4;
    int32_t verts = faces * 4;
    if (!g_FaceSel) g_FaceSel = new int32_t[(size_t)faces]();
    if (!g_VertexSel) g_VertexSel = new int32_t[(size_t)verts]();
    if (!g_UvSel) g_UvSel = new int32_t[(size_t)verts]();
    if (!g_ProjVerts) g_ProjVerts = new float[(size_t)verts][3]();
    if (!g_FaceCentres) g_FaceCentres = new float[(size_t)faces][2]();
    if (!g_FaceNormals2D) g_FaceNormals2D = new float[(size_t)faces][2]();
    if (s_FaceCap == 0) {
        s_FaceCap = faces;
        s_VertexCap = verts;
        s_ProjSource.reserve((size_t)verts);
    }
}

void View_ClassifyDrag()
{
    g_SelectDrag = g_DeselectDrag = 0;
    if (g_Lib.keys['Z']) return;
    const int32_t* held = g_Lib.mouse.held;
    bool ctrl = g_Lib.keys[0x11] != 0;
    if (held[0] && !held[1] && !held[2]) {
        if (ctrl) g_DeselectDrag = 1;
        else g_SelectDrag = 1;
    } else if (held[2] && !held[0] && !held[1]) {
        if (!g_CurView) return;
        if (g_CurView->type != VIEW_MAIN || ctrl) g_DeselectDrag = 1;
    }
}

void View_ProjectVertices3D()
{
    const QVL::MODEL3* m = g_CurModel3;
    if (!m || !g_ProjVerts) return;
    int32_t n = ProjectedCount(m);
    if (ProjectionFresh(m, n)) return;
    for (int32_t i = 0; i < n; ++i) {
        const QVL::XYZ& p = m->positions[(size_t)i];
        QVL::VEC3 s;
        Render_ProjectToScreen(&s, p.x, p.y, p.z);
        g_ProjVerts[i][0] = s.x;
        g_ProjVerts[i][1] = s.y;
        g_ProjVerts[i][2] = s.z;
    }
    s_ProjModel = m;
    s_ProjCount = n;
    s_ProjSource.assign(m->positions.begin(), m->positions.begin() + n);
    ProbeCamera(s_ProjProbe);
    ++s_ProjGen;
}

void Sel_ForgetProjection()
{
    s_ProjModel = nullptr;
    s_ProjCount = -1;
    ++s_ProjGen;
}

int32_t Sel_TruncPixel(float v)
{
    if (!(v == v)) return INT32_MIN;
    if (v >= 2147483520.0f) return INT32_MAX;
    if (v <= -2147483520.0f) return -INT32_MAX;
    return (int32_t)v;
}

void View_OrthoToScreen(const VIEW_REC& v, const float p[3], int32_t* sx, int32_t* sy)
{
    float s = 40.0f * v.zoom;
    float h, u;
    switch (v.type) {
    case VIEW_TOP: h = p[0] - v.pan[0]; u = p[2] + v.pan[2]; break;
    case VIEW_SIDE: h = p[2] + v.pan[2]; u = p[1] - v.pan[1]; break;
    default: h = p[0] - v.pan[0]; u = p[1] - v.pan[1]; break;
    }
    // The sums are taken in 64 bits so a point far off the view cannot wrap round onto it.
    int64_t x = (int64_t)v.centreX + Sel_TruncPixel(s * h);
    int64_t y = (int64_t)v.centreY - Sel_TruncPixel(s * u);
    *sx = x > INT32_MAX ? INT32_MAX : x < -INT32_MAX ? -INT32_MAX : (int32_t)x;
    *sy = y > INT32_MAX ? INT32_MAX : y < -INT32_MAX ? -INT32_MAX : (int32_t)y;
}

void View_PickBone3D(bool posed)
{
    if (!ClickInMainView()) return;
    QVL::MODEL3* m = LayerModel();
    if (m && m->boneCount >= 2) {
        int32_t bones = m->boneCount < QVL::kModel3Bones ? m->boneCount : QVL::kModel3Bones;
        int64_t best = 99999;
        int32_t found = -1;
        for (int32_t b = 1; b < bones; ++b) {
            QVL::VEC3 j, s;
            if (posed) Motion3_GetBonePosition(&j, m->id, b);
            else Motion3_GetBoneRestPosition(&j, m->id, b);
            Render_ProjectToScreen(&s, j.x, j.y, j.z);
            int64_t d = PixelDistance(s.x, s.y);
            if (d < best) {
                best = d;
                found = b;
            }
        }
        if (found >= 0) {
            g_CurBone = found;
            int32_t rows = g_HierRowCount < kHierMaxRows ? g_HierRowCount : kHierMaxRows;
            for (int32_t r = 0; r < rows; ++r)
                if (g_HierRows[r].item == found) g_HierRowCur = r;
        }
    }
    Mode_RefreshAll();
}

void View_PickVertex3D(bool posed)
{
    if (!ClickInMainView()) return;
    const QVL::MODEL3* m = g_CurModel3;
    if (m && g_VertexSel) {
        int32_t n = ProjectedCount(m);
        const std::vector<QVL::XYZ>& src =
            posed && m->deformedPositions.size() >= (size_t)n ? m->deformedPositions : m->positions;
        int64_t best = 99999;
        for (int32_t i = 1; i < n; ++i) {
            const QVL::XYZ& p = src[(size_t)i];
            QVL::VEC3 s;
            Render_ProjectToScreen(&s, p.x, p.y, p.z);
            int64_t d = PixelDistance(s.x, s.y);
            if (d < best) {
                best = d;
                g_WeightVertex = i;
            }
        }
        std::memset(g_VertexSel, 0, (size_t)s_VertexCap * sizeof(int32_t));
        if (g_WeightVertex >= 0 && g_WeightVertex < s_VertexCap) g_VertexSel[g_WeightVertex] = 1;
    }
    Mode_RefreshAll();
}

int32_t Sel_PointInTriangle(const float p0[3], const float p1[3], const float p2[3], const float q[3])
{
    const float* p[3] = {p0, p1, p2};
    float e[3][3];
    for (int i = 0; i < 3; ++i)
        for (int a = 0; a < 3; ++a) e[i][a] = p[(i + 1) % 3][a] - p[i][a];
    float n[3];
    Cross(e[1], e[0], n);
    if (n[2] > 0) return 0;
    float nl = Length(n);
    // No area, no inside: the cosine test below would be 0 / 0 and let every point through.
    if (!(nl > 0)) return 0;
    for (int i = 0; i < 3; ++i) {
        float v[3] = {q[0] - p[i][0], q[1] - p[i][1], q[2] - p[i][2]};
        float c[3];
        Cross(v, e[i], c);
        float cl = Length(c);
        if (cl == 0) continue;   // on the edge's line: passes this edge
        if (Dot(c, n) / (cl * nl) < 0) return 0;
    }
    return 1;
}

int32_t Sel_NearestLinear(const float (*proj)[3], int32_t count, float x, float y)
{
    float best = 0;
    int32_t bestIndex = -1;
    for (int32_t i = 0; i < count; ++i)
        if (Finite2(proj[i])) Consider(proj, i, x, y, &best, &bestIndex);
    return bestIndex;
}

int32_t Sel_NearestGrid(const float (*proj)[3], int32_t count, float x, float y)
{
    GRID& g = s_Grid;
    if (g.proj != proj || g.count != count || g.gen != s_ProjGen) BuildGrid(proj, count);
    if (!std::isfinite(x) || !std::isfinite(y) || std::fabs(x) > kGridExtent || std::fabs(y) > kGridExtent)
        return Sel_NearestLinear(proj, count, x, y);
    float best = 0;
    int32_t bestIndex = -1;
    for (int32_t i : g.outside) Consider(proj, i, x, y, &best, &bestIndex);
    // Rings of cells round the cursor's cell; a point outside rings 0..r lies at least the distance
    // from the cursor to that block's border away.
    double fx = ((double)x - g.x0) / g.cell, fy = ((double)y - g.y0) / g.cell;
    int32_t cx = (int32_t)std::floor(fx), cy = (int32_t)std::floor(fy);
    int32_t maxRing = std::max(std::max(cx + 1, g.w - cx), std::max(cy + 1, g.h - cy));
    // Rings before the first one that meets the grid hold no cells.
    int32_t r0 = std::max(std::max(-cx, cx - (g.w - 1)), std::max(-cy, cy - (g.h - 1)));
    if (r0 < 0) r0 = 0;
    auto visit = [&](int32_t xx, int32_t yy) {
        int32_t c = yy * g.w + xx;
        for (int32_t k = g.start[(size_t)c]; k < g.start[(size_t)c + 1]; ++k)
            Consider(proj, g.items[(size_t)k], x, y, &best, &bestIndex);
    };
    for (int32_t r = r0; r <= maxRing; ++r) {
        int32_t ylo = cy - r, yhi = cy + r;
        for (int32_t yy = std::max(0, ylo); yy <= std::min(g.h - 1, yhi); ++yy) {
            if (yy == ylo || yy == yhi) {
                for (int32_t xx = std::max(0, cx - r); xx <= std::min(g.w - 1, cx + r); ++xx) visit(xx, yy);
            } else {
                if (cx - r >= 0 && cx - r < g.w) visit(cx - r, yy);
                if (cx + r >= 0 && cx + r < g.w) visit(cx + r, yy);
            }
        }
        if (bestIndex >= 0) {
            double edge = std::min(std::min(fx - (cx - r), (double)(cx + r + 1) - fx),
                                   std::min(fy - (cy - r), (double)(cy + r + 1) - fy)) * g.cell;
            // A margin for the float rounding of the distances compared.
            if ((double)best < edge * (1.0 - 1e-5) - 1e-3) break;
        }
    }
    return bestIndex;
}

void View_PickVertexOrFace3D()
{
    Mode_UpdateCurrent();
    QVL::MODEL3* m = g_CurModel3;
    if (!m || !g_ProjVerts) return;
    if (g_Screen != SCREEN_3D_POLYGON && g_Screen != SCREEN_3D_TEXTURE) return;
    if (!g_CurView || g_CurView->type != VIEW_MAIN) return;
    View_ProjectVertices3D();
    int32_t positions = ProjectedCount(m), faces = FaceCount(m);
    float cursor[3] = {(float)g_PressPoint.x, (float)g_PressPoint.y, 0.0f};
    if (!(g_Lib.keys[0x11] && g_AutoSelect == 0)) ClearSelection(m);
    if (SelectionMode() == 0) {
        int32_t v = positions > 0 ? Sel_NearestGrid(g_ProjVerts, positions, cursor[0], cursor[1]) : -1;
        g_CurVertex = v;
        if (v >= 0) g_VertexSel[v] = 1;
        return;
    }
    g_PickedFace = -1;
    float best = 99999.0f;
    for (int32_t f = 0; f < faces; ++f) {
        const QVL::FACE3& face = m->faces[(size_t)f];
        int corners = face.cornerCount < 4 ? face.cornerCount : 4;
        if (corners < 3) continue;
        bool ok = true;
        float minX = INFINITY, maxX = -INFINITY, minY = INFINITY, maxY = -INFINITY;
        for (int k = 0; k < corners && ok; ++k) {
            if (!CornerOk(m, face, k, positions)) { ok = false; break; }
            const float* p = g_ProjVerts[face.corners[k][QVL::CORNER_POS]];
            minX = std::fmin(minX, p[0]); maxX = std::fmax(maxX, p[0]);
            minY = std::fmin(minY, p[1]); maxY = std::fmax(maxY, p[1]);
        }
        // Outside the face's screen box no fan triangle can hold the cursor.
        if (!ok || !(cursor[0] >= minX && cursor[0] <= maxX && cursor[1] >= minY && cursor[1] <= maxY)) continue;
        const float* c0 = g_ProjVerts[face.corners[0][QVL::CORNER_POS]];
        for (int k = 1; k + 1 < corners; ++k) {
            const float* c1 = g_ProjVerts[face.corners[k][QVL::CORNER_POS]];
            const float* c2 = g_ProjVerts[face.corners[k + 1][QVL::CORNER_POS]];
            float a[3] = {c0[0], c0[1], 0}, b[3] = {c1[0], c1[1], 0}, c[3] = {c2[0], c2[1], 0};
            if (!Sel_PointInTriangle(a, b, c, cursor)) continue;
            float depth = (c0[2] + c1[2] + c2[2]) / 3.0f;
            if (depth < best) {
                best = depth;
                g_PickedFace = f;
            }
        }
    }
    if (g_PickedFace < 0) return;
    const QVL::FACE3& face = m->faces[(size_t)g_PickedFace];
    int32_t on = g_FaceSel[g_PickedFace] ? 0 : 1;
    g_FaceSel[g_PickedFace] = on;
    for (int k = 0; k < face.cornerCount && k < 4; ++k) g_VertexSel[face.corners[k][QVL::CORNER_POS]] = on;
    if (g_Screen >= 0 && g_Screen < kScreenCount) g_DlgSlots[g_Screen][1].dirty = 1;
    g_CurGroup = face.group;
    if (g_PickEditorHooks.fillGroupList) g_PickEditorHooks.fillGroupList();
    View_RequestRedraw();
}

void View_RectSelect3D(int32_t face, int32_t corner, int32_t x, int32_t y, int32_t x1, int32_t y1, int32_t x2,
                       int32_t y2)
{
    int32_t tool = Tool();
    if (tool != 0 && tool != 5) return;
    const QVL::MODEL3* m = g_CurModel3;
    if (!m || !g_FaceSel || face < 0 || face >= FaceCount(m) || corner < 0 || corner >= 4) return;
    const QVL::FACE3& f = m->faces[(size_t)face];
    int corners = f.cornerCount < 4 ? f.cornerCount : 4;
    int32_t positions = ProjectedCount(m);
    int32_t v = f.corners[corner][QVL::CORNER_POS];
    bool pointIn = x1 < x && x < x2 && y1 < y && y < y2;
    bool faceIn = pointIn;
    if (!faceIn) {
        float cx = g_FaceCentres[face][0], cy = g_FaceCentres[face][1];
        faceIn = (float)x1 < cx && cx < (float)x2 && (float)y1 < cy && cy < (float)y2;
    }
    bool vertexMode = SelectionMode() == 0;
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 0 ? !g_SelectDrag : !g_DeselectDrag) continue;
        int32_t value = pass == 0 ? 1 : 0;
        if (vertexMode) {
            if (!pointIn || v < 0 || v >= positions) continue;
            g_VertexSel[v] = value;
            if (value) g_CurVertex = v;
            else if (g_CurVertex == v) g_CurVertex = -1;
        } else if (faceIn) {
            g_FaceSel[face] = value;
            for (int k = 0; k < corners; ++k) {
                int32_t cv = f.corners[k][QVL::CORNER_POS];
                if (cv >= 0 && cv < positions) g_VertexSel[cv] = value;
            }
        }
    }
}

bool Sel_HasSelection()
{
    const QVL::MODEL3* m = g_CurModel3;
    if (!m || !g_FaceSel) return false;
    if (SelectionMode() == 0) {
        int32_t n = ProjectedCount(m);
        for (int32_t i = 0; i < n; ++i)
            if (g_VertexSel[i]) return true;
        return false;
    }
    int32_t n = FaceCount(m);
    for (int32_t i = 0; i < n; ++i)
        if (g_FaceSel[i]) return true;
    return false;
}

bool Sel_IsVertexSelected(int32_t position)
{
    return g_VertexSel && position >= 0 && position < s_VertexCap && g_VertexSel[position] != 0;
}

void Sel_ClearAll()
{
    if (g_FaceSel) std::memset(g_FaceSel, 0, (size_t)s_FaceCap * sizeof(int32_t));
    if (g_VertexSel) std::memset(g_VertexSel, 0, (size_t)s_VertexCap * sizeof(int32_t));
    g_PickedFace = -1;
    g_CurVertex = -1;
}
