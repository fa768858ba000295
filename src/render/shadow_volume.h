// The processor side of the stencil shadow volumes: the casters' triangles gathered into one work
// set, the edges of the light-facing ones, and their extrusion away from the light into one volume
// array per caster (object space). The device side is render/win32/shadows.cpp.
#pragma once
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "frame/math3d.h"
#include "model/gpu_data.h"
#include "model/model3.h"

// Object IDs below this have a volume; the tables of the pass hold this many entries.
constexpr int kShadowObjects = 256;
// Gathered vertices are numbered in 16 bits: a face is taken only while V + 6 stays below this.
constexpr int32_t kShadowVertexCap = 65000;

namespace QVL {

struct SHADOW_GATHER {
    std::vector<VEC3> positions;   // 3 per triangle, never shared
    std::vector<uint16_t> numbers; // each vertex's own number
    std::vector<int32_t> owners;   // the caster of each vertex
    int32_t budget = 0;            // B, the vertex room of the pass
};

struct SHADOW_EDGE {
    uint16_t a, b;
};

// The edge list of one pass. An edge met a second time (either way round) is the shared edge of
// two light-facing triangles and leaves the list; the lookup is a hash on the two vertex numbers.
struct SHADOW_EDGES {
    std::vector<SHADOW_EDGE> list;
    std::unordered_map<uint32_t, int32_t> where;   // unordered pair -> index in list
};

struct SHADOW_VOLUME {
    std::vector<VEC3> positions;   // 6 per extruded edge
    int32_t count = 0;
};

} // namespace QVL

// 6 per face of the caster's triangle source (its second mesh when that is switched on).
int64_t Shadow_CasterBudget(const QVL::MODEL3* m);
// The pass budget: the casters' sum, capped at what 16-bit vertex numbers can hold.
int32_t Shadow_CapBudget(int64_t sum);

// Appends the triangles of caster `owner` (fans of its faces) to the work set; a face is taken only
// while the set holds fewer than kShadowVertexCap - 6 vertices and stays inside the budget.
// `kind3` is the model's render kind 3 data (may be null). Returns the triangles added.
int32_t Shadow_GatherCaster(const QVL::MODEL3* m, const QVL::GPU_KIND3* kind3, int32_t owner, QVL::SHADOW_GATHER& g);

void Shadow_AddEdge(QVL::SHADOW_EDGES& edges, uint16_t a, uint16_t b);

// Triangles facing the light (n = e2 x e1, n . lightOf[owner] >= 0) give their three edges.
// lightOf holds kShadowObjects entries (the light in each caster's object space).
void Shadow_CollectEdges(const QVL::SHADOW_GATHER& g, const QVL::VEC3* lightOf, QVL::SHADOW_EDGES& edges);

// Each edge (a, b) becomes two triangles a, b, a - d, b, b - d, a - d with d = 10 x the light of the
// owner of a, appended to that owner's volume. Volumes of owners outside the table are skipped;
// each volume is sized for exactly its own edges.
void Shadow_Extrude(const QVL::SHADOW_GATHER& g, const QVL::SHADOW_EDGES& edges, const QVL::VEC3* lightOf,
                    QVL::SHADOW_VOLUME* volumes);
