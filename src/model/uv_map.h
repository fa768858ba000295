// Texture coordinates of a material group computed from its positions: planar, cylinder, sphere and
// fixed per-face layouts.
#pragma once
#include <cstdint>

#include "model/model2.h"
#include "model/model3.h"

enum {
    UVMAP_FRONT = 0,
    UVMAP_TOP = 1,
    UVMAP_SIDE = 2,
    UVMAP_CYLINDER = 3,
    UVMAP_SPHERE = 4,
    UVMAP_EACH_FACE = 5,
    UVMAP_FREE = 10,
};

// The group's mapping type decides; type 10 and unknown types keep the UVs. A cylinder or sphere
// mapping turns the group's triangles into quads whose corner 3 repeats corner 0.
void Model3_MapGroupUv(int32_t id, int32_t group);
void Model3_MapGroupUvOf(QVL::MODEL3* m, int32_t group);
// The cylinder and sphere mappings' last pass over the group's faces as their UVs stand: triangles
// become quads repeating corner 0, cap centres take the ring's u, faces across the seam run past 1.
void Model3_MendGroupSeams(QVL::MODEL3* m, int32_t group);
// Planar (type 0) and fixed per-face (type 5) mapping of a 2D model's group.
void Model2_MapGroupUvPlanar(int32_t slot, int32_t group);
void Model2_MapGroupUvPlanarOf(QVL::MODEL2* m, int32_t group);
