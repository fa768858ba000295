// The export arrays a QVP file carries with each group: the group's faces as fan triangles over
// vertices de-duplicated by exact value (position, normal, colour and UV all equal), found through a
// hash over their bit patterns with the results of a first-match linear search, in linear time.
#pragma once
#include "model/model3.h"

// Each group in use gets its own de-duplicated vertices and the fan triangles of its faces over them.
void Model3_BuildExports(QVL::MODEL3* m);
