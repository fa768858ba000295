// Skeleton operations: deleting a bone with the skeleton renumbered, and the automatic weights the
// loader runs on every model it finishes (with the rest matrices of the motion evaluation).
#pragma once
#include <cstdint>

#include "model/model3.h"
#include "model/motion3.h"

// Binds every position whose automatic flag is set to the nearest bone centre (bone 0 never; the
// lower number on equal distances; bone 1 when no bone is nearer than 99999.9). A grid over the
// centres keeps this linear in the positions. False for a null model.
bool Model3_AutoWeights(QVL::MODEL3* m);
// Row `dst` takes the rest key, name, parent and every motion's keys of row `src`. False for a null
// model or a row outside the skeleton's 128.
bool Model3_CopyBone(QVL::MODEL3* m, int32_t src, int32_t dst);
// Removes bone s: the later bones move down a row, parents and bindings follow them; a model keeps
// at least one bone. False for a null model or a bone outside the bone count.
bool Model3_DeleteBone(QVL::MODEL3* m, int32_t s);
