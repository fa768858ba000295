// The face split of the polygon screen: every selected four-cornered face becomes four faces that
// meet at its centre.
#pragma once
#include <cstdint>

#include "edit3d/poly_mesh.h"
#include "model/model3.h"

struct POLY_SPLIT_RESULT {
    int32_t split;     // faces split
    bool otherCorners; // a selected face of other than four corners was passed over
    bool refused;      // the new entries would pass the limits: nothing changed
};

// Face mode only (nothing happens in vertex mode). The new faces end the list in the order of the
// faces they come from, each with sixteen entries of its own; the split faces are removed in one
// pass. The caller recomputes the normals.
POLY_SPLIT_RESULT PolyMesh_SplitFaces(QVL::MODEL3* m, POLY_SEL& s);
