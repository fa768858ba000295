// The 2D one-skin models (QVB) in the 2D layer: textured triangles in screen coordinates, one batch
// per shown group.
#pragma once
#include <cstdint>
#include <vector>

namespace QVL {

struct MODEL2_VERTEX {
    int32_t x, y;
    int32_t r, g, b, a;   // 0..255
    float u, v;
};

// A shown group's triangles (three vertices each) and the texture slot they use (-1 none).
struct MODEL2_BATCH {
    int32_t texture;
    std::vector<MODEL2_VERTEX> vertices;
};

} // namespace QVL

// The batches of the model in the slot, in group order; empty for a slot not in use. Polygons whose
// indices name nothing, and textures past the table, are left out rather than read.
void Model2_BuildBatches(int32_t id, int32_t screen, int32_t currentBone, std::vector<QVL::MODEL2_BATCH>& out);
// Every model in use, in slot order.
void Model2_DrawAll();
