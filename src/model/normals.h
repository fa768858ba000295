// Face and per-position normals, and face deletion.
#pragma once
#include <cstdint>

#include "model/model3.h"

// Face normals of every face with 3 or more corners (a zero-length one is (0, 0, 0)), the smoothed
// normal of every position into the deformed normals, and, in the studio or for render kind 8, the
// normal table rebuilt to the distinct smoothed normals in order of first use with every corner
// pointing at its position's. False for a null model.
bool Model3_CalcNormals(QVL::MODEL3* m);
// Moves the later faces down by one; nothing else changes. False for a null model or a bad index.
bool Model3_DeleteFace(QVL::MODEL3* m, int32_t index);
