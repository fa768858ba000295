// The undo history of a layer and the layers themselves.
#include <set>

#include "edit3d/edit3d_fixture.h"
#include "model/scene_object.h"
#include "support/model_builders.h"

namespace {

using UndoTest = Edit3DTest;

// The live model with `n` separate quads (4n positions), each position marked by its quad.
void MakeQuads(QVL::MODEL3* m, int n)
{
    Model3_Reset(m);
    MakeQuadGrid(m, n, 1);
    for (int32_t i = 0; i < m->positionCount; ++i) m->positions[(size_t)i].x = (float)n;
}

TEST_F(UndoTest, ElevenRecordsKeepTheTenNewestAndLeavePositionNine)
{
    // Each step is bigger than the one before, so that the oldest, smallest snapshot is reused for
    // the newest, biggest step once the history is full.
    for (int i = 0; i < 11; ++i) {
        MakeQuads(Live(), i + 1);
        Record(("step " + std::to_string(i)).c_str());
    }
    const UNDO_HISTORY& h = History();
    EXPECT_EQ(9, h.position);
    EXPECT_EQ(9, h.last);
    std::set<const QVL::MODEL3*> distinct;
    for (int i = 0; i < 10; ++i) {
        const UNDO_ENTRY& e = h.entries[i];
        EXPECT_EQ("step " + std::to_string(i + 1), e.caption) << i;
        ASSERT_TRUE(e.snapshot) << i;
        EXPECT_EQ(4 * (i + 2), e.snapshot->positionCount) << i;
        EXPECT_GE(e.snapshot->positions.size(), (size_t)e.snapshot->positionCount) << i;
        EXPECT_EQ((float)(i + 2), e.snapshot->positions[0].x) << i;
        distinct.insert(e.snapshot.get());
    }
    EXPECT_EQ(10u, distinct.size());
    // A twelfth keeps the same ten snapshots.
    Record("step 11");
    for (int i = 0; i < 10; ++i) EXPECT_EQ(1u, distinct.count(h.entries[i].snapshot.get())) << i;
    EXPECT_EQ(std::string("step 11"), h.entries[9].caption);
    EXPECT_EQ(9, h.position);
    // The list shows the ten captions with the newest selected.
    ASSERT_EQ(10u, Model3DRec().listRows.size());
    EXPECT_EQ("step 2", Model3DRec().listRows[0]);
    EXPECT_EQ(9, Model3DRec().listSelected);
}

// Undo and redo from the states the edges of a history leave.
struct StepCase {
    const char* name;
    int records;       // records before the steps
    const char* steps; // 'U' undo, 'I' redo, 'R' record
    int position, last;
    int liveQuads;     // quads of the live model afterwards
};

TEST_F(UndoTest, StepsAtTheEdgesOfTheHistory)
{
    const StepCase cases[] = {
        {"undo on an empty history", 0, "U", 0, -1, 50},
        {"redo on an empty history", 0, "I", -1, -1, 50},
        {"undo twice on an empty history", 0, "UU", 0, -1, 50},
        {"record after undo on an empty history", 0, "UR", 1, 1, 50},
        {"undo at the oldest step", 1, "U", 0, 0, 50},
        {"redo at the newest step", 3, "I", 2, 2, 50},
        {"undo and redo", 3, "UI", 2, 2, 3},
        {"two undos", 3, "UU", 0, 2, 1},
        {"record after two undos", 4, "UUR", 2, 2, 2},
    };
    for (const StepCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (UNDO_HISTORY& h : g_UndoHistories) h.position = h.last = -1;
        for (int i = 0; i < c.records; ++i) {
            MakeQuads(Live(), i + 1);
            Record("edit");
        }
        // What the user sees now differs from every step recorded.
        MakeQuads(Live(), 50);
        for (const char* s = c.steps; *s; ++s) {
            if (*s == 'U') Undo_StepBack(&History());
            else if (*s == 'I') Undo_StepForward(&History());
            else Record("after");
        }
        EXPECT_EQ(c.position, History().position);
        EXPECT_EQ(c.last, History().last);
        EXPECT_EQ(4 * c.liveQuads, Live()->positionCount);
    }
}

TEST_F(UndoTest, AfterUndoOnAnEmptyHistoryEntryZeroHasNoSnapshotAndRestoresNothing)
{
    Undo_StepBack(&History());
    MakeQuads(Live(), 2);
    Record("first");
    EXPECT_EQ(1, History().position);
    EXPECT_EQ(1, History().last);
    EXPECT_FALSE(History().entries[0].snapshot);
    MakeQuads(Live(), 7);
    Undo_StepBack(&History());
    EXPECT_EQ(0, History().position);
    EXPECT_EQ(28, Live()->positionCount);
}

// A snapshot bigger or smaller than the model shown is restored whole, into arrays that cover it.
TEST_F(UndoTest, RestoreOfABiggerOrSmallerSnapshot)
{
    const struct {
        int recorded, shown;
    } cases[] = {{1, 300}, {300, 1}, {0, 5}, {5, 0}, {12, 12}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.recorded) + " quads recorded, " + std::to_string(c.shown) + " shown");
        for (UNDO_HISTORY& h : g_UndoHistories) h.position = h.last = -1;
        MakeQuads(Live(), c.recorded);
        for (int32_t i = 0; i < Live()->positionCount; ++i) Live()->positions[(size_t)i].y = (float)i;
        Record("recorded");
        const QVL::MODEL3* snap = History().entries[0].snapshot.get();
        MakeQuads(Live(), c.shown);
        Record("shown");
        Undo_StepBack(&History());
        QVL::MODEL3* m = Live();
        ASSERT_EQ(snap->positionCount, m->positionCount);
        ASSERT_EQ(snap->faceCount, m->faceCount);
        EXPECT_EQ(4 * c.recorded, m->positionCount);
        EXPECT_GE(m->positions.size(), (size_t)m->positionCount);
        EXPECT_GE(m->weights.size(), (size_t)m->positionCount);
        EXPECT_GE(m->deformedPositions.size(), (size_t)m->positionCount);
        EXPECT_GE(m->faces.size(), (size_t)m->faceCount);
        for (int32_t i = 0; i < m->positionCount; ++i) {
            EXPECT_EQ((float)i, m->positions[(size_t)i].y);
            EXPECT_EQ((float)c.recorded, m->positions[(size_t)i].x);
        }
        for (int32_t f = 0; f < m->faceCount; ++f)
            for (int k = 0; k < m->faces[(size_t)f].cornerCount; ++k)
                EXPECT_LT(m->faces[(size_t)f].corners[k][0], (int32_t)m->positions.size());
        EXPECT_EQ(1, m->gpuRebuild);
    }
}

TEST_F(UndoTest, SelectingARowStepsOneAtATime)
{
    for (int i = 0; i < 8; ++i) {
        MakeQuads(Live(), i + 1);
        Record("edit");
    }
    Undo_StepBack(&History());
    ASSERT_EQ(6, History().position);
    const struct {
        int row, position, restores;
    } cases[] = {{2, 2, 4}, {5, 5, 3}, {5, 5, 0}, {-1, 5, 0}, {8, 5, 0}, {7, 7, 2}, {0, 0, 7}};
    for (const auto& c : cases) {
        SCOPED_TRACE("row " + std::to_string(c.row));
        Model3DRec().pixelCopies = 0;
        Undo_SelectRow(&History(), c.row);
        EXPECT_EQ(c.position, History().position);
        EXPECT_EQ(c.restores, Model3DRec().pixelCopies);
        EXPECT_EQ(4 * (c.position + 1), Live()->positionCount);
    }
}

TEST_F(UndoTest, RestoreReloadsTheUsedTextures)
{
    QVL::MODEL3* m = Live();
    m->textureCount = 3;
    m->textures[1].used = 1;
    Str_CopyN(m->textures[1].folder, sizeof m->textures[1].folder, "Pics");
    Str_CopyN(m->textures[1].file, sizeof m->textures[1].file, "a.bmp");
    m->textures[2].used = 0;
    m->textures[3].used = 1;  // past the count
    Record("edit");
    Record("again");
    Undo_StepBack(&History());
    ASSERT_EQ(1u, Model3DRec().texturesLoaded.size());
    EXPECT_EQ(std::to_string(g_LayerModelIds[0]) + " 1 Pics a.bmp", Model3DRec().texturesLoaded[0]);
}

TEST_F(UndoTest, NothingHappensOutsideTheEditor)
{
    Record("edit");
    g_Mode = MODE_EFFECT_EDIT;
    MakeQuads(Live(), 3);
    Record("outside");
    Undo_StepBack(&History());
    Undo_StepForward(&History());
    Undo_Restore(&History());
    EXPECT_EQ(0, History().position);
    EXPECT_EQ(0, History().last);
    EXPECT_EQ(12, Live()->positionCount);
}

TEST_F(UndoTest, OnlyTheCurrentLayersObjectShowsAfterARecord)
{
    Layer_Select(2);
    for (int32_t i = 0; i < Object_Count(); ++i)
        if (QVL::OBJECT* o = Object_GetById(i)) Object_SetVisible(o, 1);
    Record("edit");
    for (int32_t i = 0; i < Object_Count(); ++i) {
        if (QVL::OBJECT* o = Object_GetById(i)) {
            EXPECT_EQ(i == g_LayerObjectIds[2] ? 1 : 0, o->visible) << i;
        }
    }
}

using LayerTest = Edit3DTest;

TEST_F(LayerTest, SelectingLayerThreeCreatesTheLayersUpToIt)
{
    Record("３Ｄモデル編集");
    Layer_Select(3);
    EXPECT_EQ(4, g_LayerCount);
    EXPECT_EQ(3, g_CurLayer);
    ASSERT_EQ(4u, g_LayerModelIds.size());
    std::set<int32_t> models(g_LayerModelIds.begin(), g_LayerModelIds.end());
    EXPECT_EQ(4u, models.size());
    for (int layer = 1; layer <= 3; ++layer) {
        EXPECT_EQ(0, g_UndoHistories[layer].last) << layer;
        EXPECT_EQ(std::string("記録開始"), g_UndoHistories[layer].entries[0].caption) << layer;
    }
    EXPECT_EQ(g_CurModel3, Model3_GetById(g_LayerModelIds[3]));
    ASSERT_EQ(1u, Model3DRec().listRows.size());
    EXPECT_EQ("記録開始", Model3DRec().listRows[0]);
    // Selecting a layer outside 0..9 does nothing.
    Layer_Select(10);
    Layer_Select(-1);
    EXPECT_EQ(3, g_CurLayer);
    EXPECT_EQ(4, g_LayerCount);
}

TEST_F(LayerTest, SwitchingBackShowsTheLayersCurrentStep)
{
    MakeQuads(Live(), 2);
    Record("two");
    MakeQuads(Live(), 5);
    Record("five");
    Undo_StepBack(&History());
    Layer_Select(1);
    MakeQuads(Live(), 9);  // an edit of layer 1 that was never recorded
    Layer_Select(0);
    EXPECT_EQ(0, g_CurLayer);
    EXPECT_EQ(8, Live()->positionCount);
    Layer_Select(1);
    EXPECT_EQ(0, Live()->positionCount);
}

} // namespace
