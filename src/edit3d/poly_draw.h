// The polygon screen's wire frame in the Front, Top and Side views: the screen mapping and the
// batches of lines and points it draws.
#pragma once
#include <cstdint>
#include <vector>

#include "edit3d/poly_drag.h"
#include "model/model3.h"

// Lines (x1, y1, x2, y2) or points (x, y) of one colour, drawn in one call each.
struct POLY_BATCH {
    bool points;
    uint8_t rgba[4];
    std::vector<int32_t> xy;
};

// Collects primitives in drawing order; consecutive ones of one kind and colour share a batch, so the
// pixels are those of one call per primitive.
class PolyBatcher {
public:
    void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const uint8_t rgba[4]);
    // A line, or a point when both ends fall on one pixel.
    void Edge(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const uint8_t rgba[4]);
    void Point(int32_t x, int32_t y, const uint8_t rgba[4]);
    // The 5 x 5 outline around a point.
    void Square(int32_t x, int32_t y, const uint8_t rgba[4]);
    // Draws what is collected (Draw_Batch2D) and empties the batcher.
    void Flush();
    const std::vector<POLY_BATCH>& Batches() const { return m_batches; }
    void Clear() { m_batches.clear(); m_used = 0; }

private:
    POLY_BATCH& Open(bool points, const uint8_t rgba[4]);
    std::vector<POLY_BATCH> m_batches;   // kept between frames so their storage is reused
    size_t m_used = 0;
};

// Device side (edit3d/win32/poly_batch_d3d.cpp): one line list or point list in the 2D mapping.
void Draw_Batch2D(const POLY_BATCH& batch);

// A model point on the screen of a Front, Top or Side view (the integer part toward zero).
void PolyDraw_MapPoint(const POLY_VIEW& view, const QVL::XYZ& p, int32_t* sx, int32_t* sy);

// The per-corner step of the wire frame (edges, vertex squares) for every face, and the face
// centres and mean normals on the view's axes (2 floats each per face, when not null).
struct POLY_WIRE_INPUT {
    const QVL::MODEL3* model;
    POLY_VIEW view;
    const int32_t* vertexSel;
    int32_t maxVertices;
    const int32_t* faceSel;
    int32_t maxPolygons;
    int32_t faceMode;
};
void PolyDraw_Wire(const POLY_WIRE_INPUT& in, PolyBatcher& out, float* centres, float* normals2D,
                   void (*corner)(int32_t face, int32_t corner, int32_t x, int32_t y, void* user), void* user);
// The selected faces of face mode: per face the fill (through fill, which draws it in order with the
// batches), its light edges and its normal line.
void PolyDraw_SelectedEdges(const POLY_WIRE_INPUT& in, const float* centres, const float* normals2D,
                            int32_t showNormals, PolyBatcher& out,
                            void (*fill)(PolyBatcher& out, const int32_t* sx, const int32_t* sy, int32_t corners));

extern const uint8_t kPolyEdgeColour[4];
extern const uint8_t kPolyVertexColour[4];
extern const uint8_t kPolyFaceFillColour[4];
extern const uint8_t kPolyFaceEdgeColour[4];
extern const uint8_t kPolyFaceNormalColour[4];
