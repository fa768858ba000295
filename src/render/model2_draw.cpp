#include "render/model2_draw.h"

#include <algorithm>

#include "frame/lib.h"
#include "frame/math3d.h"
#include "model/model2.h"
#include "render/immediate.h"
#include "render/tex_slots.h"
#include "render/renderer.h"

using namespace QVL;

namespace {

// The 2D polygon, texture, bone and weight screens show the model as modelled.
bool ShowsBasePose(int32_t screen)
{
    return screen >= SCREEN_2D_POLYGON && screen <= SCREEN_2D_WEIGHT;
}

int32_t Channel(float tint, float base)
{
    return std::min(255, std::max(0, Math_TruncInt(tint / 255.0f * base)));
}

} // namespace

void Model2_BuildBatches(int32_t id, int32_t screen, int32_t currentBone, std::vector<MODEL2_BATCH>& out)
{
    out.clear();
    const MODEL2* m = Model2_Get(id);
    if (!m || g_Model2InUse[id] != 1) return;
    const std::vector<XY2>& pos = ShowsBasePose(screen) ? m->vertices : m->deformed;
    const size_t vertices = std::min<size_t>({m->vertexCount, pos.size(), m->bindings.size()});
    const size_t colors = std::min<size_t>(m->colorCount, m->colors.size());
    const size_t uvs = std::min<size_t>(m->uvCount, m->uvs.size());
    const int32_t polys = std::max(0, std::min<int32_t>(m->polygonCount, (int32_t)m->polygons.size()));
    const int32_t groups = std::min(std::max(m->groupCount, 0), kModel2Groups);
    for (int32_t g = 0; g < groups; ++g) {
        const GROUP2& group = m->groups[g];
        if (group.shading == 0) continue;
        MODEL2_BATCH batch;
        batch.texture = group.texture >= 0 && group.texture < kModel2Textures ? g_Model2TexHandles[id][group.texture] : -1;
        for (int32_t p = 0; p < polys; ++p) {
            const FACE2& f = m->polygons[(size_t)p];
            if (f.used != 1 || f.group != g || f.cornerCount < 3) continue;
            const int corners = std::min<int>(f.cornerCount, 4);
            MODEL2_VERTEX v[4];
            bool valid = true;
            for (int c = 0; c < corners && valid; ++c) {
                const uint16_t vi = f.corners[c][0], ki = f.corners[c][1], ti = f.corners[c][2];
                if (vi >= vertices || ti >= uvs || (m->vertexColorFlag == 1 && ki >= colors)) {
                    valid = false;
                    break;
                }
                v[c].x = Math_TruncInt(pos[vi].x + m->x);
                v[c].y = Math_TruncInt(pos[vi].y + m->y);
                if (m->displayState == 3) {
                    const bool bound = m->bindings[vi].boneA == currentBone;
                    v[c].r = bound ? 255 : 200;
                    v[c].g = v[c].b = bound ? 0 : 200;
                    v[c].a = 255;
                } else {
                    const RGBA2 base = m->vertexColorFlag == 1 ? m->colors[ki] : RGBA2{group.r, group.g, group.b, group.a};
                    v[c].r = Channel(m->tint[0], base.r);
                    v[c].g = Channel(m->tint[1], base.g);
                    v[c].b = Channel(m->tint[2], base.b);
                    v[c].a = Channel(m->tint[3], base.a);
                }
                v[c].u = m->uvs[ti].u;
                v[c].v = m->uvs[ti].v;
            }
            if (!valid) continue;
            for (int j = 0; j + 2 < corners; ++j) {
                batch.vertices.push_back(v[0]);
                batch.vertices.push_back(v[j + 1]);
                batch.vertices.push_back(v[j + 2]);
            }
        }
        out.push_back(std::move(batch));
    }
}

void Model2_DrawAll()
{
    std::vector<MODEL2_BATCH> batches;
    for (int32_t id = 0; id < kModel2Slots; ++id) {
        Model2_BuildBatches(id, g_Screen, g_Renderer.highlightBone, batches);
        for (const MODEL2_BATCH& b : batches) {
            Tex_Set(b.texture);
            for (size_t i = 0; i + 2 < b.vertices.size(); i += 3) {
                const MODEL2_VERTEX* t = &b.vertices[i];
                Draw_Triangle2D(t[0].x, t[0].y, t[0].r, t[0].g, t[0].b, t[0].a, t[0].u, t[0].v, t[1].x, t[1].y, t[1].r,
                                t[1].g, t[1].b, t[1].a, t[1].u, t[1].v, t[2].x, t[2].y, t[2].r, t[2].g, t[2].b, t[2].a,
                                t[2].u, t[2].v);
            }
        }
    }
}
