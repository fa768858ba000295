// One subdivision pass: every quad becomes four quads meeting at its centre.
#pragma once

#include "model/model3.h"

// Each face that is not a triangle is replaced by four quads of group 0 with fresh position,
// normal, colour and UV entries; the faces left in place keep their order at the front, the new
// ones follow in the order of the faces they replace. Normals are recomputed when a face was
// replaced. False for a null model. A pass that would take the face count past g_PolyLimit or an
// attribute count past g_VertexLimit is refused with a message and changes nothing (false).
bool Model3_SubdivideQuads(QVL::MODEL3* m);
// Whether the pass splits the face (four corners or more; a larger face as the quad of its first four).
bool Model3_SplitsFace(const QVL::FACE3& face);
// Whether a pass that splits this many faces keeps the model within the limits.
bool Model3_SubdivisionFits(const QVL::MODEL3* m, int64_t splits);
