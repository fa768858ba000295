// The bone palette of the GPU-skinned draw: what each entry holds, how a model with more bones than
// the palette is met, and the draw counts that may not run past the buffers.
#include <gtest/gtest.h>

#include <vector>

#include "render/skin_palette.h"

using namespace QVL;

namespace {

VEC3 Apply(const MATRIX& m, VEC3 p)
{
    VEC3 out;
    Math_TransformPoint(&out, p.x, p.y, p.z, m);
    return out;
}

TEST(SkinPalette, EntryMovesTheRestPositionThenPoses)
{
    std::vector<VEC3> rest = {{1, 2, 3}, {0, 5, 0}};
    std::vector<MATRIX> pose(2);
    Math_MatrixIdentity(&pose[0]);
    Math_MatrixTranslation(&pose[1], 10, 0, 0);
    MATRIX palette[kSkinPaletteSize];
    EXPECT_EQ(Skin_BuildPalette(palette, 2, rest.data(), pose.data(), 2), 2);
    // An identity pose takes a vertex at the rest position to the origin.
    VEC3 a = Apply(palette[0], rest[0]);
    EXPECT_FLOAT_EQ(a.x, 0);
    EXPECT_FLOAT_EQ(a.y, 0);
    EXPECT_FLOAT_EQ(a.z, 0);
    // The rest translation comes first, the pose after it.
    VEC3 b = Apply(palette[1], VEC3{0, 5, 0});
    EXPECT_FLOAT_EQ(b.x, 10);
    EXPECT_FLOAT_EQ(b.y, 0);
    EXPECT_FLOAT_EQ(b.z, 0);
}

TEST(SkinPalette, EntriesPastTheBonesAreIdentity)
{
    struct CASE {
        int32_t bones, available, expectSet;
    } cases[] = {{0, 0, 0}, {3, 3, 3}, {32, 32, 32}, {128, 128, 32}, {5, 2, 5}, {-4, 0, 0}};
    for (const CASE& c : cases) {
        std::vector<VEC3> rest((size_t)c.available + 1, VEC3{7, 7, 7});
        std::vector<MATRIX> pose((size_t)c.available + 1);
        for (MATRIX& m : pose) Math_MatrixScaling(&m, 2, 2, 2);
        MATRIX palette[kSkinPaletteSize];
        for (MATRIX& m : palette) Math_MatrixScaling(&m, 9, 9, 9);   // stale contents
        EXPECT_EQ(Skin_BuildPalette(palette, c.bones, rest.data(), pose.data(), c.available), c.expectSet) << c.bones;
        for (int32_t i = 0; i < kSkinPaletteSize; ++i) {
            VEC3 p = Apply(palette[i], VEC3{7, 7, 7});
            const float expect = i < c.available && i < c.expectSet ? 0.0f : 7.0f;
            EXPECT_FLOAT_EQ(p.x, expect) << "bones " << c.bones << " entry " << i;
        }
    }
}

TEST(SkinPalette, MaterialBlendingBonesPastThePaletteIsRefused)
{
    struct CASE {
        uint8_t boneA, boneB;
        float weightA;
        bool fits;
    } cases[] = {
        {0, 1, 0.5f, true},    {31, 31, 0.5f, true}, {32, 0, 0.5f, false}, {0, 32, 0.5f, false},
        {0, 200, 1.0f, true},  // B has no weight
        {200, 3, 0.0f, true},  // A has no weight
        {127, 0, 1.0f, false},
    };
    for (const CASE& c : cases) {
        GROUP3 g{};
        g.exportVertexCount = 2;
        g.exportWeights = {WEIGHT3{0, 0, 1.0f, 0}, WEIGHT3{c.boneA, c.boneB, c.weightA, 0}};
        EXPECT_EQ(Skin_MaterialFitsPalette(g, kSkinPaletteSize), c.fits)
            << (int)c.boneA << " " << (int)c.boneB << " " << c.weightA;
    }
    // Weights past the export count are not drawn, so they do not count.
    GROUP3 g{};
    g.exportVertexCount = 1;
    g.exportWeights = {WEIGHT3{0, 0, 1.0f, 0}, WEIGHT3{100, 100, 0.5f, 0}};
    EXPECT_TRUE(Skin_MaterialFitsPalette(g, kSkinPaletteSize));
}

TEST(SkinPalette, DrawCountsStayInsideTheBuffers)
{
    struct CASE {
        int32_t exportVerts, exportTris, bufferVerts, indices;
        uint32_t verts, tris;
        bool draws;
    } cases[] = {
        {8, 12, 8, 36, 8, 12, true},      // as built
        {100, 12, 8, 36, 8, 12, true},    // export count grew after the buffers were made
        {8, 5000, 8, 36, 8, 12, true},    // more triangles claimed than indices held
        {8, 12, 8, 35, 8, 11, true},      // a partial triangle is not drawn
        {-3, 12, 8, 36, 0, 12, false},
        {8, -1, 8, 36, 8, 0, false},
        {8, 12, 8, 0, 8, 0, false},
    };
    for (const CASE& c : cases) {
        uint32_t v = 99, t = 99;
        EXPECT_EQ(Skin_DrawCounts(c.exportVerts, c.exportTris, c.bufferVerts, c.indices, &v, &t), c.draws);
        EXPECT_EQ(v, c.verts);
        EXPECT_EQ(t, c.tris);
    }
}

} // namespace
