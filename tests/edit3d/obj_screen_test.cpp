// The object screen: the key-frame arithmetic, key insertion, deletion and pasting across every
// part, the parent rules with their loop guard, the part and sound limits, the key panel's drags,
// the part tree and the question before a new object replaces one with parts.
#include <cstring>
#include <string>

#include "edit3d/edit3d_fixture.h"
#include "edit3d/obj_dialogs.h"
#include "edit3d/obj_screen.h"
#include "frame/bytes.h"
#include "model/obj3.h"
#include "shell/hierarchy.h"
#include "shell/panels.h"
#include "shell/playback.h"
#include "support/list_recorder.h"
#include "support/qvp_fixtures.h"
#include "support/recorder.h"

namespace {

using QVL::OBJ3;
using QVL::OBJ3_KEY;
using QVL::kObj3Parts;

int g_Asked = 0;
bool g_Answer = true;
bool Ask(const char*)
{
    ++g_Asked;
    return g_Answer;
}

class ObjScreen : public Edit3DTest {
protected:
    ListRecCtl tree, list, combo, sounds;
    void SetUp() override
    {
        Edit3DTest::SetUp();
        Obj3_ReleaseAll();
        Rec().Clear();
        g_Screen = SCREEN_3D_OBJECT;
        g_PlayFlag = 0;
        g_Obj3DUi = OBJ3D_UI{};
        g_Obj3DUi.askYesNo = Ask;
        g_Obj3DUi.partTree = &tree;
        g_Obj3DUi.partList = &list;
        g_Obj3DUi.parentCombo = &combo;
        g_Obj3DUi.soundList = &sounds;
        g_Asked = 0;
        g_Answer = true;
        g_Obj3DKeyPanel = OBJ3D_KEY_PANEL{};
        g_KeyScrollX = g_KeyScrollY = 0;
        Obj3D_Enter();
        g_Obj3DUi.partTree = &tree;
        g_Obj3DUi.partList = &list;
        g_Obj3DUi.parentCombo = &combo;
        g_Obj3DUi.soundList = &sounds;
    }
    void TearDown() override
    {
        g_Obj3DUi = OBJ3D_UI{};
        g_PlayFlag = 0;
        Obj3_ReleaseAll();
        Edit3DTest::TearDown();
    }
    OBJ3& O() { return *g_Obj3Table[0]; }
    QVL::OBJ3_MOTION& M() { return O().motions[O().motion]; }
    OBJ3_KEY& Key(int32_t part, int32_t k) { return *Obj3_Key(&O(), part, O().motion, k); }
    // Parts 1 .. n - 1 flagged as loaded without files.
    void Parts(int32_t n)
    {
        O().partCount = n;
        for (int32_t p = 1; p < n; ++p) {
            g_Obj3Flags[0][p] = 1;
            Str_Format(O().parts[p].file, sizeof O().parts[p].file, "part%d.qvp", (int)p);
        }
    }
    static bool Said(const char* text)
    {
        for (const std::string& s : Rec().messageBoxes)
            if (s == text) return true;
        return false;
    }
    std::string WriteQvp(const char* name)
    {
        const std::string path = Rec_TempDir() + "/" + name;
        const std::vector<uint8_t> bytes = QvpFixture(2009000);
        EXPECT_TRUE(QVL::File_WriteAll(path.c_str(), bytes.data(), bytes.size()));
        return path;
    }
};

TEST(ObjKeyArithmetic, InsertIndexCountsTheKeyFramesBelow)
{
    const int32_t frames[] = {0, 10, 30};
    struct Case { int32_t count, frame, index; } cases[] = {
        {0, 5, 0},     // no keys: first place
        {3, 5, 1},     // between 0 and 10
        {3, 20, 2},
        {3, 45, 3},    // after the last
        {3, -4, 0},    // before the first
        {3, 10, -1},   // already a key frame
        {3, 0, -1},
        {1, 10, 1},    // only the first key counts
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.index, Obj3D_KeyInsertIndex(frames, c.count, c.frame)) << c.count << " keys, frame " << c.frame;
}

TEST(ObjKeyArithmetic, BarFrameWrapsLeftOfTheBarToTheMotionsEnd)
{
    struct Case { int32_t x, scroll, count, frame; } cases[] = {
        {189, 0, 60, 0},          // the bar's start is frame 0
        {214, 0, 60, 10},         // 25 pixels: 25 * 4 / 10
        {179, 0, 60, 56},         // 10 pixels left of the bar: -4 wraps to 56
        {189 - 150, 0, 60, 0},    // -60 is exactly one length back
        {189 + 151, 0, 60, 0},    // 60 wraps to 0
        {189 + 400, -100, 60, 20},// scrolled: 500 pixels are 200 frames
        {-30000, 0, 7, Obj3D_WrapFrame((-30000 - 189) * 4 / 10, 7)},
        {100, 0, 0, 0},           // no frames: never loops, frame 0
        {100, 0, -5, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.frame, Obj3D_BarFrame(c.x, c.scroll, c.count)) << "x " << c.x << " count " << c.count;
    EXPECT_EQ(3, Obj3D_WrapFrame(-4, 7));
    EXPECT_EQ(0, Obj3D_WrapFrame(INT64_MIN / 2, 0));
    EXPECT_EQ(Obj3D_WrapFrame(-2147483648LL, 60), (int32_t)(((-2147483648LL % 60) + 60) % 60));
}

TEST(ObjKeyArithmetic, MiddleDragStepIsAtLeastOneFrame)
{
    struct Case { int32_t dx, step; } cases[] = {{1, 1}, {-1, -1}, {2, 1}, {3, 1}, {6, 2}, {-7, -2}, {0, 0}, {12, 4}};
    for (const Case& c : cases) EXPECT_EQ(c.step, Obj3DPanel_DragStep(c.dx)) << "dx " << c.dx;
}

TEST_F(ObjScreen, EntryStartsANewObjectWithOnlyTheRoot)
{
    EXPECT_EQ(1, O().partCount);
    EXPECT_EQ(1, g_Obj3Flags[0][0]);
    EXPECT_EQ(OBJ3D_TOOL_ROTATE, g_Obj3DState.tool);
    EXPECT_STREQ("新規.QVO", O().parts[0].file);
    ASSERT_EQ(1u, list.rows.size());
    EXPECT_EQ(" 0 : 親オブジェクト", list.rows[0]);
    ASSERT_EQ(1u, tree.rows.size());
    EXPECT_EQ(" 0  親オブジェクト", tree.rows[0]);
    EXPECT_EQ(0, g_Asked);   // nothing to throw away
}

TEST_F(ObjScreen, EnteringAgainAsksBeforeDroppingParts)
{
    Parts(3);
    g_Answer = false;
    Obj3D_Enter();
    EXPECT_EQ(1, g_Asked);
    EXPECT_EQ(3, O().partCount);   // kept
    g_Answer = true;
    Obj3D_Enter();
    EXPECT_EQ(2, g_Asked);
    EXPECT_EQ(1, O().partCount);
    EXPECT_EQ(0, g_Obj3Flags[0][1]);
}

TEST_F(ObjScreen, LeftPressAtFrame20KeysEveryPartWithItsPose)
{
    Parts(3);
    // One key at frame 0: every part's pose at any frame is that key.
    for (int32_t p = 0; p < 3; ++p) Key(p, 0) = OBJ3_KEY{{1.0f * p, 2, 3}, {0, 0, 0, 1}, {1, 2, 1}};
    O().frame = 20;
    Obj3D_LButtonDown(0);
    ASSERT_EQ(2, M().keyCount);
    EXPECT_EQ(0, M().keyFrames[0]);
    EXPECT_EQ(20, M().keyFrames[1]);
    for (int32_t p = 0; p < 3; ++p) {
        EXPECT_FLOAT_EQ(1.0f * p, Key(p, 1).position[0]) << "part " << p;
        EXPECT_FLOAT_EQ(2.0f, Key(p, 1).scale[1]) << "part " << p;
    }
    // A second press on the key frame adds nothing.
    Obj3D_LButtonDown(0);
    EXPECT_EQ(2, M().keyCount);
}

TEST_F(ObjScreen, InsertIntoAMotionWithoutKeysGivesTheDefaultKey)
{
    Parts(2);
    M().keyCount = 0;
    Key(1, 0).position[0] = 9;
    O().frame = 7;
    EXPECT_TRUE(Obj3D_InsertKey());
    ASSERT_EQ(1, M().keyCount);
    EXPECT_EQ(7, M().keyFrames[0]);
    EXPECT_EQ(0.0f, Key(1, 0).position[0]);
    EXPECT_EQ(1.0f, Key(1, 0).rotation[3]);
}

TEST_F(ObjScreen, SeventeenthKeyIsRefusedWithAMessage)
{
    Parts(2);
    for (int32_t f = 1; f < 16; ++f) {
        O().frame = f * 2;
        ASSERT_TRUE(Obj3D_InsertKey());
    }
    ASSERT_EQ(16, M().keyCount);
    const OBJ3_KEY before = Key(1, 15);
    O().frame = 45;
    EXPECT_FALSE(Obj3D_InsertKey());
    EXPECT_EQ(16, M().keyCount);
    EXPECT_EQ(1u, Rec().messageBoxes.size());
    EXPECT_EQ(0, std::memcmp(&before, &Key(1, 15), sizeof before));
    // Pasting there must not overwrite a key at another frame either.
    Obj3D_PasteKeys();
    EXPECT_EQ(30, M().keyFrames[15]);
}

TEST_F(ObjScreen, DeletingAKeyFrameShiftsEveryPartsLaterKeys)
{
    Parts(3);
    for (int32_t f : {10, 20}) {
        O().frame = f;
        Obj3D_InsertKey();
    }
    for (int32_t p = 0; p < 3; ++p) Key(p, 2).position[1] = 5.0f + p;
    O().frame = 10;
    Obj3D_DeleteKey();
    ASSERT_EQ(2, M().keyCount);
    EXPECT_EQ(20, M().keyFrames[1]);
    for (int32_t p = 0; p < 3; ++p) EXPECT_EQ(5.0f + p, Key(p, 1).position[1]);
    O().frame = 15;   // not a key frame: nothing
    Obj3D_DeleteKey();
    EXPECT_EQ(2, M().keyCount);
}

TEST_F(ObjScreen, PasteOverwritesAnExistingKeyOfEveryPart)
{
    Parts(3);
    for (int32_t p = 0; p < 3; ++p) Key(p, 0).scale[0] = 3.0f + p;
    O().frame = 0;
    Obj3D_CopyKeys();
    O().frame = 30;
    Obj3D_InsertKey();
    for (int32_t p = 0; p < 3; ++p) Key(p, 1).scale[0] = -1;
    Obj3D_PasteKeys();
    EXPECT_EQ(2, M().keyCount);
    for (int32_t p = 0; p < 3; ++p) EXPECT_EQ(3.0f + p, Key(p, 1).scale[0]);
}

TEST_F(ObjScreen, KeysDoNothingWhilePlaying)
{
    Parts(2);
    g_PlayFlag = 1;
    O().frame = 12;
    EXPECT_FALSE(Obj3D_InsertKey());
    EXPECT_EQ(1, M().keyCount);
}

TEST_F(ObjScreen, ParentLoopThroughTwoPartsIsRefused)
{
    Parts(4);
    g_CurPart = 2;
    EXPECT_EQ(nullptr, Obj3DList_ApplyParent(3));
    EXPECT_EQ(3, O().parts[2].parent);
    g_CurPart = 3;
    const char* said = Obj3DList_ApplyParent(2);
    ASSERT_NE(nullptr, said);
    EXPECT_STREQ("無限ループの可能性があります。", said);
    EXPECT_TRUE(Said("無限ループの可能性があります。"));
    EXPECT_EQ(0, O().parts[3].parent);   // its old parent
}

TEST_F(ObjScreen, ParentRules)
{
    Parts(4);
    struct Case { int32_t part, row, parent; const char* message; } cases[] = {
        {1, 2, 0, "オブジェクトNo.1 の親Noは変更できません"},
        {1, 0, 0, "オブジェクトNo.1 の親Noは変更できません"},
        {2, 2, 0, "自分自身は、親に設定できません。"},
        {2, 9, 0, nullptr},    // at or above the part count: the root
        {2, -1, 0, nullptr},   // no combo selection
        {3, 1, 1, nullptr},
        {2, 3, 3, nullptr},    // a parent may have a higher number
    };
    for (const Case& c : cases) {
        Rec().Clear();
        g_CurPart = c.part;
        const char* said = Obj3DList_ApplyParent(c.row);
        EXPECT_EQ(c.parent, O().parts[c.part].parent) << "part " << c.part << " row " << c.row;
        if (c.message) EXPECT_STREQ(c.message, said ? said : "");
        else EXPECT_EQ(nullptr, said);
    }
}

TEST_F(ObjScreen, TreeShowsRootChildrenBesideTheRootAndBoundsLabels)
{
    Parts(4);
    O().parts[2].parent = 1;
    O().parts[3].parent = 0;
    std::memset(O().parts[3].file, 'x', sizeof O().parts[3].file);   // no terminator in the record
    g_CurPart = 2;
    Obj3D_FillPartTree();
    ASSERT_EQ(4u, tree.rows.size());
    EXPECT_EQ(-1, tree.treeParents[0]);
    EXPECT_EQ(-1, tree.treeParents[1]);   // part 1 hangs on part 0: the root level
    EXPECT_EQ(1, tree.treeParents[2]);    // under part 1's item
    EXPECT_EQ(-1, tree.treeParents[3]);
    EXPECT_EQ(2, tree.selected);
    EXPECT_LT(tree.rows[3].size(), 256u);
    EXPECT_EQ(" 2  part2.qvp", std::string(g_Obj3DState.treeLabels[2]));
    EXPECT_EQ(2, Obj3DList_SelectByTreeText(tree.rows[2].c_str()));
    g_CurPart = 0;
    EXPECT_EQ(3, Obj3DList_SelectByTreeText(tree.rows[3].c_str()));
    EXPECT_EQ(3, g_CurPart);
}

TEST_F(ObjScreen, ListRowOfNoSelectionLeavesTheCurrentPart)
{
    Parts(3);
    g_CurPart = 2;
    Obj3DList_TakeRow(0xFFFF);   // LB_ERR read as an unsigned 16-bit value
    EXPECT_EQ(2, g_CurPart);
    Obj3DList_TakeRow(-1);
    EXPECT_EQ(2, g_CurPart);
    Obj3DList_TakeRow(1);
    EXPECT_EQ(1, g_CurPart);
    EXPECT_EQ(1, g_HierRowCur);
}

TEST_F(ObjScreen, ThirtyThirdPartIsRefused)
{
    Parts(kObj3Parts);
    const std::string path = WriteQvp("extra.qvp");
    EXPECT_FALSE(Obj3DList_AddPart(path.c_str()));
    EXPECT_EQ(kObj3Parts, O().partCount);
    EXPECT_EQ(1u, Rec().messageBoxes.size());
}

TEST_F(ObjScreen, AddThenDeleteKeepsTheCurrentPartInsideTheObject)
{
    const std::string path = WriteQvp("a.qvp");
    ASSERT_TRUE(Obj3DList_AddPart(path.c_str()));
    ASSERT_TRUE(Obj3DList_AddPart(path.c_str()));
    EXPECT_EQ(3, O().partCount);
    EXPECT_EQ(2, g_CurPart);
    ASSERT_EQ(3u, list.rows.size());
    ASSERT_TRUE(Obj3DList_DeletePart());
    EXPECT_EQ(2, O().partCount);
    EXPECT_EQ(1, g_CurPart);   // the last part went: the current one is the new last
    EXPECT_EQ(0, g_Obj3Flags[0][2]);
    g_CurPart = 0;
    EXPECT_FALSE(Obj3DList_DeletePart());
    EXPECT_TRUE(Said("親オブジェクトは、消去できません。"));
    EXPECT_FALSE(Obj3DList_ReplacePart(path.c_str()));
    EXPECT_TRUE(Said("親オブジェクトは、入れ替えできません。"));
}

TEST_F(ObjScreen, HundredAndFirstSoundIsRefused)
{
    QVL::MODEL3* m = Model3_GetById(g_CurLayer);
    ASSERT_NE(nullptr, m);
    m->soundCount = 99;
    EXPECT_TRUE(Obj3DWave_AddSound("boom.wav"));
    EXPECT_EQ(100, m->soundCount);
    EXPECT_STREQ("boom.wav", m->soundNames[99]);
    EXPECT_EQ(100u, sounds.rows.size());
    EXPECT_FALSE(Obj3DWave_AddSound("more.wav"));
    EXPECT_EQ(100, m->soundCount);
    EXPECT_EQ(1u, Rec().messageBoxes.size());
}

TEST_F(ObjScreen, OnePixelMiddleDragMovesAKeyOneFrame)
{
    Parts(2);
    O().frame = 10;
    Obj3D_InsertKey();
    Key(1, 1).position[2] = 4;
    g_Obj3DKeyPanel.middle = 1;
    g_Obj3DKeyPanel.cursorX = 300;
    Obj3DPanel_MouseMove(301, 40);
    EXPECT_EQ(11, O().frame);
    ASSERT_EQ(2, M().keyCount);
    EXPECT_EQ(11, M().keyFrames[1]);
    EXPECT_EQ(4.0f, Key(1, 1).position[2]);
}

TEST_F(ObjScreen, MiddleDragOntoAKeyFrameDoesNotMove)
{
    Parts(2);
    O().frame = 1;
    Obj3D_InsertKey();   // keys at 0 and 1
    g_Obj3DKeyPanel.middle = 1;
    g_Obj3DKeyPanel.cursorX = 300;
    Obj3DPanel_MouseMove(299, 40);
    EXPECT_EQ(1, O().frame);
    EXPECT_EQ(0, M().keyFrames[0]);
    EXPECT_EQ(1, M().keyFrames[1]);
}

TEST_F(ObjScreen, ScrubbingLeftOfTheBarWrapsToTheEnd)
{
    g_Obj3DKeyPanel.left = 1;
    Obj3DPanel_MouseMove(179, 40);
    EXPECT_EQ(56, O().frame);
    M().length = 0;
    Obj3DPanel_MouseMove(100, 40);
    EXPECT_EQ(0, O().frame);
}

TEST_F(ObjScreen, RotatingAPartTurnsItsChildrensKeys)
{
    Parts(4);
    O().parts[2].parent = 1;
    O().parts[3].parent = 2;
    List_RebuildObj3D();
    O().frame = 0;
    g_CurPart = 1;
    QVL::QUAT q;
    Math_QuatFromAxisAngle(&q, 0, 1, 0, 90);
    Obj3D_RotateChildren(O().parts[1].firstChild, q);
    for (int32_t p : {2, 3}) EXPECT_NEAR(q.y, Key(p, 0).rotation[1], 1e-5f) << "part " << p;
    EXPECT_EQ(0.0f, Key(1, 0).rotation[1]);   // the part itself is turned by its own drag
}

TEST_F(ObjScreen, KeyDialogButtonsPickTools)
{
    Obj3DKeys_Command(1451);
    EXPECT_EQ(OBJ3D_TOOL_MOVE, g_Obj3DState.tool);
    Obj3D_KeyDown('G');
    EXPECT_EQ(OBJ3D_TOOL_SCALE, g_Obj3DState.tool);
    Obj3DList_PivotTool();
    EXPECT_EQ(OBJ3D_TOOL_PIVOT, g_Obj3DState.tool);
    Obj3D_KeyDown('A');
    EXPECT_TRUE(Obj3D_Playing());
    Obj3D_KeyDown('A');
    EXPECT_FALSE(Obj3D_Playing());
}

} // namespace
