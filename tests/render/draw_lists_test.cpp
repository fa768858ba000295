// The draw lists: which materials enter which list, in what order, how the arrays grow, and the cull
// test of objects.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

#include "model/model3.h"
#include "render/renderer.h"
#include "support/model_builders.h"

using namespace QVL;

namespace {

// Materials by (alpha, alpha test, texture): the centre x sets the view distance (identity view).
struct MAT {
    float alpha;
    uint8_t alphaTest;
    int32_t texture;
    float distance;
};

struct FakeScene : DRAW_LIST_SOURCE {
    struct OBJ {
        int32_t model;   // -1: not drawn (inactive, hidden, culled or without a model)
    };
    std::vector<OBJ> objects;
    std::map<int32_t, MODEL3*> models;   // ready models
    std::set<std::pair<int32_t, int32_t>> alphaTextures;

    ~FakeScene()
    {
        for (auto& m : models) Model3_Free(m.second);
    }
    int32_t AddModel(int32_t id, std::initializer_list<MAT> mats)
    {
        MODEL3* m = NewRecord();
        m->groupCount = (int32_t)mats.size();
        int32_t j = 0;
        for (const MAT& mt : mats) {
            GROUP3& g = m->groups[(size_t)j++];
            g.alpha = mt.alpha;
            g.alphaTest = mt.alphaTest;
            g.texture = mt.texture;
            g.centre[0] = mt.distance;
            g.centre[1] = g.centre[2] = 0.0f;
        }
        auto old = models.find(id);
        if (old != models.end()) Model3_Free(old->second);
        models[id] = m;
        return id;
    }
    int32_t ObjectCount() override { return (int32_t)objects.size(); }
    int32_t DrawnModel(int32_t object) override { return objects[(size_t)object].model; }
    const MODEL3* ReadyModel(int32_t model) override
    {
        auto it = models.find(model);
        return it == models.end() ? nullptr : it->second;
    }
    bool TextureHasAlpha(int32_t model, int32_t texture) override
    {
        return alphaTextures.count({model, texture}) != 0;
    }
};

MATRIX Identity()
{
    MATRIX m;
    Math_MatrixIdentity(&m);
    return m;
}

// "object:material" of the first count entries.
std::vector<std::string> Order(const std::vector<DRAW_ENTRY>& list, int32_t count)
{
    std::vector<std::string> out;
    for (int32_t k = 0; k < count; ++k)
        out.push_back(std::to_string(list[(size_t)k].object) + ":" + std::to_string(list[(size_t)k].material));
    return out;
}

TEST(DrawLists, TransparencyTable)
{
    struct Row {
        float alpha;
        uint8_t alphaTest;
        bool textureAlpha;
        bool transparent;
    };
    const Row rows[] = {{255.0f, 0, false, false}, {254.9f, 0, false, true}, {255.0f, 1, false, true},
                        {255.0f, 0, true, true},    {0.0f, 0, false, true},    {300.0f, 0, false, false}};
    for (const Row& r : rows)
        EXPECT_EQ(r.transparent, Render_IsTransparent(r.alpha, r.alphaTest, r.textureAlpha))
            << r.alpha << " " << (int)r.alphaTest << " " << r.textureAlpha;
}

TEST(DrawLists, OpaqueInBuildOrderTransparentFarToNear)
{
    FakeScene s;
    s.AddModel(0, {{255, 0, 0, 1}, {128, 0, 0, 2}, {255, 0, 3, 9}, {255, 1, 0, 5}});
    s.AddModel(1, {{255, 0, 0, 4}, {200, 0, 0, 7}});
    s.alphaTextures.insert({0, 3});
    // Object 1 is not drawn; objects 0 and 2 show model 0, object 3 model 1; object 4 has a model
    // that is not ready.
    s.objects = {{0}, {-1}, {0}, {1}, {7}};
    RENDERER r;
    Render_BuildDrawListsFrom(r, s, 2, Identity());
    EXPECT_EQ((std::vector<std::string>{"0:0", "2:0", "3:0"}), Order(r.opaque, r.opaqueCount));
    // Distances 2, 9, 5 (object 0), again for object 2, then 7: stable for the ties.
    EXPECT_EQ((std::vector<std::string>{"0:2", "2:2", "3:1", "0:3", "2:3", "0:1", "2:1"}),
              Order(r.transparent, r.transparentCount));
    EXPECT_EQ(0, r.transparent[0].model);
    EXPECT_EQ(9.0f, r.transparent[0].distance);
    EXPECT_EQ(9.0f, r.transparent[0].centre[0]);
}

TEST(DrawLists, EqualDistancesKeepTheirBuildOrder)
{
    std::vector<DRAW_ENTRY> list;
    int32_t count = 0, capacity = 0;
    const float d[] = {3, 5, 3, 5, 1, 5};
    for (int i = 0; i < 6; ++i) DrawList_Append(list, count, capacity, DRAW_ENTRY{i, 0, 0, {0, 0, 0}, d[i]});
    DrawList_SortFarToNear(list, count);
    EXPECT_EQ((std::vector<std::string>{"1:0", "3:0", "5:0", "0:0", "2:0", "4:0"}), Order(list, count));
}

TEST(DrawLists, ArraysGrowInStepsOfTenAndAreKeptBetweenFrames)
{
    FakeScene s;
    s.AddModel(0, {{255, 0, 0, 1}});
    s.objects.assign(11, FakeScene::OBJ{0});
    RENDERER r;
    Render_BuildDrawListsFrom(r, s, 1, Identity());
    EXPECT_EQ(11, r.opaqueCount);
    EXPECT_EQ(20, r.opaqueCapacity);
    EXPECT_EQ(20u, r.opaque.size());
    EXPECT_EQ(-1, r.opaque[11].object);   // a fresh entry
    EXPECT_EQ(-1, r.opaque[19].material);
    const DRAW_ENTRY* storage = r.opaque.data();
    s.objects.resize(3);
    Render_BuildDrawListsFrom(r, s, 1, Identity());
    EXPECT_EQ(3, r.opaqueCount);
    EXPECT_EQ(20, r.opaqueCapacity);
    EXPECT_EQ(storage, r.opaque.data()) << "a smaller frame allocates nothing";
    Render_ClearDrawLists(r);
    EXPECT_EQ(0, r.opaqueCapacity);
    EXPECT_TRUE(r.opaque.empty());
}

TEST(DrawLists, NothingWithoutModelsOrMaterials)
{
    FakeScene s;
    s.AddModel(0, {});
    s.objects = {{0}};
    RENDERER r;
    Render_BuildDrawListsFrom(r, s, 1, Identity());
    EXPECT_EQ(0, r.opaqueCount + r.transparentCount);
    s.AddModel(0, {{255, 0, 0, 1}});
    r.opaqueCount = 5;   // left from an earlier frame
    Render_BuildDrawListsFrom(r, s, 0, Identity());
    EXPECT_EQ(0, r.opaqueCount) << "no model at all: the lists are emptied and nothing is added";
}

TEST(DrawLists, DistanceIsTakenInViewSpace)
{
    MATRIX view;
    Math_MatrixTranslation(&view, 0, 0, 15);   // the default camera's view: the eye 15 units back
    const float c[3] = {3, 4, -15};
    EXPECT_FLOAT_EQ(5.0f, Render_ViewDistance(view, c));
}

TEST(DrawLists, RendererStartsDrawingEnabledMaterialsOnly)
{
    RENDERER r;
    EXPECT_TRUE(r.drawEnabled);
    EXPECT_FALSE(r.drawBloom);
    EXPECT_EQ(0, r.opaqueCapacity);
}

TEST(Cull, TableOfLimits)
{
    struct Row {
        VEC3 p;
        float upY;
        bool culled;
    };
    // A 640 x 480 back buffer.
    const Row rows[] = {
        {{320, 240, 10}, 200, false},
        {{320, 240, -5}, 200, false},
        {{320, 240, -5.001f}, 200, true},
        {{320, 240, 500}, 200, false},
        {{320, 240, 500.001f}, 200, true},
        {{-128, 240, 10}, 200, false},
        {{-128.5f, 240, 10}, 200, true},
        {{768, 240, 10}, 200, false},
        {{768.5f, 240, 10}, 200, true},
        {{320, -64, 10}, 200, false},
        {{320, -65, 10}, 200, true},
        {{320, 600, 10}, 544, false},   // below the bottom, but its top is still in reach
        {{320, 600, 10}, 545, true},
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.culled, Render_IsCulled(r.p, r.upY, 640, 480)) << r.p.x << "," << r.p.y << "," << r.p.z << " up " << r.upY;
}

} // namespace
