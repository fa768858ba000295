// Bone deletion with the skeleton renumbered, and the automatic weights against a scan of every
// bone for every position.
#include <cmath>
#include <random>

#include "frame/text.h"
#include "model/model_expect.h"
#include "model/skeleton.h"

namespace {

class Skeleton : public ModelTest {};

// Bones numbered 0..n-1 with the given parents.
MODEL3* WithBones(std::initializer_list<int32_t> parents)
{
    MODEL3* m = NewRecord();
    m->boneCount = (int32_t)parents.size();
    int b = 0;
    for (int32_t p : parents) {
        m->bones[b].parent = p;
        Str_Format(m->bones[b].name, sizeof m->bones[b].name, "b%d", b);
        m->bones[b].rest.translation[0] = (float)b;
        m->bones[b].keys[0].assign((size_t)b + 1, KEY3{});
        ++b;
    }
    return m;
}

TEST_F(Skeleton, DeletingABoneRenumbersParentsAndBindings)
{
    struct Case {
        const char* name;
        std::vector<int32_t> parents;
        int32_t deleted;
        std::vector<int32_t> names;     // the former number of each row left
        std::vector<int32_t> parentsAfter;
        std::vector<uint8_t> bindingsBefore, bindingsAfter;
    } cases[] = {
        {"middle of a chain", {0, 0, 1}, 1, {0, 2}, {0, 0}, {0, 1, 2, 7}, {0, 1, 1, 7}},
        {"a parent above the deleted bone", {0, 0, 0, 2, 3}, 1, {0, 2, 3, 4}, {0, 0, 1, 2}, {1, 2, 3, 4}, {1, 1, 2, 3}},
        // The last bone only lowers the count; its vertices keep a number equal to the new count.
        {"the last bone", {0, 0, 1}, 2, {0, 1}, {0, 0}, {2, 1}, {2, 1}},
        {"the only bone", {0}, 0, {0}, {0}, {0, 3}, {0, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MODEL3* m = WithBones({});
        m->boneCount = (int32_t)c.parents.size();
        for (size_t b = 0; b < c.parents.size(); ++b) {
            m->bones[b].parent = c.parents[b];
            Str_Format(m->bones[b].name, sizeof m->bones[b].name, "b%d", (int)b);
            m->bones[b].keys[0].assign(b + 1, KEY3{});
        }
        for (uint8_t bone : c.bindingsBefore) {
            AddVertex(m, 0, 0, 0, 0, 0, bone);
            m->weights.back().boneB = bone;
        }
        ASSERT_TRUE(Model3_DeleteBone(m, c.deleted));
        ASSERT_EQ((int32_t)c.names.size(), m->boneCount);
        for (size_t r = 0; r < c.names.size(); ++r) {
            char want[16];
            Str_Format(want, sizeof want, "b%d", c.names[r]);
            EXPECT_STREQ(want, m->bones[r].name) << r;
            EXPECT_EQ(c.parentsAfter[r], m->bones[r].parent) << r;
            EXPECT_EQ((size_t)c.names[r] + 1, m->bones[r].keys[0].size()) << r;   // the keys moved along
        }
        for (size_t i = 0; i < c.bindingsAfter.size(); ++i) {
            EXPECT_EQ(c.bindingsAfter[i], m->weights[i].boneA) << i;
            EXPECT_EQ(c.bindingsAfter[i], m->weights[i].boneB) << i;
        }
        Model3_Free(m);
    }
    MODEL3* m = WithBones({0, 0});
    EXPECT_FALSE(Model3_DeleteBone(m, 2));
    EXPECT_FALSE(Model3_DeleteBone(m, -1));
    EXPECT_FALSE(Model3_DeleteBone(nullptr, 0));
    EXPECT_EQ(2, m->boneCount);
    Model3_Free(m);
}

// The automatic weights as stated: every bone from 1 up, in order, with a strict nearer-than test.
uint8_t NearestByScan(int32_t bones, const float (*centres)[3], const XYZ& p)
{
    float best = 99999.9f;
    uint8_t nearest = 1;
    for (int32_t l = 1; l < bones; ++l) {
        const float d = std::fabs(p.x - centres[l][0]) + std::fabs(p.y - centres[l][1]) + std::fabs(p.z - centres[l][2]);
        if (d < best) {
            best = d;
            nearest = (uint8_t)l;
        }
    }
    return nearest;
}

TEST_F(Skeleton, AutoWeightsAgreeWithAScanOfEveryBone)
{
    std::mt19937 rng(12);
    std::uniform_real_distribution<float> coord(-10.0f, 10.0f);
    for (int32_t bones : {1, 2, 5, 64, 128, 200}) {
        SCOPED_TRACE(bones);
        MODEL3* m = NewRecord();
        m->boneCount = bones;
        const int32_t n = std::min(bones, kModel3Bones);
        for (int32_t b = 1; b < n; ++b) {
            // Parents from a file: mostly earlier bones, some anywhere, some outside the skeleton.
            const int32_t pick = (int32_t)(rng() % 10);
            m->bones[b].parent = pick < 7 ? (int32_t)(rng() % (uint32_t)b) : pick < 9 ? (int32_t)(rng() % 300) - 20 : 5000;
            // Coarse steps so that equal distances happen.
            for (int k = 0; k < 3; ++k) m->bones[b].rest.translation[k] = std::round(coord(rng)) * 0.5f;
        }
        for (int i = 0; i < 3000; ++i) {
            AddVertex(m, std::round(coord(rng)) * 0.5f, coord(rng) * 3.0f, std::round(coord(rng)));
            m->weights.back().automatic = i % 10 != 0;
            m->weights.back().boneB = 9;
        }
        for (XYZ far : {XYZ{NAN, 0, 0}, XYZ{INFINITY, 0, 0}, XYZ{1e30f, -1e30f, 0}}) {
            AddVertex(m, far.x, far.y, far.z);
            m->weights.back().automatic = 1;
        }
        ASSERT_TRUE(Model3_AutoWeights(m));
        float centres[kModel3Bones][3];
        for (int32_t b = 0; b < n; ++b)
            for (int k = 0; k < 3; ++k) centres[b][k] = m->boneCentreSums[b][k] / (float)m->boneCentreCounts[b];
        for (size_t i = 0; i < m->positions.size(); ++i) {
            const WEIGHT3& w = m->weights[i];
            if (!w.automatic) {
                EXPECT_EQ(9, w.boneB) << i;   // painted bindings are kept
                continue;
            }
            ASSERT_EQ(NearestByScan(n, centres, m->positions[i]), w.boneA) << i;
            EXPECT_EQ(0, w.boneB);
            EXPECT_EQ(1.0f, w.weightA);
        }
        Model3_Free(m);
    }
}

TEST_F(Skeleton, BoneCentreIsTheMeanOfItsJointAndItsChildren)
{
    MODEL3* m = WithBones({0, 0, 1, 1});
    // Joints: bone 1 at 1, bone 2 at 1 + 2, bone 3 at 1 + 3 (x only).
    ASSERT_TRUE(Model3_AutoWeights(m));
    EXPECT_EQ(3, m->boneCentreCounts[1]);
    EXPECT_FLOAT_EQ((1.0f + 3.0f + 4.0f) / 3.0f, m->boneCentreSums[1][0] / 3.0f);
    EXPECT_EQ(1, m->boneCentreCounts[0]);   // children of the root add nothing to it
    // Exactly between the centres of bones 2 (x = 3) and 3 (x = 4): the lower number.
    AddVertex(m, 3.5f, 0, 0);
    m->weights.back().automatic = 1;
    ASSERT_TRUE(Model3_AutoWeights(m));
    EXPECT_EQ(2, m->weights.back().boneA);
    EXPECT_FALSE(Model3_AutoWeights(nullptr));
    Model3_Free(m);
}

} // namespace
