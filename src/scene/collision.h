// Collision resolution, once per frame: every scene object with collision enabled stays in the
// collision area and on its floor, is pushed apart from the others and out of the box and circle
// walls, is stopped and carried by the collision model's faces, and falls under gravity.
#pragma once
#include <cstdint>

#include "frame/math3d.h"

// One pass over all objects (nothing unless the collision record exists and is active). Pushing
// apart is pair by pair, quadratic in the objects: the object table holds at most kObjectMax (256)
// objects, which bounds it. Faces are found through a grid over the collision model, so each
// object tests only the faces near it.
void Coli_ResolveObjects();

// True when the segment from s to e crosses the triangle p0 p1 p2; the crossing point into *hit.
// A degenerate triangle (no normal) is never crossed.
bool Coli_SegmentTriangle(const QVL::VEC3& s, const QVL::VEC3& e, const QVL::VEC3& p0, const QVL::VEC3& p1,
                          const QVL::VEC3& p2, QVL::VEC3* hit);

float Coli_VecLength(float x, float y, float z);
// The unit vector; the zero vector when the length is below 1e-7.
QVL::VEC3 Coli_VecNormalize(float x, float y, float z);
