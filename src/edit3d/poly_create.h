// Polygon creation on one model and its selection: extrusion, faces from selected vertices, the
// free polygon, primitives and whole model files added to the model. Each checks the limits first
// and changes nothing when the addition would pass them.
#pragma once
#include <cstdint>

#include "edit3d/poly_mesh.h"
#include "model/model3.h"

// Vertex mode: each selected position used by a face of three or more corners moves once, by the
// normal of the first such corner.
void PolyMesh_ExtrudeVertices(QVL::MODEL3* m, const POLY_SEL& s);

struct POLY_EXTRUDE_RESULT {
    int32_t extruded;  // faces raised
    int32_t skipped;   // selected faces of no area (no normal), passed over
    bool refused;      // past the limits: nothing changed
};
// Face mode: every selected face of three or more corners that existed before moves by
// normal / zoom * 0.25 onto new positions, joined to its old edges by four-cornered side faces.
POLY_EXTRUDE_RESULT PolyMesh_ExtrudeFaces(QVL::MODEL3* m, POLY_SEL& s, float zoom);

struct POLY_CREATE_RESULT {
    int32_t corners;   // distinct selected positions met (only 3 and 4 make a face)
    bool refused;      // the face list is full
};
// A face of the distinct selected positions in the order the faces' corners meet them, with the
// corners' normal, colour and UV indices.
POLY_CREATE_RESULT PolyMesh_CreateFace(QVL::MODEL3* m, const POLY_SEL& s, int32_t group);

// A face of n (1..4) points offset from the pan point, white, with new positions and UVs. False
// (nothing changes) past the limits.
bool PolyMesh_AddFreePolygon(QVL::MODEL3* m, POLY_SEL& s, const float points[4][3], int32_t n, const float pan[3],
                             int32_t group);

// The source's positions scaled by zoom * 0.25 about its origin and moved to the pan point, its faces
// in the group with entries of their own, all selected. False (nothing changes) past the limits.
bool PolyMesh_AddPrimitive(QVL::MODEL3* m, POLY_SEL& s, const QVL::MODEL3* src, float zoom, const float pan[3],
                           int32_t group);

enum POLY_ADD_RESULT { ADD_DONE = 0, ADD_TOO_MANY_VERTICES = 1, ADD_TOO_MANY_GROUPS = 2, ADD_TOO_MANY_TEXTURES = 3 };
// The whole source after the model's own: positions with their weights, faces, groups (texture
// indices moved past the model's textures) and texture entries; everything added is selected.
// The caller loads the added textures' pictures.
POLY_ADD_RESULT PolyMesh_AddModel(QVL::MODEL3* m, POLY_SEL& s, const QVL::MODEL3* src);
