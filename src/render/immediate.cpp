#include "render/immediate.h"

#include "frame/lib.h"
#include "render/frame_render.h"

using namespace QVL;

BLEND g_BlendMode = BLEND_ALPHA;
float g_WindowScale[2] = {1.0f, 1.0f};
int32_t g_ScaleToWindow = 1;
// The modes' enter functions set it (render/frame_render.h).
int32_t g_ModeScreenSize[2] = {640, 480};

uint32_t Draw_PackColor(int r, int g, int b, int a)
{
    return (uint32_t)a << 24 | ((uint32_t)r & 255u) << 16 | ((uint32_t)g & 255u) << 8 | ((uint32_t)b & 255u);
}

void Draw_SetBlendMode(BLEND mode) { g_BlendMode = mode; }

bool Draw_BlendStates(BLEND mode, BLEND_STATES* out)
{
    static const BLEND_STATES kTable[4] = {
        {BLENDOP_ADD, BLEND_INVSRCALPHA, BLEND_SRCALPHA},   // 0 alpha
        {BLENDOP_ADD, BLEND_ONE, BLEND_SRCALPHA},           // 1 additive
        {BLENDOP_REVSUBTRACT, BLEND_ONE, BLEND_SRCALPHA},   // 2 subtractive
        {BLENDOP_ADD, BLEND_ONE, BLEND_ONE},                // 3 add
    };
    if (mode < 0 || mode > 3) return false;
    *out = kTable[mode];
    return true;
}

QUAD_BLEND_PLAN Draw_TakeQuadBlendPlan()
{
    QUAD_BLEND_PLAN plan;
    plan.beforeValid = Draw_BlendStates(g_BlendMode, &plan.before);
    g_BlendMode = BLEND_ALPHA;
    Draw_BlendStates(BLEND_ALPHA, &plan.after);
    return plan;
}

bool Draw_FillStates(int code, FILL_STATES* out)
{
    switch (code) {
    case 1: *out = FILL_STATES{FILL_POINT, SHADE_GOURAUD}; return true;
    case 2: *out = FILL_STATES{FILL_WIREFRAME, SHADE_GOURAUD}; return true;
    case 3: *out = FILL_STATES{FILL_SOLID, SHADE_FLAT}; return true;
    case 4:
    case 5: *out = FILL_STATES{FILL_SOLID, SHADE_GOURAUD}; return true;
    default: return false;
    }
}

MAP2D Draw_MakeMap2D(float scaleX, float scaleY, bool gameScreen, int monitorWidth, int monitorHeight, float panX,
                     float panY)
{
    MAP2D map{scaleX, scaleY, 0.0f, 0.0f};
    if (gameScreen) {
        map.offsetX = (float)(monitorWidth - 640) * 0.5f + panX;
        map.offsetY = (float)(monitorHeight - 480) * 0.5f + panY;
    }
    return map;
}

bool Draw_IsGameScreenMode() { return g_StudioFlag == 1 && g_Mode >= 0 && g_Mode < kModeCount && g_Mode2DScreen[g_Mode] == 1; }

void Draw_Map2DPoint(const MAP2D& map, float x, float y, float* outX, float* outY)
{
    *outX = x * map.scaleX + map.offsetX;
    *outY = y * map.scaleY + map.offsetY;
}

void Draw_WorldMatrix(MATRIX* out, float x, float y, float z, float rx, float ry, float rz, float sx, float sy,
                      float sz)
{
    Math_MatrixWorld(out, x, y, z, ry, rx, -rz, sx, sy, sz);
}

void Render_Set3DScene(int flag) { g_Draw3DScene = (uint8_t)flag; }
