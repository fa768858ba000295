// Appending to a model's attribute arrays and faces for the polygon creation and split operations:
// the limit check made before anything changes, then appends by count.
#pragma once
#include <cstdint>

#include "edit3d/poly_mesh.h"
#include "model/model3.h"

// The face count as far as the face list holds it.
int32_t PolyAppend_FaceCount(const QVL::MODEL3* m);
// True when this many new positions, normals, colours, UVs and faces stay within the limits of the
// selection (attribute arrays up to maxVertices, faces up to maxPolygons).
bool PolyAppend_Fits(const QVL::MODEL3* m, const POLY_SEL& s, int64_t positions, int64_t normals, int64_t colors,
                     int64_t uvs, int64_t faces);
// Makes the arrays whole and reserves room, so that appends do not move the arrays more than once.
void PolyAppend_Begin(QVL::MODEL3* m, int64_t entries, int64_t faces);
// Each writes the entry at its count, raises the count and returns the entry's index.
int32_t PolyAppend_Position(QVL::MODEL3* m, const QVL::XYZ& p, const QVL::WEIGHT3& w = QVL::WEIGHT3{0, 0, 0.0f, 1});
int32_t PolyAppend_Normal(QVL::MODEL3* m, const QVL::XYZ& n);
int32_t PolyAppend_Color(QVL::MODEL3* m, const QVL::RGBA& c);
int32_t PolyAppend_UV(QVL::MODEL3* m, const QVL::UV2& t);
int32_t PolyAppend_Face(QVL::MODEL3* m, const QVL::FACE3& f);
// Restores the arrays' invariant after the appends.
void PolyAppend_End(QVL::MODEL3* m);
