// The polygon screen's mesh operations on one model and its selection flags, free of the editor's
// globals (the screen's commands in poly_screen.cpp pass them in).
#pragma once
#include <cstdint>
#include <vector>

#include "model/model3.h"

// The selection the operations read and write, with the limits of the attribute arrays and faces.
struct POLY_SEL {
    int32_t* vertexSel;     // one flag per position, room for maxVertices
    int32_t* faceSel;       // one flag per face, room for maxPolygons
    int32_t maxVertices;
    int32_t maxPolygons;
    int32_t faceMode;       // 0 vertices, 1 faces
    int32_t pickedVertex;   // -1 none
};

// Removes face i (when below the face count): later faces and their flags move down one place.
void PolyMesh_RemoveFace(QVL::MODEL3* m, POLY_SEL& s, int32_t i);
// Removes every face whose keep entry is 0 in one pass, keeping the order of the others and their
// flags. keep has one entry per face below the face count.
void PolyMesh_Compact(QVL::MODEL3* m, POLY_SEL& s, const std::vector<uint8_t>& keep);

// Face mode: reverses the corner order (position, colour, UV) of every selected face.
void PolyMesh_Flip(QVL::MODEL3* m, const POLY_SEL& s);
// Face mode: every selected face's colour indices move one corner on.
void PolyMesh_RotateColorNumbers(QVL::MODEL3* m, const POLY_SEL& s);
// Removes the selected faces (face mode) or the selected corners (vertex mode), then clears every
// flag. The caller welds and recomputes the normals.
void PolyMesh_DeleteSelection(QVL::MODEL3* m, POLY_SEL& s);
// Clears every flag, then removes the faces whose corners all lie at x <= 0.
void PolyMesh_DeleteLeftHalf(QVL::MODEL3* m, POLY_SEL& s);

enum POLY_MERGE_RESULT { MERGE_DONE = 0, MERGE_TOO_FEW = 1, MERGE_NO_PICK = 2 };
// Vertex mode: every corner on a selected position takes the picked vertex, which stays the only
// selected one. Refused (nothing changes) with fewer than two such corners or no valid pick.
POLY_MERGE_RESULT PolyMesh_MergeVertices(QVL::MODEL3* m, POLY_SEL& s);
// Face mode: selected faces that share exactly one edge (by exactly equal positions) become one,
// pass after pass until a pass merges nothing. Returns the number of faces merged away.
int32_t PolyMesh_MergeFaces(QVL::MODEL3* m, POLY_SEL& s);
// Face mode: every selected face of n > 1 corners keeps corner 0 and its other corners become point
// faces appended at the end. False (nothing changes) when the faces would pass the limit.
bool PolyMesh_FacesToPoints(QVL::MODEL3* m, POLY_SEL& s);

// The clipboard: the whole attribute arrays and the selected faces.
void PolyMesh_Copy(const QVL::MODEL3* m, const POLY_SEL& s, QVL::MODEL3* clip);
// Appends the clipboard's faces with new entries for every corner. False (nothing changes) when an
// attribute array or the faces would pass the limits.
bool PolyMesh_Paste(QVL::MODEL3* m, const POLY_SEL& s, const QVL::MODEL3* clip);

// The colour's index in the table (the last equal entry), appended when new; then the corners on
// selected positions (of selected faces in face mode) take it. False when a new entry would pass
// the limit.
bool PolyMesh_ApplyVertexColor(QVL::MODEL3* m, const POLY_SEL& s, const float rgba[4]);

// S: when any flag of either array is 0 every flag becomes 1, else every flag becomes 0.
void PolyMesh_SelectAll(POLY_SEL& s);
void PolyMesh_InvertSelection(POLY_SEL& s);
// The selection counter's text: "面  %4d / %4d" or "頂点  %4d / %4d".
void PolyMesh_CountText(const QVL::MODEL3* m, const POLY_SEL& s, char* out, int cap);
