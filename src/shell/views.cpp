#include "shell/views.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "frame/lib.h"
#include "frame/math3d.h"
#include "frame/services.h"
#include "model/gpu_update.h"
#include "render/camera.h"
#include "shell/current.h"
#include "shell/mode_hooks.h"
#include "shell/navigation.h"
#include "shell/picking.h"
#include "shell/ui_services.h"

VIEW_REC g_Views[kScreenCount][kViewsPerScreen];
int32_t g_ViewCount[kScreenCount];
int32_t g_CurViewIndex = 0;
VIEW_REC* g_CurView = &g_Views[0][0];
int32_t g_PickedView = 0;
float g_LastViewZoom = 0.0f;
uint8_t g_SketchShow = 0;
char g_SketchPaths[3][256];

static int ClampScreen(int s) { return s < 0 || s >= kScreenCount ? 0 : s; }

VIEW_REC* View_Row() { return g_Views[ClampScreen(g_Screen)]; }

VIEW_REC& View_Picked()
{
    return View_Row()[g_PickedView >= 0 && g_PickedView < kViewsPerScreen ? g_PickedView : 0];
}

bool View_GetActiveView(QVL::PRESENT_VIEW* out)
{
    const VIEW_REC& v = View_Picked();
    if (v.exists != 1) return false;
    out->window = v.window;
    out->type = v.type;
    out->width = v.width;
    out->height = v.height;
    out->clientWidth = v.clientWidth;
    out->clientHeight = v.clientHeight;
    return true;
}

int View_CountOfScreen()
{
    int n = g_ViewCount[ClampScreen(g_Screen)];
    return n < 0 ? 0 : n > kViewsPerScreen ? kViewsPerScreen : n;
}

void View_SetDefaults()
{
    static const int rects[4][4] = {{0, 0, 0, 0}, {96, 256, 256, 256}, {192, 44, 256, 256}, {600, 256, 256, 256}};
    for (int s = 0; s < kScreenCount; ++s) {
        g_ViewCount[s] = 4;
        for (int i = 0; i < kViewsPerScreen; ++i) {
            VIEW_REC& v = g_Views[s][i];
            void* window = v.window;
            std::memset(&v, 0, sizeof v);
            v.window = window;  // open windows stay open
            if (i >= 4) continue;
            v.exists = 1;
            v.type = i;
            v.redraw = 1;
            v.reserved[0] = 3;
            v.zoom = 0.25f;
            v.shown = i == 0 ? 0 : 1;
            v.left = rects[i][0];
            v.top = rects[i][1];
            v.width = rects[i][2];
            v.height = rects[i][3];
        }
        VIEW_REC& main = g_Views[s][0];
        main.pan[1] = 8.0f;
        main.zoom = 3.2f;
        main.window = Wnd_Main();
    }
}

void View_UpdateCurrent()
{
    const int32_t* held = g_Lib.mouse.held;
    if (!(held[0] || held[1] || held[2])) {
        void* active = Wnd_Active();
        VIEW_REC* row = View_Row();
        g_CurViewIndex = 0;
        for (int i = 0; i < kViewsPerScreen; ++i)
            if (row[i].exists == 1 && row[i].window && row[i].window == active) g_CurViewIndex = i;
    }
    if (g_CurViewIndex < 0 || g_CurViewIndex >= kViewsPerScreen) g_CurViewIndex = 0;
    g_CurView = &View_Row()[g_CurViewIndex];
}

const char* View_TypeTitle(int type)
{
    switch (type) {
    case VIEW_FRONT: return "Front";
    case VIEW_TOP: return "Top";
    case VIEW_SIDE: return "Side";
    case VIEW_PERS: return "Pers";
    default: return nullptr;
    }
}

void View_SetType(VIEW_REC* v, int type)
{
    v->type = type;
    if (const char* title = View_TypeTitle(type)) Wnd_SetText(v->window, title);
    v->redraw = 1;
}

void View_Add(int shown, int left, int top, int width, int height)
{
    VIEW_REC* row = View_Row();
    int i = 1;
    while (i < kViewsPerScreen && row[i].exists != 0) ++i;
    if (i >= kViewsPerScreen) return;
    int32_t& count = g_ViewCount[ClampScreen(g_Screen)];
    if (count < i + 1) count = i + 1;
    VIEW_REC& v = row[i];
    v.exists = 1;
    v.shown = shown;
    v.left = left;
    v.top = top;
    v.width = width;
    v.height = height;
    // A slot the defaults never filled has zoom 0, which maps every point to the centre and which
    // the wheel can never change: give it the window views' zoom.
    if (!(v.zoom > 0.0f) || !std::isfinite(v.zoom)) v.zoom = kNewViewZoom;
    if (!v.window) v.window = Wnd_CreateView();
    Wnd_Place(v.window, left, top, width, height);
    View_SetType(&v, VIEW_FRONT);
}

void View_CreateAll()
{
    VIEW_REC* row = View_Row();
    int n = View_CountOfScreen();
    for (int i = 1; i < n; ++i) {
        VIEW_REC& v = row[i];
        if (v.exists != 1 || v.window || v.shown != 1) continue;
        v.window = Wnd_CreateView();
        Wnd_Place(v.window, v.left, v.top, v.width, v.height);
        if (const char* title = View_TypeTitle(v.type)) Wnd_SetText(v.window, title);
    }
    Wnd_Activate(Wnd_Main());
}

void View_CloseAll()
{
    VIEW_REC* row = View_Row();
    int n = View_CountOfScreen();
    for (int i = 1; i < n; ++i) {
        if (row[i].window) Wnd_Destroy(row[i].window);
        row[i].window = nullptr;
    }
    Wnd_Activate(Wnd_Main());
}

int32_t Layer_GetObjectId()
{
    if (g_Mode == MODE_3D_EDIT) {
        return g_CurLayer >= 0 && (size_t)g_CurLayer < g_LayerObjectIds.size() ? g_LayerObjectIds[g_CurLayer] : -1;
    }
    return g_Screen != SCREEN_START ? g_CurLayer : g_DefaultObjectId;
}

int32_t Layer_GetModelId()
{
    if (g_Mode == MODE_3D_EDIT) {
        return g_CurLayer >= 0 && (size_t)g_CurLayer < g_LayerModelIds.size() ? g_LayerModelIds[g_CurLayer] : -1;
    }
    return g_Screen != SCREEN_START ? g_CurLayer : g_DefaultModelId;
}

static void AgeBy(VIEW_REC& v, int32_t n)
{
    v.age = v.age > kMaxViewAge - n ? kMaxViewAge : v.age + n;
    if (v.age < 0) v.age = 0;
}

int View_Schedule(VIEW_REC* row, int count, int curIndex, int updateEditedOnly, int playFlag,
                  int buttonsHeld, int rightHeld)
{
    if (count > kViewsPerScreen) count = kViewsPerScreen;
    if (curIndex < 0 || curIndex >= kViewsPerScreen) curIndex = 0;
    AgeBy(row[curIndex], 3);
    int pick = -1;
    for (int i = 0; i < count; ++i) {
        if (row[i].exists != 1 || row[i].redraw != 1) continue;
        if (pick < 0 || row[i].age > row[pick].age) pick = i;
    }
    for (int i = 0; i < count; ++i)
        if (i != pick && i != curIndex && row[i].redraw == 1) AgeBy(row[i], 1);
    if (pick < 0) return -1;
    row[pick].age = 0;
    if ((updateEditedOnly == 1 && buttonsHeld) || (playFlag == 1 && rightHeld)) pick = curIndex;
    return pick;
}

void View_WorldToScreen(const VIEW_REC& v, const float p[3], float* sx, float* sy)
{
    float s = 40.0f * v.zoom;
    switch (v.type) {
    case VIEW_TOP:
        *sx = v.centreX + (p[0] - v.pan[0]) * s;
        *sy = v.centreY - (p[2] + v.pan[2]) * s;
        break;
    case VIEW_SIDE:
        *sx = v.centreX + (p[2] + v.pan[2]) * s;
        *sy = v.centreY - (p[1] - v.pan[1]) * s;
        break;
    default:
        *sx = v.centreX + (p[0] - v.pan[0]) * s;
        *sy = v.centreY - (p[1] - v.pan[1]) * s;
        break;
    }
}

bool View_FitOrtho(float minU, float maxU, float minV, float maxV, int width, int height,
                   int marginW, int marginH, float zoom, float* cu, float* cv, float* newZoom)
{
    if (minU > maxU || minV > maxV) return false;
    if (minU == maxU) { minU -= 1.0f; maxU += 1.0f; }
    if (minV == maxV) { minV -= 1.0f; maxV += 1.0f; }
    *cu = (minU + maxU) * 0.5f;
    *cv = (minV + maxV) * 0.5f;
    int spanW = width - marginW, spanH = height - marginH;
    if (spanW <= 0 || spanH <= 0) return false;  // a view smaller than its margins keeps its zoom
    if (!(zoom > 0.0f) || !std::isfinite(zoom)) zoom = kNewViewZoom;
    float k = -40.0f * zoom;
    float fu = (float)((int)(minU * k) - (int)(maxU * k)) / spanW;
    float fv = (float)((int)(minV * k) - (int)(maxV * k)) / spanH;
    float f = fu > fv ? fu : fv;
    if (!(f > 0.0f)) {
        // Both extents truncate to no pixel at this zoom: measure them unrounded instead.
        fu = (maxU - minU) * 40.0f * zoom / spanW;
        fv = (maxV - minV) * 40.0f * zoom / spanH;
        f = fu > fv ? fu : fv;
    }
    if (!(f > 0.0f)) return false;
    float z = zoom / f;
    if (!std::isfinite(z) || !(z > 0.0f)) return false;
    *newZoom = z;
    return true;
}

void View_MainEye(const float target[3], float zoom, float yaw, float pitch, float eye[3])
{
    QVL::MATRIX r;
    Math_MatrixWorld(&r, 0, 0, 0, yaw, pitch, 0, 1, 1, 1);
    QVL::VEC3 o;
    Math_TransformPoint(&o, 0, 0, -15.0f * zoom, r);
    eye[0] = target[0] + o.x;
    eye[1] = target[1] + o.y;
    eye[2] = target[2] + o.z;
}

// The corners a fit looks at: one per corner of every face of the current model, at the position
// the corner names (deformed when posed). With selectionOnly, only corners of selected positions.
static std::vector<QVL::XYZ>& FitCorners()
{
    static std::vector<QVL::XYZ> s;
    return s;
}

static int GatherCorners(bool selectionOnly, bool posed)
{
    std::vector<QVL::XYZ>& out = FitCorners();
    out.clear();
    const QVL::MODEL3* m = g_CurModel3;
    if (!m) return 0;
    const std::vector<QVL::XYZ>& from = posed ? m->deformedPositions : m->positions;
    int32_t faces = m->faceCount < (int32_t)m->faces.size() ? m->faceCount : (int32_t)m->faces.size();
    for (int32_t f = 0; f < faces; ++f) {
        const QVL::FACE3& face = m->faces[(size_t)f];
        int corners = face.cornerCount > 4 ? 4 : face.cornerCount;
        for (int c = 0; c < corners; ++c) {
            int32_t p = face.corners[c][QVL::CORNER_POS];
            if (p < 0 || (size_t)p >= from.size()) continue;
            if (selectionOnly && !Sel_IsVertexSelected(p)) continue;
            out.push_back(from[(size_t)p]);
        }
    }
    return (int)out.size();
}

// Upper bound of the main view's zoom-out loop: 1.1^400 covers any box the float range holds.
static const int kMaxFitSteps = 400;

static void FitMain(VIEW_REC& v)
{
    if (!g_CurModel3) return;
    int n = GatherCorners(Sel_HasSelection(), false);
    if (n <= 0) return;
    float lo[3] = {99999.9f, 99999.9f, 99999.9f}, hi[3] = {-99999.9f, -99999.9f, -99999.9f};
    for (const QVL::XYZ& c : FitCorners()) {
        const float p[3] = {c.x, c.y, c.z};
        for (int a = 0; a < 3; ++a) {
            if (p[a] < lo[a]) lo[a] = p[a];
            if (p[a] > hi[a]) hi[a] = p[a];
        }
    }
    for (int a = 0; a < 3; ++a) {
        if (lo[a] == hi[a]) { lo[a] -= 1.0f; hi[a] += 1.0f; }
        g_CurModel3->boundsMin[a] = lo[a];
        g_CurModel3->boundsMax[a] = hi[a];
        v.pan[a] = (lo[a] + hi[a]) * 0.5f;
    }
    v.zoom = (hi[2] - lo[2]) * (hi[0] - lo[0]) * (hi[1] - lo[1]) * 0.0000002f;
    if (!(v.zoom > 0.0f) || !std::isfinite(v.zoom)) v.zoom = 0.0000002f;
    QVL::MATRIX q;
    Math_MatrixWorld(&q, 0, 0, 0, -g_OrbitYaw, g_OrbitPitch, 0, 1, 1, 1);
    int w = Lib_GetWindowWidth(), h = Lib_GetWindowHeight();
    for (int step = 0; step < kMaxFitSteps; ++step) {
        float eye[3];
        View_MainEye(v.pan, v.zoom, g_OrbitYaw, g_OrbitPitch, eye);
        Render_SetCameraEye(eye[0], eye[1], eye[2]);
        Render_SetCameraTarget(v.pan[0], v.pan[1], v.pan[2]);
        bool inside = true;
        for (int k = 0; k < 8 && inside; ++k) {
            QVL::VEC3 p;
            Math_TransformPoint(&p, (k & 1) ? hi[0] : lo[0], (k & 2) ? hi[1] : lo[1], (k & 4) ? hi[2] : lo[2], q);
            QVL::VEC3 s;
            Render_ProjectToScreen(&s, p.x, p.y, p.z);
            inside = s.x >= 0 && s.x <= w && s.y >= 0 && s.y <= h;
        }
        if (inside) break;
        v.zoom *= 1.1f;
    }
    View_RequestRedraw();
}

void View_Fit()
{
    g_CurView = &View_Row()[g_CurViewIndex < 0 || g_CurViewIndex >= kViewsPerScreen ? 0 : g_CurViewIndex];
    VIEW_REC& v = *g_CurView;
    if (v.type == VIEW_MAIN) {
        FitMain(v);
        if (!g_CurModel3) View_RequestRedraw();
        return;
    }
    if (v.type < VIEW_FRONT || v.type > VIEW_SIDE) {
        View_RequestRedraw();  // a perspective window view has no box to fit
        return;
    }
    int n = 0, marginW = 24, marginH = 24;
    if (g_Screen == SCREEN_3D_POLYGON || g_Screen == SCREEN_3D_TEXTURE) {
        if (!g_CurModel3) { View_RequestRedraw(); return; }
        n = GatherCorners(Sel_HasSelection(), false);
        if (n <= 0) return;
        marginW = 48;
        marginH = 96;
    } else if (g_Screen == SCREEN_3D_BONE || g_Screen == SCREEN_3D_WEIGHT) {
        n = GatherCorners(false, false);
    } else if (g_Screen == SCREEN_3D_MOTION) {
        n = GatherCorners(false, g_CurModel3 && g_CurModel3->animated);
    }
    if (n > 0) {
        float lu = 99999.9f, hu = -99999.9f, lv = 99999.9f, hv = -99999.9f;
        for (const QVL::XYZ& c : FitCorners()) {
            const float p[3] = {c.x, c.y, c.z};
            float u = v.type == VIEW_SIDE ? p[2] : p[0];
            float w = v.type == VIEW_FRONT ? p[1] : v.type == VIEW_TOP ? -p[2] : -p[1];
            if (u < lu) lu = u;
            if (u > hu) hu = u;
            if (w < lv) lv = w;
            if (w > hv) hv = w;
        }
        float cu, cv, z;
        if (View_FitOrtho(lu, hu, lv, hv, v.width, v.height, marginW, marginH, v.zoom, &cu, &cv, &z)) {
            if (v.type == VIEW_FRONT) { v.pan[0] = cu; v.pan[1] = cv; }
            else if (v.type == VIEW_TOP) { v.pan[0] = cu; v.pan[2] = cv; }
            else { v.pan[2] = -cu; v.pan[1] = -cv; }
            v.zoom = z;
        }
    }
    View_RequestRedraw();
}

void View_FitAll()
{
    Anim_UpdateModels();
    int n = View_CountOfScreen();
    for (int i = 1; i < n; ++i) {
        g_CurViewIndex = i;
        View_Fit();
    }
    g_CurViewIndex = 0;
}
