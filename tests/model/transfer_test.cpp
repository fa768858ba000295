// Moving bindings, motions and bones from a model file onto another model by nearest position.
#include <cmath>
#include <cstring>
#include <map>
#include <random>
#include <tuple>

#include "model/model_expect.h"
#include "model/model_load.h"
#include "model/transfer.h"

namespace {

class Transfer : public ModelTest {};

// A source with a rig to move: every position its own binding, three motions, five bones.
MODEL3* RiggedSource()
{
    MODEL3* m = NewRecord();
    MakeQuadGrid(m, 6, 5, 2);
    for (int32_t i = 0; i < m->positionCount; ++i)
        m->weights[i] = WEIGHT3{(uint8_t)(i % 5), (uint8_t)((i + 1) % 5), (float)(i % 7) / 7.0f, 0};
    Motion3_ResizeList(m->motions, 3);
    const char* names[3] = {"歩く", "走る", "止まる"};
    for (int mo = 0; mo < 3; ++mo) {
        std::strcpy(m->motions[mo].name, names[mo]);
        m->motions[mo].length = 10 + mo * 5;
        m->motions[mo].loop = (uint8_t)(mo & 1);
    }
    m->boneCount = 5;
    for (int k = 0; k < 5; ++k) {
        BONE3& b = m->bones[k];
        std::snprintf(b.name, sizeof b.name, "骨%d", k);
        b.rest.translation[0] = (float)k;
        b.rest.rotation[2] = 0.5f;
        b.rest.scale[1] = 2.0f + (float)k;
        b.parent = k > 0 ? k - 1 : 0;
        b.keys.resize(3);
        for (int mo = 0; mo < 3; ++mo) {
            b.keys[mo].resize((size_t)(1 + mo));
            for (size_t j = 0; j < b.keys[mo].size(); ++j) {
                Key3_Default(&b.keys[mo][j]);
                b.keys[mo][j].frame = (int32_t)j * 4;
                b.keys[mo][j].translation[1] = (float)(k * 10 + mo);
            }
        }
    }
    return m;
}

// A target that differs in every transferred member: one motion, seven bones, automatic weights.
void Unrig(MODEL3* m)
{
    for (int32_t i = 0; i < m->positionCount; ++i) m->weights[i] = WEIGHT3{9, 8, 0.25f, 1};
    Motion3_ResizeList(m->motions, 1);
    std::strcpy(m->motions[0].name, "元");
    m->boneCount = 7;
    for (int k = 0; k < 7; ++k) {
        std::snprintf(m->bones[k].name, sizeof m->bones[k].name, "old%d", k);
        m->bones[k].rest.frame = 33;
        m->bones[k].keys.assign(1, std::vector<KEY3>(1));
    }
}

std::string SaveSource(const char* name)
{
    MODEL3* m = RiggedSource();
    std::string path = WriteTempFile(name, SaveBytes(m));
    Model3_Free(m);
    return path;
}

TEST_F(Transfer, MovedCopyTakesTheRigOfTheFirstPositionAtEachPlace)
{
    std::string path = SaveSource("rig.qvp");
    int32_t ref = Model3_Load(-1, path.c_str());
    ASSERT_GE(ref, 0);
    const MODEL3* src = Model3_GetById(ref);
    int32_t id = Model3_Create();
    ASSERT_TRUE(Model3_Copy(ref, id));
    MODEL3* dst = Model3_GetById(id);
    Unrig(dst);
    // Moved by much less than the grid spacing, so every position still lies nearest its twin;
    // the quads repeat their corners, and the lowest index at each place must win.
    for (int32_t i = 0; i < dst->positionCount; ++i) {
        dst->positions[i].x += 0.03f;
        dst->positions[i].y -= 0.02f;
        dst->positions[i].z += 0.01f;
    }
    std::map<std::tuple<float, float, float>, int32_t> first;
    for (int32_t i = 0; i < src->positionCount; ++i)
        first.emplace(std::make_tuple(src->positions[i].x, src->positions[i].y, src->positions[i].z), i);
    ASSERT_LT(first.size(), (size_t)src->positionCount);   // the fixture has ties

    Model3_TransferVertexData(id, path.c_str());

    ASSERT_EQ(src->positionCount, dst->positionCount);
    for (int32_t i = 0; i < dst->positionCount; ++i) {
        SCOPED_TRACE(i);
        const XYZ& p = src->positions[i];
        const WEIGHT3& w = src->weights[first.at(std::make_tuple(p.x, p.y, p.z))];
        EXPECT_EQ(w.boneA, dst->weights[i].boneA);
        EXPECT_EQ(w.boneB, dst->weights[i].boneB);
        EXPECT_TRUE(SameBits(w.weightA, dst->weights[i].weightA));
        EXPECT_EQ(0, dst->weights[i].automatic);
        EXPECT_TRUE(SameBits(src->positions[i].x + 0.03f, dst->positions[i].x));   // mesh untouched
    }
    ASSERT_EQ(3u, dst->motions.size());
    for (int mo = 0; mo < 3; ++mo) {
        EXPECT_STREQ(src->motions[mo].name, dst->motions[mo].name);
        EXPECT_EQ(src->motions[mo].length, dst->motions[mo].length);
        EXPECT_EQ(src->motions[mo].loop, dst->motions[mo].loop);
    }
    EXPECT_EQ(5, dst->boneCount);   // the target had seven
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE(k);
        const BONE3& s = src->bones[k];
        const BONE3& d = dst->bones[k];
        EXPECT_STREQ(s.name, d.name);
        ExpectFloats(s.rest.translation, d.rest.translation, 3, "translation");
        ExpectFloats(s.rest.rotation, d.rest.rotation, 4, "rotation");
        ExpectFloats(s.rest.scale, d.rest.scale, 3, "scale");
        EXPECT_EQ(33, d.rest.frame);   // the rest key's frame stays the target's
        EXPECT_EQ(s.parent, d.parent);
        ASSERT_EQ(3u, d.keys.size());
        for (int mo = 0; mo < 3; ++mo) {
            ASSERT_EQ(s.keys[mo].size(), d.keys[mo].size());
            for (size_t j = 0; j < s.keys[mo].size(); ++j) {
                EXPECT_EQ(s.keys[mo][j].frame, d.keys[mo][j].frame);
                EXPECT_TRUE(SameBits(s.keys[mo][j].translation[1], d.keys[mo][j].translation[1]));
            }
        }
    }
    // Bones past the new count keep a key list per motion.
    EXPECT_EQ(3u, dst->bones[6].keys.size());
    EXPECT_EQ(1, Model3_GetById(kTransferSlot)->releaseRequest);
}

TEST_F(Transfer, FileThatCannotBeReadLeavesTheTargetAsItWas)
{
    std::vector<uint8_t> bytes;
    {
        MODEL3* m = RiggedSource();
        bytes = SaveBytes(m);
        Model3_Free(m);
    }
    bytes.resize(bytes.size() / 2);
    const std::string cases[] = {WriteTempFile("half.qvp", bytes), Rec_TempDir() + "/none.qvp"};
    for (const std::string& path : cases) {
        SCOPED_TRACE(path);
        int32_t id = Model3_Create();
        MODEL3* dst = Model3_GetById(id);
        MakeCube(dst);
        Unrig(dst);
        Model3_TransferVertexData(id, path.c_str());
        EXPECT_EQ(7, dst->boneCount);
        ASSERT_EQ(1u, dst->motions.size());
        EXPECT_STREQ("元", dst->motions[0].name);
        EXPECT_STREQ("old3", dst->bones[3].name);
        for (int32_t i = 0; i < dst->positionCount; ++i) ExpectWeight(WEIGHT3{9, 8, 0.25f, 1}, dst->weights[i]);
        EXPECT_EQ(1, Model3_GetById(kTransferSlot)->releaseRequest);   // the scratch slot goes back
        Model3_ProcessReleases();
    }
}

TEST_F(Transfer, MissingTargetOrLiveScratchSlotChangesNothing)
{
    std::string path = SaveSource("rig.qvp");
    Model3_TransferVertexData(3, path.c_str());
    EXPECT_EQ(0, Model3_Count());   // no scratch slot made for nothing

    // A model living in the scratch slot is neither replaced nor released.
    while (Model3_Count() <= kTransferSlot) Model3_Create();
    MODEL3* live = Model3_GetById(kTransferSlot);
    MakeCube(live);
    MODEL3* dst = Model3_GetById(0);
    Unrig(dst);
    Model3_TransferVertexData(0, path.c_str());
    EXPECT_EQ(live, Model3_GetById(kTransferSlot));
    EXPECT_EQ(0, live->releaseRequest);
    EXPECT_EQ(7, dst->boneCount);
}

TEST_F(Transfer, NothingNearEnoughBindsToTheRootBone)
{
    MODEL3* src = RiggedSource();
    struct Case { const char* what; int32_t sourcePositions; float offset; };
    const Case cases[] = {
        {"no source positions", 0, 0.0f},
        {"all sources too far", -1, 2.0e5f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MODEL3* s = new MODEL3(*src);
        if (c.sourcePositions >= 0) s->positionCount = c.sourcePositions;
        MODEL3* dst = NewRecord();
        MakeQuadGrid(dst, 2, 2);
        Unrig(dst);
        for (int32_t i = 0; i < dst->positionCount; ++i) dst->positions[i].x += c.offset;
        Model3_TransferFrom(s, dst);
        for (int32_t i = 0; i < dst->positionCount; ++i) ExpectWeight(WEIGHT3{0, 0, 1.0f, 0}, dst->weights[i]);
        EXPECT_EQ(5, dst->boneCount);
        Model3_Free(dst);
        delete s;
    }
    Model3_Free(src);
}

// The grid must give the plain scan's answer to the bit: ties, duplicates, special floats, flat
// and degenerate clouds, queries far outside.
TEST(TransferNearest, GridAgreesWithThePlainScan)
{
    struct Case { const char* what; int sources; int queries; int kind; };
    const Case cases[] = {
        {"random cloud", 3000, 2000, 0},
        {"integer lattice, many ties", 2000, 2000, 1},
        {"flat sheet", 2500, 1500, 2},
        {"one point repeated", 50, 100, 3},
        {"special floats", 400, 400, 4},
        {"far apart clusters", 1000, 1000, 5},
        {"single source", 1, 200, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::mt19937 rng(7 + c.kind);
        std::uniform_real_distribution<float> u(-50.0f, 50.0f);
        std::uniform_int_distribution<int> lat(-4, 4);
        const float special[] = {0.0f, -0.0f, 1e-40f, 3.4e38f, -3.4e38f, INFINITY, -INFINITY, NAN, 99999.9f, 1e5f};
        auto point = [&](bool query) -> XYZ {
            switch (c.kind) {
            case 1: return XYZ{(float)lat(rng), (float)lat(rng) * 0.5f, (float)lat(rng)};
            case 2: return XYZ{u(rng), 3.0f, u(rng)};
            case 3: return query ? XYZ{u(rng), u(rng), u(rng)} : XYZ{1, 2, 3};
            case 4: {
                XYZ p{u(rng), u(rng), u(rng)};
                float* f = &p.x;
                f[rng() % 3] = special[rng() % 10];
                return p;
            }
            case 5: {
                float shift = (rng() % 2) ? 6.0e4f : -6.0e4f;
                return XYZ{u(rng) * 0.01f + shift, u(rng) * 0.01f, u(rng) * 0.01f - (query ? 1.0e5f * (rng() % 2) : 0)};
            }
            default: return XYZ{u(rng), u(rng), u(rng)};
            }
        };
        std::vector<XYZ> src((size_t)c.sources), q((size_t)c.queries);
        for (XYZ& p : src) p = point(false);
        for (XYZ& p : q) p = point(true);
        // Queries on sources and far outside the cloud as well.
        for (size_t i = 0; i < q.size() && i < src.size(); i += 3) q[i] = src[(i * 7) % src.size()];
        if (q.size() > 4) q[1] = XYZ{1e6f, 0, 0}, q[2] = XYZ{-99999.0f, 0, 0}, q[4] = XYZ{0, 0, 99999.8f};
        std::vector<int32_t> got;
        Transfer_NearestPositions(src.data(), (int32_t)src.size(), q.data(), (int32_t)q.size(), got);
        ASSERT_EQ(q.size(), got.size());
        int matched = 0;
        for (size_t r = 0; r < q.size(); ++r) {
            int32_t want = Transfer_NearestScan(src.data(), (int32_t)src.size(), q[r]);
            EXPECT_EQ(want, got[r]) << "query " << r;
            matched += want >= 0;
        }
        EXPECT_GT(matched, 0);
    }
}

} // namespace
