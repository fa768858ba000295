// One subdivision pass: every quad becomes four quads meeting at its centre.
#pragma once

#include "model/model3.h"

// Each face that is not a triangle is replaced by four quads of group 0 with fresh position,
// normal, colour and UV entries; the faces left in place keep their order at the front, the new
// ones follow in the order of the faces they replace. Normals are recomputed when a face was
// replaced. False for a null model. The caller keeps the model within its limits.
bool Model3_SubdivideQuads(QVL::MODEL3* m);
