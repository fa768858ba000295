// The renderer's draw lists: one entry per material of every placed, visible, ready model, split into
// an opaque list (drawn in build order) and a transparent list (drawn far to near). The lists keep
// their arrays between frames and grow in steps of 10, so a frame allocates only when it has more
// entries than any frame before. Platform-free: the frame (render/win32/frame_render.cpp) feeds the
// builder from the scene objects and draws the lists on the device.
#pragma once
#include <cstdint>
#include <vector>

#include "frame/math3d.h"

namespace QVL {

struct MODEL3;

// One material of one placed object.
struct DRAW_ENTRY {
    int32_t object;       // index into g_ObjectTable
    int32_t model;
    int32_t material;     // index into the model's groups
    float centre[3];      // the material's centre, model coordinates
    float distance;       // length of the centre in view space (the object's placement not applied)
};

// (The per-model GPU data tables the material draws read live beside the render data.)
struct RENDERER {
    bool drawEnabled;     // 1: draw every material whose shading mode is not 0 (hidden)
    bool drawBloom;       // 1: also draw the self-illuminating materials
    std::vector<DRAW_ENTRY> opaque;
    std::vector<DRAW_ENTRY> transparent;
    int32_t opaqueCount, opaqueCapacity;
    int32_t transparentCount, transparentCapacity;
    int32_t triangleCount;   // triangles, points and lines drawn in this frame
    int32_t highlightBone;   // the editor's current bone, drawn highlighted; the shell sets it per frame

    RENDERER();
};

// What the list builder needs to know of the scene, so that it runs on fixtures as well as on the
// scene objects.
struct DRAW_LIST_SOURCE {
    virtual ~DRAW_LIST_SOURCE() {}
    virtual int32_t ObjectCount() = 0;
    // The model of an object that takes part in this frame (it exists, is active and visible, has a
    // model and was not culled); -1 otherwise.
    virtual int32_t DrawnModel(int32_t object) = 0;
    // The model when it is in use and loaded, else null.
    virtual const MODEL3* ReadyModel(int32_t model) = 0;
    // The picture behind the model's texture entry has an alpha channel (A8R8G8B8).
    virtual bool TextureHasAlpha(int32_t model, int32_t texture) = 0;
};

} // namespace QVL

// Statics (shell/statics.cpp, group 4).
extern QVL::RENDERER g_Renderer;

// The switches and the triangle counter of g_Renderer, for the model drawing.
bool Render_DrawEnabledMaterials();
bool Render_DrawBloomMaterials();
void Render_CountTriangles(int32_t n);

// Constructor work: flags 1 and 0, empty lists.
void Render_InitRenderer(QVL::RENDERER& r);
// Empties both arrays and zeroes both counts and capacities.
void Render_ClearDrawLists(QVL::RENDERER& r);

// Appends to one list, growing its capacity by 10 (fresh entries: -1, -1, -1, centre 0, distance 0)
// when the count has reached it.
void DrawList_Append(std::vector<QVL::DRAW_ENTRY>& list, int32_t& count, int32_t& capacity,
                     const QVL::DRAW_ENTRY& entry);
// Bubble sort of the first count entries by distance, largest first; equal distances keep their order.
void DrawList_SortFarToNear(std::vector<QVL::DRAW_ENTRY>& list, int32_t count);

// A material is transparent when its alpha is below 255, its alpha test is on, or its texture's
// picture has an alpha channel.
bool Render_IsTransparent(float alpha, uint8_t alphaTest, bool textureHasAlpha);

// The length of a point transformed by the view matrix.
float Render_ViewDistance(const QVL::MATRIX& view, const float centre[3]);

// Rebuilds both lists: every material of every drawn object's ready model, in object and material
// order; the transparent list then sorted far to near. Nothing while modelCount is 0.
void Render_BuildDrawListsFrom(QVL::RENDERER& r, QVL::DRAW_LIST_SOURCE& source, int32_t modelCount,
                               const QVL::MATRIX& view);

// The cull test of an object with its cull-test flag set: p is its position projected to the
// window (x, y) with the clip-space z, upY the window y of the point 5 units above it.
bool Render_IsCulled(const QVL::VEC3& p, float upY, int backBufferWidth, int backBufferHeight);
