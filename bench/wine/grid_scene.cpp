#include "grid_scene.h"

#include "frame/lib.h"
#include "frame/math3d.h"
#include "model/export_dedup.h"
#include "model/gpu_data.h"
#include "model/gpu_update.h"
#include "model/motion3.h"
#include "model/skin.h"
#include "model/model_table.h"
#include "model/normals.h"
#include "model/scene_object.h"
#include "render/camera.h"

namespace {

int32_t g_Model = -1, g_Object = -1;

void MakeGrid()
{
    g_Model = Model3_Create();
    QVL::MODEL3* m = Model3_GetById(g_Model);
    const int columns = 260, rows = 250;
    m->groupCount = 4;
    m->colors.assign(1, QVL::RGBA{255, 255, 255, 255});
    m->colorCount = 1;
    auto height = [](int i, int j) { return (float)((i * 7 + j * 3) % 5) * 0.25f; };
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const int dx[4] = {0, 0, 1, 1}, dz[4] = {0, 1, 1, 0};
            QVL::FACE3 f = {};
            f.cornerCount = 4;
            f.group = r * 4 / rows;
            for (int k = 0; k < 4; ++k) {
                int32_t i = (int32_t)m->positions.size();
                int x = c + dx[k], z = r + dz[k];
                m->positions.push_back(QVL::XYZ{(float)x, height(x, z), (float)z});
                m->uvs.push_back(QVL::UV2{(float)x / columns, (float)z / rows});
                f.corners[k][QVL::CORNER_POS] = i;
                f.corners[k][QVL::CORNER_UV] = i;
            }
            m->faces.push_back(f);
        }
    m->positionCount = m->uvCount = (int32_t)m->positions.size();
    m->faceCount = (int32_t)m->faces.size();
    for (int g = 0; g < 4; ++g) m->groups[g].color[0] = (float)(64 * g + 60);
    Model3_FitArrays(m);
    Model3_CalcNormals(m);
    Model3_SetLoaded(m);
    g_Object = ObjectCreate();
    Object_GetById(g_Object)->modelId = g_Model;
}

void Setup(int32_t kind)
{
    Lib_SetClearColor(0, 0, 0);
    Render_SetFade(1.0f);
    if (g_Model < 0) MakeGrid();
    Object_SetVisible(Object_GetById(g_Object), 1);
    Model3_SetRenderKind(Model3_GetById(g_Model), kind);
    Render_SetCameraEye(130, 160, -120);
    Render_SetCameraTarget(130, 0, 125);
    Anim_UpdateModels();   // the world matrix and the kind's GPU data, as every idle pass does
}

// Two bones: the root and one in the middle of the grid, turned about its joint; each vertex blends
// them by its x across the grid.
void PoseSkeleton()
{
    QVL::MATRIX turn, to, from;
    Math_MatrixTranslation(&from, -130, 0, -125);
    Math_MatrixRotationY(&turn, 20.0f);
    Math_MatrixTranslation(&to, 130, 0, 125);
    Math_MatrixMultiply(&turn, from, turn);
    Math_MatrixMultiply(&turn, turn, to);
    QVL::MATRIX identity;
    Math_MatrixIdentity(&identity);
    Motion3_SetBonePoseMatrix(g_Model, 0, &identity.m[0][0]);
    // The pose of a bone is its joint's world matrix: the rest joint (130, 0, 125) turned in place.
    QVL::MATRIX pose;
    Math_MatrixTranslation(&pose, 130, 0, 125);
    Math_MatrixMultiply(&pose, pose, turn);
    Motion3_SetBonePoseMatrix(g_Model, 1, &pose.m[0][0]);
}

void SetupSkinned(int32_t kind)
{
    Setup(kind);
    QVL::MODEL3* m = Model3_GetById(g_Model);
    // Bound once (a new model may already count bones of its own).
    static bool bound = false;
    if (!bound) {
        bound = true;
        m->boneCount = 2;
        m->bones[1].parent = 0;
        m->bones[1].rest.translation[0] = 130;
        m->bones[1].rest.translation[1] = 0;
        m->bones[1].rest.translation[2] = 125;
        for (int32_t i = 0; i < m->positionCount; ++i)
            m->weights[(size_t)i] = QVL::WEIGHT3{1, 0, m->positions[(size_t)i].x / 260.0f, 0};
        Model3_BuildExports(m);
        Gpu_ResizeBonePoses(Gpu_EnsureModelRes(g_Model), 2);
        Motion3_BuildRestMatrices(m, g_Model);
        m->gpuRebuild = 1;
        Anim_UpdateModels();
    }
    PoseSkeleton();
    m->animated = kind == 5 ? 0 : 1;
}

} // namespace

void GridScene_SetupKind3() { Setup(3); }
void GridScene_SetupKind0() { Setup(0); }
void GridScene_SetupCpuSkinned() { SetupSkinned(3); }
void GridScene_SetupGpuSkinned() { SetupSkinned(5); }
void GridScene_SkinOnCpu()
{
    QVL::MODEL3* m = Model3_GetById(g_Model);
    PoseSkeleton();
    Motion3_SkinVertices(m, g_Model);
}
void GridScene_Teardown()
{
    Object_SetVisible(Object_GetById(g_Object), 0);
    if (QVL::MODEL3* m = Model3_GetById(g_Model)) m->animated = 0;
}

// The polygon screen's wire frame of the grid in a Top view filling the back buffer, drawn in the
// mode's 2D pass.
#include <vector>

#include "edit3d/poly_draw.h"
#include "render/frame_render.h"

namespace {

std::vector<int32_t> g_WireSel((size_t)4 * 65000);
PolyBatcher g_WireBatcher;

POLY_WIRE_INPUT WireInput()
{
    return POLY_WIRE_INPUT{Model3_GetById(g_Model), {VIEW_TYPE_TOP, 640, 360, {130, 0, -125}, 0.06f},
                           g_WireSel.data(), 4 * 65000, g_WireSel.data(), 65000, 0};
}

void DrawWireBatched()
{
    PolyDraw_Wire(WireInput(), g_WireBatcher, nullptr, nullptr, nullptr, nullptr);
    g_WireBatcher.Flush();
}

} // namespace

void GridScene_SetupWire()
{
    Lib_SetClearColor(0, 0, 0);
    Render_SetFade(1.0f);
    if (g_Model < 0) MakeGrid();
    g_RenderDrawers.modeDraw = DrawWireBatched;
}
void GridScene_TeardownWire() { g_RenderDrawers.modeDraw = nullptr; }
