#include <algorithm>
#include <vector>

#include "model/exact_index.h"
#include "model/model_load.h"
#include "model/normals.h"

using namespace QVL;

bool Model3_Weld(MODEL3* m)
{
    if (!m) return false;
    Model3_FitArrays(m);
    // The source arrays are taken whole before anything is cleared (no scratch slot of the model
    // table, whose copy could fail after the counts were wiped).
    const int32_t faceCount = std::min<int32_t>(m->faceCount, (int32_t)m->faces.size());
    const std::vector<XYZ> positions = std::move(m->positions);
    const std::vector<WEIGHT3> weights = std::move(m->weights);
    const std::vector<RGBA> colors = std::move(m->colors);
    const std::vector<UV2> uvs = std::move(m->uvs);

    m->positions.clear();
    m->weights.clear();
    m->colors.clear();
    m->uvs.clear();
    m->positions.reserve(positions.size());
    m->weights.reserve(positions.size());
    m->colors.reserve(colors.size());
    m->uvs.reserve(uvs.size());
    m->faceCount = m->positionCount = m->colorCount = m->uvCount = 0;

    ExactIndex<3> seenPos(positions.size() / 4);
    ExactIndex<4> seenColor(colors.size() / 4);
    ExactIndex<2> seenUV(uvs.size() / 4);
    // In place: face f is rewritten only after its own corners were read.
    for (int32_t f = 0; f < faceCount; ++f) {
        FACE3& face = m->faces[f];
        int k = std::min<int>(face.cornerCount, 4);
        for (int c = 0; c < k; ++c) {
            int32_t* corner = face.corners[c];
            // FitArrays made every index a face uses valid in the source arrays.
            const XYZ& p = positions[(size_t)corner[CORNER_POS]];
            int32_t at = seenPos.FindOrAdd(&p.x, (int32_t)m->positions.size());
            if (at < 0) {
                at = (int32_t)m->positions.size();
                m->positions.push_back(p);
                m->weights.push_back(weights[(size_t)corner[CORNER_POS]]);
            }
            corner[CORNER_POS] = at;

            const RGBA& col = colors[(size_t)corner[CORNER_COLOR]];
            at = seenColor.FindOrAdd(&col.r, (int32_t)m->colors.size());
            if (at < 0) {
                at = (int32_t)m->colors.size();
                m->colors.push_back(col);
            }
            corner[CORNER_COLOR] = at;

            const UV2& uv = uvs[(size_t)corner[CORNER_UV]];
            at = seenUV.FindOrAdd(&uv.u, (int32_t)m->uvs.size());
            if (at < 0) {
                at = (int32_t)m->uvs.size();
                m->uvs.push_back(uv);
            }
            corner[CORNER_UV] = at;
        }
    }
    m->faceCount = faceCount;
    m->positionCount = (int32_t)m->positions.size();
    m->colorCount = (int32_t)m->colors.size();
    m->uvCount = (int32_t)m->uvs.size();
    m->deformedPositions.assign(m->positions.size(), XYZ());
    m->deformedNormals.assign(m->positions.size(), XYZ());
    Model3_CalcNormals(m);
    return true;
}
