// The triangles of immediate model drawing (render kinds 0 and 8, and the outline hull), written
// into a bounded vertex array that is drawn whenever it fills: a material may need more vertices
// than the array holds (a mirrored double-sided quad takes 18, a displaced copy may exceed the
// polygon limit).
#pragma once
#include <cstdint>

#include "model/model3.h"

namespace QVL {

struct IMMEDIATE_VERTEX {
    float x, y, z;
    float nx, ny, nz;
    uint32_t diffuse;    // ARGB
    uint32_t specular;   // ARGB
    float u, v;
};
static_assert(sizeof(IMMEDIATE_VERTEX) == 40, "the immediate draw's stride");

// The vertices of whole triangles; `flush` draws `count` of them (a multiple of 3).
struct VERTEX_SINK {
    IMMEDIATE_VERTEX* vertices;
    int32_t capacity;   // at least kSinkMinimum
    int32_t count;
    void (*flush)(void* context, const IMMEDIATE_VERTEX* vertices, int32_t count);
    void* context;
};

// The most one face writes: two fan triangles, their mirrored twins and two back triangles.
constexpr int32_t kSinkMinimum = 18;

struct MATERIAL_DRAW_OPTIONS {
    bool deformed;      // posed positions and normals
    bool highlight;     // the highlighted object: pushed out along the normal, magenta
    int32_t curBone;    // the weight view's bone
};

} // namespace QVL

// Draws what the sink holds and empties it.
void VertexSink_Flush(QVL::VERTEX_SINK& sink);

// The triangles of material g of m (faces of 3 or more corners), face by face: the fan triangles,
// then their mirrored twins when the material is mirrored, then the back triangles when it is
// double-sided. Returns the number of triangles written; the sink is flushed when it would overflow
// (call VertexSink_Flush for the rest).
int32_t Render_EmitMaterial(const QVL::MODEL3* m, int32_t g, const QVL::MATERIAL_DRAW_OPTIONS& options,
                            QVL::VERTEX_SINK& sink);
// The outline hull of material g: reversed fan triangles pushed out along the normals by
// edge width * 0.05, black, with mirrored twins. Returns the number of triangles.
int32_t Render_EmitOutline(const QVL::MODEL3* m, int32_t g, bool deformed, QVL::VERTEX_SINK& sink);

// The diffuse colour of a front-face corner (weight view, vertex colours or the material, with
// the tint).
uint32_t Render_CornerDiffuse(const QVL::MODEL3* m, const QVL::GROUP3& g, const int32_t* corner, int32_t curBone);
