// The model record: reset values, allocation, render kinds and the deep copy.
#include <cstring>

#include "frame/text.h"
#include "model/model_expect.h"

namespace {

class Model3Record : public ModelTest {};

TEST_F(Model3Record, ResetGivesTheDocumentedDefaults)
{
    MODEL3* m = NewRecord();
    EXPECT_EQ(1, m->inUse);
    EXPECT_EQ(2009000, m->version);
    EXPECT_STREQ("新規.QVP", m->file);
    EXPECT_EQ(1, m->groupCount);
    EXPECT_STREQ("グループ 0", m->groups[0].name);
    EXPECT_STREQ("グループ 255", m->groups[255].name);
    EXPECT_EQ(200.0f, m->groups[0].color[0]);
    EXPECT_EQ(200.0f, m->groups[0].color[2]);
    EXPECT_EQ(255.0f, m->groups[0].alpha);
    EXPECT_EQ(4, m->groups[0].shading);
    EXPECT_EQ(1, m->groups[0].textureSwitch);
    EXPECT_EQ(1, m->groups[0].alphaRef);
    EXPECT_EQ(4, m->groups[0].reserved0);
    EXPECT_EQ(1, m->groups[0].reserved14);
    EXPECT_EQ(1, m->textureCount);
    EXPECT_EQ(0, m->textures[0].used);
    EXPECT_EQ(256u, m->textures.size());
    EXPECT_EQ(256u, m->groups.size());
    EXPECT_EQ(2, m->boneCount);
    EXPECT_STREQ("親ボーン", m->bones[0].name);
    EXPECT_STREQ("ボーン_01", m->bones[1].name);
    EXPECT_STREQ("ボーン_127", m->bones[127].name);
    ASSERT_EQ(1u, m->bones[5].keys.size());
    ASSERT_EQ(1u, m->bones[5].keys[0].size());
    EXPECT_EQ(1.0f, m->bones[5].keys[0][0].rotation[3]);
    EXPECT_EQ(1.0f, m->bones[5].keys[0][0].scale[1]);
    ASSERT_EQ(1u, m->motions.size());
    EXPECT_STREQ("モーション名", m->motions[0].name);
    EXPECT_EQ(60, m->motions[0].length);
    EXPECT_EQ(1, m->motions[0].loop);
    EXPECT_EQ(-1, m->motions[0].next);
    EXPECT_EQ(1, m->soundCount);
    EXPECT_STREQ("なし", m->soundNames[0]);
    EXPECT_EQ(4, m->subdivision);
    EXPECT_EQ(1, m->visible);
    EXPECT_EQ(0, m->loaded);
    EXPECT_EQ(1, m->light);
    EXPECT_EQ(1, m->autoNormals);
    EXPECT_EQ(2, m->fillMode);
    EXPECT_EQ(3.0f, m->radius);
    EXPECT_EQ(-0.01f, m->shadowHeight);
    EXPECT_EQ(1.0f, m->shadowNormal[1]);
    EXPECT_EQ(3, m->renderKind);
    EXPECT_EQ(1, m->gpuRebuild);
    Model3_Free(m);
}

TEST_F(Model3Record, RenderKindAfterResetFollowsTheStudioMode)
{
    struct Case { int32_t studio; int32_t mode; int32_t modeFlag; uint8_t toon; int32_t kind; };
    const Case cases[] = {
        {0, MODE_3D_EDIT, 1, 0, 3}, {1, MODE_3D_EDIT, 1, 0, 0}, {1, MODE_EFFECT_EDIT, 0, 0, 3},
        {1, MODE_EFFECT_EDIT, 0, 1, 2}, {0, 14, 1, 1, 2},  // 14: a flagged number that is no mode
    };
    for (const Case& c : cases) {
        g_StudioFlag = c.studio;
        g_Mode = c.mode;
        g_ModeModelFlags[c.mode] = c.modeFlag;
        g_ToonShading = c.toon;
        MODEL3* m = NewRecord();
        EXPECT_EQ(c.kind, m->renderKind) << c.studio << " " << c.mode;
        Model3_Free(m);
        g_ModeModelFlags[c.mode] = 0;
    }
    g_ToonShading = 0;
}

TEST_F(Model3Record, SetRenderKindRaisesTheRebuildFlagAlways)
{
    MODEL3* m = NewRecord();
    m->gpuRebuild = 0;
    EXPECT_TRUE(Model3_SetRenderKind(m, m->renderKind));
    EXPECT_EQ(1, m->gpuRebuild);
    g_ToonShading = 1;
    EXPECT_TRUE(Model3_SetRenderKind(m, 3));
    EXPECT_EQ(2, m->renderKind);
    g_ToonShading = 0;
    EXPECT_FALSE(Model3_SetRenderKind(nullptr, 3));
    EXPECT_FALSE(Model3_SetLight(nullptr, 0));
    EXPECT_TRUE(Model3_SetLight(m, 0));
    EXPECT_EQ(0, m->light);
    Model3_Free(m);
}

TEST_F(Model3Record, AllocationConsumesTheArraysFlagAndStaysSmall)
{
    MODEL3* plain = Model3_Alloc();
    EXPECT_TRUE(plain->positions.empty());
    EXPECT_EQ(1u, plain->motions.size());
    g_Lib.allocArrays = 1;
    MODEL3* withArrays = Model3_Alloc();
    EXPECT_EQ(0, g_Lib.allocArrays);
    // Sized by what it holds: nothing yet, not the vertex limit.
    EXPECT_EQ(0u, withArrays->positions.capacity());
    EXPECT_EQ(0u, withArrays->faces.capacity());
    Model3_Free(plain);
    Model3_Free(withArrays);
}

TEST_F(Model3Record, CopyIsDeepAndSizedByTheSource)
{
    MODEL3* s = NewRecord();
    MakeCube(s);
    s->groups[0].exportPositions.assign(3, XYZ{1, 2, 3});
    s->groups[0].exportVertexCount = 3;
    Str_CopyN(s->folder, sizeof s->folder, "somewhere");
    s->light = 0;
    s->bones[1].keys[0][0].frame = 7;
    MODEL3* d = NewRecord();
    Model3_CopyRecord(s, d, true);
    EXPECT_EQ(24, d->positionCount);
    EXPECT_EQ(25u, d->positions.size());
    EXPECT_EQ(7u, d->faces.size());
    EXPECT_EQ(25u, d->deformedNormals.size());
    EXPECT_EQ(7, d->bones[1].keys[0][0].frame);
    EXPECT_STREQ("", d->folder);   // not copied
    EXPECT_EQ(1, d->light);        // not copied
    ASSERT_EQ(3u, d->groups[0].exportPositions.size());
    // Deep: changing the source leaves the copy alone.
    s->positions[0].x = 99;
    s->groups[0].exportPositions[0].x = 99;
    s->bones[1].keys[0][0].frame = 8;
    EXPECT_EQ(0.0f, d->positions[0].x);
    EXPECT_EQ(1.0f, d->groups[0].exportPositions[0].x);
    EXPECT_EQ(7, d->bones[1].keys[0][0].frame);
    // Without reallocation the destination's arrays grow where they must.
    MODEL3* e = NewRecord();
    Model3_CopyRecord(s, e, false);
    EXPECT_EQ(24u, e->positions.size());
    EXPECT_EQ(99.0f, e->positions[0].x);
    Model3_Free(s);
    Model3_Free(d);
    Model3_Free(e);
}

TEST_F(Model3Record, FitArraysCoversEveryIndexAFaceUses)
{
    MODEL3* m = NewRecord();
    FACE3 f = {};
    f.cornerCount = 3;
    f.corners[2][CORNER_POS] = 9;
    f.corners[1][CORNER_UV] = 4;
    m->faces.assign(1, f);
    m->faceCount = 1;
    Model3_FitArrays(m);
    EXPECT_EQ(10u, m->positions.size());
    EXPECT_EQ(10u, m->weights.size());
    EXPECT_EQ(1, m->weights[9].automatic);
    EXPECT_EQ(10u, m->deformedPositions.size());
    EXPECT_EQ(5u, m->uvs.size());
    EXPECT_EQ(1u, m->colors.size());
    EXPECT_EQ(0, m->positionCount);   // counts stay: the padding is not content
    Model3_Free(m);
}

} // namespace
