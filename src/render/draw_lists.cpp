#include "render/renderer.h"

#include <cmath>

#include "model/model3.h"

using namespace QVL;

namespace QVL {

RENDERER::RENDERER() { Render_InitRenderer(*this); }

} // namespace QVL

bool Render_DrawEnabledMaterials() { return g_Renderer.drawEnabled; }
bool Render_DrawBloomMaterials() { return g_Renderer.drawBloom; }
void Render_CountTriangles(int32_t n) { g_Renderer.triangleCount += n; }

void Render_InitRenderer(RENDERER& r)
{
    r.drawEnabled = true;
    r.drawBloom = false;
    r.triangleCount = 0;
    r.highlightBone = 0;
    Render_ClearDrawLists(r);
}

void Render_ClearDrawLists(RENDERER& r)
{
    r.opaque.clear();
    r.transparent.clear();
    r.opaqueCount = r.opaqueCapacity = 0;
    r.transparentCount = r.transparentCapacity = 0;
}

void DrawList_Append(std::vector<DRAW_ENTRY>& list, int32_t& count, int32_t& capacity, const DRAW_ENTRY& entry)
{
    if (count >= capacity) {
        capacity += 10;
        list.resize((size_t)capacity, DRAW_ENTRY{-1, -1, -1, {0.0f, 0.0f, 0.0f}, 0.0f});
    }
    list[(size_t)count++] = entry;
}

void DrawList_SortFarToNear(std::vector<DRAW_ENTRY>& list, int32_t count)
{
    if (count <= 1) return;
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (int32_t k = 1; k < count; ++k) {
            if (list[(size_t)k].distance > list[(size_t)k - 1].distance) {
                DRAW_ENTRY t = list[(size_t)k];
                list[(size_t)k] = list[(size_t)k - 1];
                list[(size_t)k - 1] = t;
                swapped = true;
            }
        }
    }
}

bool Render_IsTransparent(float alpha, uint8_t alphaTest, bool textureHasAlpha)
{
    return alpha < 255.0f || alphaTest != 0 || textureHasAlpha;
}

float Render_ViewDistance(const MATRIX& view, const float centre[3])
{
    VEC3 p;
    Math_TransformPoint(&p, centre[0], centre[1], centre[2], view);
    return std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
}

void Render_BuildDrawListsFrom(RENDERER& r, DRAW_LIST_SOURCE& source, int32_t modelCount, const MATRIX& view)
{
    r.opaqueCount = 0;
    r.transparentCount = 0;
    if (modelCount == 0) return;
    const int32_t objects = source.ObjectCount();
    for (int32_t i = 0; i < objects; ++i) {
        int32_t modelId = source.DrawnModel(i);
        if (modelId < 0) continue;
        const MODEL3* m = source.ReadyModel(modelId);
        if (!m) continue;
        const int32_t groups = m->groupCount < (int32_t)m->groups.size() ? m->groupCount : (int32_t)m->groups.size();
        for (int32_t j = 0; j < groups; ++j) {
            const GROUP3& g = m->groups[(size_t)j];
            DRAW_ENTRY e{i, modelId, j, {g.centre[0], g.centre[1], g.centre[2]}, 0.0f};
            e.distance = Render_ViewDistance(view, g.centre);
            bool hasAlpha = source.TextureHasAlpha(modelId, g.texture);
            if (Render_IsTransparent(g.alpha, g.alphaTest, hasAlpha))
                DrawList_Append(r.transparent, r.transparentCount, r.transparentCapacity, e);
            else
                DrawList_Append(r.opaque, r.opaqueCount, r.opaqueCapacity, e);
        }
    }
    DrawList_SortFarToNear(r.transparent, r.transparentCount);
}

bool Render_IsCulled(const VEC3& p, float upY, int backBufferWidth, int backBufferHeight)
{
    return p.z < -5.0f || p.z > 500.0f || p.x < -128.0f || p.x > (float)(backBufferWidth + 128) || p.y < -64.0f ||
           upY > (float)(backBufferHeight + 64);
}
