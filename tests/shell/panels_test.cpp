// The painted panels: pixels at known places of the shared bitmap, and the guards against sizes,
// scales and lengths that would write past it, divide by zero or loop for ever.
#include <algorithm>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "edit3d/model3d_hooks.h"
#include "frame/image.h"
#include "frame/lib.h"
#include "frame/text.h"
#include "model/model3.h"
#include "shell/current.h"
#include "shell/hierarchy.h"
#include "shell/panel_states.h"
#include "shell/panels.h"
#include "shell/picking.h"
#include "shell/playback.h"

namespace {

constexpr uint32_t kFill = 0xABCDEFu;
constexpr uint32_t kGuard = 0x5A5A5Au;
constexpr size_t kGuardCount = 4096;
std::vector<std::string> s_Texts;

class PanelTest : public ::testing::Test {
protected:
    std::vector<uint32_t> bits;
    std::unique_ptr<QVL::MODEL3> model;
    std::unique_ptr<QVL::MOTION3> motion;

    void SetUp() override
    {
        // The bitmap and a guard band right after it that no painter may touch.
        bits.assign((size_t)kPanelWidth * kPanelHeight + kGuardCount, kFill);
        for (size_t i = 0; i < kGuardCount; ++i) bits[(size_t)kPanelWidth * kPanelHeight + i] = kGuard;
        g_PanelDib.bits = bits.data();
        s_Texts.clear();
        g_PanelTextHook = [](int32_t x, int32_t y, const char* t, int32_t r, int32_t g, int32_t b) {
            char line[700];
            Str_Format(line, sizeof line, "%d,%d %s %02x%02x%02x", x, y, t, r, g, b);
            s_Texts.push_back(line);
        };
        Panel_SetTextColor(255, 255, 255);
        g_KeyTimeScale = 4;
        g_KeyScrollX = g_KeyScrollY = 0;
        g_KeyHoverRow = -1;
        g_TimelineLabelWidth = 0;
        g_TimelineTop = 90;
        g_KeyPanelRect = {0, 0, 1024, 300};
        g_PlayFlag = 0;
        g_HierRowCount = 0;
        g_HierRowCur = 0;
        g_CurModel3 = nullptr;
        g_CurMotion3 = nullptr;
        g_CurBone3 = nullptr;
        g_CurObj2 = nullptr;
        g_CurObj3 = nullptr;
        g_CurBone = 0;
        g_CurGroup = 0;
        g_Tex3DState = {1, 1.0f, 0, 0, 0, 0, 0, {0, 0, 0, 0}, 0};
        g_Group3DList.firstVisible = 0;
        g_Motion3DState.motionType = MOTION3D_BONES;
        Sel_AllocBuffers();
        std::fill_n(g_FaceSel, Sel_FaceCapacity(), 0);
        std::fill_n(g_UvSel, Sel_VertexCapacity(), 0);
    }
    void TearDown() override
    {
        g_PanelDib.bits = nullptr;
        g_PanelTextHook = nullptr;
        g_CurModel3 = nullptr;
        g_CurMotion3 = nullptr;
        g_CurBone3 = nullptr;
        g_HierRowCount = 0;
        g_PixelCopies[1] = QVL::PIXEL_COPY{nullptr, 0, 0};
        g_KeyTimeScale = 4;
        g_KeyScrollX = g_KeyScrollY = 0;
    }
    uint32_t Px(int x, int y) const { return bits[(size_t)x + (size_t)y * kPanelWidth]; }
    bool GuardIntact() const
    {
        for (size_t i = 0; i < kGuardCount; ++i)
            if (bits[(size_t)kPanelWidth * kPanelHeight + i] != kGuard) return false;
        return true;
    }
    static bool HasText(const std::string& s)
    {
        for (const std::string& t : s_Texts)
            if (t == s) return true;
        return false;
    }

    // A model with two bones (0 the root, 1 its child) and two groups, in motion 0 of 120 frames.
    void MakeModel()
    {
        model = std::make_unique<QVL::MODEL3>();
        model->groups.resize(QVL::kModel3Groups);
        model->textures.resize(QVL::kModel3Textures);
        model->motions.resize(1);
        model->boneCount = 2;
        model->groupCount = 2;
        model->id = -12345;   // no such model in the table: the UV re-mapping leaves it alone
        Str_CopyN(model->bones[0].name, 256, "root");
        Str_CopyN(model->bones[1].name, 256, "arm");
        model->bones[0].expanded = 1;
        model->currentFrame = 20;
        motion = std::make_unique<QVL::MOTION3>();
        motion->length = 120;
        g_CurModel3 = model.get();
        g_CurMotion3 = motion.get();
        g_CurBone3 = &model->bones[1];
        model->bones[1].keyIndex = 1;
    }
    static void SetRow(int r, int32_t item, int32_t firstChild, int32_t depth, const char* name,
                       std::vector<int32_t> keys)
    {
        HIER_ROW& row = g_HierRows[r];
        row = HIER_ROW{};
        Str_CopyN(row.name, sizeof row.name, name);
        row.item = item;
        row.firstChild = firstChild;
        row.depth = depth;
        row.keyCount = (int32_t)keys.size();
        for (size_t i = 0; i < keys.size(); ++i) row.keyFrames[i] = keys[i];
    }
};

TEST_F(PanelTest, PrimitivesStayInsideTheBitmap)
{
    struct Case {
        const char* what;
        void (*draw)();
        int x, y;          // a pixel that must be painted red
    };
    const Case cases[] = {
        {"pixel", [] { Panel_PutPixel(3, 4, 255, 0, 0); }, 3, 4},
        {"pixel off the right", [] { Panel_PutPixel(kPanelWidth, 0, 255, 0, 0); }, -1, -1},
        {"pixel below", [] { Panel_PutPixel(0, kPanelHeight, 255, 0, 0); }, -1, -1},
        {"line to far away", [] { Panel_Line(1590, 1000, 90000, 50000, 255, 0, 0); }, 1590, 1000},
        {"fill far past the corner", [] { Panel_FillRect(1598, 1022, 1 << 30, 1 << 30, 255, 0, 0); }, 1599, 1023},
        {"fill from far left", [] { Panel_FillRect(-(1 << 30), -(1 << 30), 1, 1, 255, 0, 0); }, 0, 0},
        // Far ends (a scroll or a coordinate from a file) are cut near the bitmap, not walked.
        {"vertical line across a billion rows", [] { Panel_Line(5, -2000000000, 5, 2000000000, 255, 0, 0); }, 5, 500},
        {"diagonal from far to far", [] { Panel_Line(-1000000000, -1000000000, 1000000000, 1000000000, 255, 0, 0); }, 500, 500},
        {"line far outside", [] { Panel_Line(-1000000000, 5, -1000000000, 1000000000, 255, 0, 0); }, -1, -1},
    };
    for (const Case& c : cases) {
        bits.assign(bits.size(), kFill);
        for (size_t i = 0; i < kGuardCount; ++i) bits[(size_t)kPanelWidth * kPanelHeight + i] = kGuard;
        c.draw();
        EXPECT_TRUE(GuardIntact()) << c.what;
        if (c.x >= 0) {
            EXPECT_EQ(0xFF0000u, Px(c.x, c.y)) << c.what;
        }
    }
    // A horizontal line leaves out its end pixel, as GDI draws it.
    bits.assign(bits.size(), kFill);
    Panel_Line(10, 5, 20, 5, 0, 255, 0);
    EXPECT_EQ(0x00FF00u, Px(10, 5));
    EXPECT_EQ(0x00FF00u, Px(19, 5));
    EXPECT_EQ(kFill, Px(20, 5));
}

TEST_F(PanelTest, TextOutIsBounded)
{
    const std::string name(3000, 'x');
    Panel_TextOut(1, 2, "%s %d", name.c_str(), 7);
    ASSERT_EQ(1u, s_Texts.size());
    // The drawn text is cut at the text buffer, never written past it.
    EXPECT_LT(s_Texts[0].size(), 700u);
    EXPECT_EQ(0, s_Texts[0].compare(0, 8, "1,2 xxxx"));
}

TEST_F(PanelTest, FrameMappingTruncatesTowardZeroAndSurvivesAnyScale)
{
    struct Case {
        int32_t scale, scroll, frame, keyX, timelineX;
    };
    const Case cases[] = {
        {4, 0, 60, 150 + 189, 150},          // frame 60 lies 150 pixels right of the divider
        {4, 0, 0, 189, 0},
        {3, 0, 10, 33 + 189, 33},            // 33.3 -> 33
        {4, 0, -7, -17 + 189, -17},          // -17.5 -> -17, toward zero
        {4, -40, 8, 20 - 40 + 189, -20},
        {0, 0, 6, 60 + 189, 60},             // a scale of 0 counts as 1: no division by zero
        {-5, 0, 6, 60 + 189, 60},
        {1, 0, INT32_MAX, INT32_MAX / 2, INT32_MAX / 2},   // frame * 10 does not overflow; x is clamped
        {1, 0, INT32_MIN, INT32_MIN / 2, INT32_MIN / 2},
    };
    for (const Case& c : cases) {
        g_KeyTimeScale = c.scale;
        g_KeyScrollX = c.scroll;
        EXPECT_EQ(c.keyX, Panel_KeyFrameX(c.frame)) << c.scale << " " << c.frame;
        EXPECT_EQ(c.timelineX, Timeline_FrameX(c.frame)) << c.scale << " " << c.frame;
    }
}

TEST_F(PanelTest, RulerDrawsOnlyItsVisibleMarks)
{
    const PANEL_RULER r = {-2, 6, 1, 24, 28};
    struct Case {
        int64_t last;
        int32_t scale, scroll;
        int32_t marks;
        const char* first;   // the first label drawn
    };
    const Case cases[] = {
        {1000, 4, 0, 5, "336,6 60 ffffff"},              // u = 338, 488, 638, 788, 938 below 1000
        {120, 4, 0, 2, "336,6 60 ffffff"},               // stops at the length
        {INT32_MAX, 4, 0, 5, "336,6 60 ffffff"},         // a length read from a file: still 5 marks
        {INT32_MAX, 4, -1500, 6, "186,6 600 ffffff"},    // scrolled far: starts at frame 600, u = 188
        {INT32_MAX, 4, -2000000000, 5, "286,6 800000040 ffffff"},   // no walk out to the visible part
        {INT32_MAX, 0, 0, 1, "786,6 60 ffffff"},         // scale 0 taken as 1: frame 120 is past the panel
        {59, 4, 0, 0, nullptr},
    };
    for (const Case& c : cases) {
        s_Texts.clear();
        g_KeyTimeScale = c.scale;
        const int32_t n = Panel_Ruler(r, c.last, (int64_t)c.scroll + 188, 188, 1000);
        EXPECT_EQ(c.marks, n) << c.last << " " << c.scroll;
        if (c.first) {
            ASSERT_FALSE(s_Texts.empty());
            EXPECT_EQ(c.first, s_Texts[0]);
        }
    }
}

TEST_F(PanelTest, BoneKeyPanelPaintsRowsKeysCurrentFrameAndEnd)
{
    MakeModel();
    SetRow(0, 0, 1, 0, "root", {60});   // the root's keys are never drawn
    SetRow(1, 1, 0, 1, "arm", {0, 60});
    g_HierRowCount = 2;
    g_HierRowCur = 1;
    Panel_PaintMotion3Keys(1008, 274);

    // Row 1's top is 21 + 28 = 49; its key at frame 60 is the box (340, 51)-(346, 68).
    EXPECT_EQ(0x00A0FFu, Px(340, 60));
    EXPECT_EQ(0x00A0FFu, Px(346, 60));
    EXPECT_EQ(0u, Px(343, 60));
    EXPECT_NE(0x00A0FFu, Px(340, 39));        // not on the root's row
    EXPECT_EQ(0xFFFF00u, Px(239, 60));        // frame 20 on the current row: x 239
    EXPECT_EQ(0x00FF00u, Px(489, 100));       // the end of 120 frames
    EXPECT_EQ(0xFFFFFFu, Px(188, 100));       // the label divider
    EXPECT_EQ(0x808080u, Px(500, 70));        // row 1's separator, from the divider on
    EXPECT_NE(0x808080u, Px(100, 70));
    EXPECT_EQ(0xFFFFFFu, Px(500, 28));        // under the header
    EXPECT_EQ(0xFFFFFFu, Px(339, 25));        // the ruler's tick of frame 60
    EXPECT_EQ(0u, Px(1000, 270));
    EXPECT_EQ(kFill, Px(1100, 100));          // nothing right of the panel
    EXPECT_TRUE(HasText("1,30 － 0:root ffffff"));
    EXPECT_TRUE(HasText("17,51 　 1:arm ffffff"));
    EXPECT_TRUE(HasText("17,51 □ ffffff"));
    EXPECT_TRUE(HasText("336,6 60 ffffff"));
    EXPECT_TRUE(HasText("5,6 Key 1 ffffff"));
    EXPECT_TRUE(HasText("72,6 Frame 20 ffffff"));

    // Collapsed, the root shows "＋"; scrolled so that frame 0 falls left of the divider, no key
    // box stands in the label column.
    model->bones[0].expanded = 0;
    g_KeyScrollX = -100;
    s_Texts.clear();
    Panel_PaintMotion3Keys(1008, 274);
    EXPECT_TRUE(HasText("1,30 ＋ 0:root ffffff"));
    for (int y = 28; y < 274; ++y)
        for (int x = 0; x < 188; ++x) ASSERT_NE(0x00A0FFu, Px(x, y)) << x << "," << y;
}

TEST_F(PanelTest, OversizedHostsAndWildStateStayInsideTheBitmap)
{
    MakeModel();
    for (int r = 0; r < kHierMaxRows; ++r) SetRow(r, r, r + 1, r, "bone", {0, 1 << 30, -(1 << 30), INT32_MAX});
    g_HierRowCount = 100000;   // more rows than the table holds
    g_HierRows[3].keyCount = 100000;
    g_HierRowCur = INT32_MAX;
    g_KeyHoverRow = INT32_MAX - 1;
    g_Tex3DState.texture = 0;
    struct Case {
        const char* what;
        PANEL_PAINTER paint;
    };
    const Case cases[] = {
        {"bone keys", Panel_PaintMotion3Keys}, {"group tracks", Panel_PaintGroupTrackKeys},
        {"object keys", Panel_PaintObj3Keys},  {"2D object keys", Panel_PaintObj2Keys},
        {"2D bone keys", Panel_PaintMotion2Keys}, {"3D swatches", Panel_PaintGroups3D},
        {"3D texture", Panel_PaintTexture3D},  {"2D object picture", Panel_PaintObj2Image},
    };
    const int32_t sizes[][2] = {{4000, 3000}, {1601, 1025}, {-5, -5}, {INT32_MAX, INT32_MAX}};
    const int32_t scales[] = {0, -1, 1, INT32_MAX};
    for (const Case& c : cases)
        for (const auto& s : sizes)
            for (int32_t scale : scales) {
                g_KeyTimeScale = scale;
                g_KeyScrollY = scale == 1 ? INT32_MIN : 0;
                c.paint(s[0], s[1]);
                ASSERT_TRUE(GuardIntact()) << c.what << " " << s[0] << " " << scale;
            }
}

TEST_F(PanelTest, GroupSwatchesShowColourAndThumbnail)
{
    MakeModel();
    model->groups[0].color[0] = 255.0f;
    model->groups[0].color[1] = 128.7f;
    model->groups[0].texture = 1;
    model->textures[1].used = 1;
    model->groups[1].color[2] = 300.0f;   // beyond 255: full blue, not wrapped
    // A 2 x 2 copy in 0xAABBGGRR: red, green / blue, white.
    std::vector<uint32_t> copy = {0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u, 0xFFFFFFFFu};
    g_PixelCopies[1] = QVL::PIXEL_COPY{copy.data(), 2, 2};
    Panel_PaintGroups3D(kSwatchWidth, kSwatchHeight);

    EXPECT_EQ(0xFF8000u, Px(20, 5));          // group 0: (255, 128, 0)
    EXPECT_EQ(0x0000FFu, Px(20, 18 + 5));     // group 1
    EXPECT_EQ(0x808080u, Px(20, 36 + 5));     // no group 2
    EXPECT_EQ(0xFFFFFFu, Px(40, 17));         // grid
    EXPECT_EQ(0xFFFFFFu, Px(4, 9));           // the check sign of group 0
    EXPECT_EQ(0xFF0000u, Px(36, 0));          // thumbnail texel (0, 0)
    EXPECT_EQ(0x00FF00u, Px(36 + 9, 0));      // texel (1, 0)
    EXPECT_EQ(0x0000FFu, Px(36, 9));          // texel (0, 1)
    EXPECT_EQ(0xFFFFFFu, Px(53, 16));         // texel (1, 1)
    EXPECT_EQ(0x808080u, Px(40, 18 + 5));     // group 1 has no texture
    EXPECT_EQ(kFill, Px(54, 5));              // nothing right of the panel

    // Scrolled to group 1: it heads the list.
    g_Group3DList.firstVisible = 1;
    Panel_PaintGroups3D(kSwatchWidth, kSwatchHeight);
    EXPECT_EQ(0x0000FFu, Px(20, 5));
    EXPECT_EQ(0x808080u, Px(20, 18 + 5));
}

TEST_F(PanelTest, TexturePanelSelectsUvsInsideTheDragRectangle)
{
    MakeModel();
    model->textures[1].used = 1;
    model->textures[1].width = 100;
    model->textures[1].height = 100;
    model->groups[0].texture = 1;
    model->uvs = {{0.5f, 0.5f}, {0.8f, 0.8f}, {0.2f, 0.5f}};
    model->uvCount = 3;
    model->faces.resize(1);
    model->faces[0].cornerCount = 3;
    for (int c = 0; c < 3; ++c) model->faces[0].corners[c][QVL::CORNER_UV] = c;
    model->faceCount = 1;
    g_FaceSel[0] = 1;
    g_UvSel[0] = g_UvSel[1] = g_UvSel[2] = 0;
    std::vector<uint32_t> copy = {0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u, 0xFFFFFFFFu};
    g_PixelCopies[1] = QVL::PIXEL_COPY{copy.data(), 2, 2};
    g_Tex3DState = {1, 4.0f, 0, 0, kTexDragRect, 1, 0, {0, 0, 300, 300}, 0};
    Panel_PaintTexture3D(kTexPanelSide, kTexPanelSide);

    EXPECT_EQ(1, g_UvSel[0]);   // (200, 200) at zoom 4: inside
    EXPECT_EQ(0, g_UvSel[1]);   // (320, 320): outside
    EXPECT_EQ(1, g_UvSel[2]);
    EXPECT_EQ(0xFF0000u, Px(2, 2));            // texel (0, 0) as a 4 x 4 block
    EXPECT_EQ(0x00FF00u, Px(5, 2));            // texel (1, 0)
    EXPECT_EQ(0x000048u, Px(8, 8));            // beyond the texture: the panel colour
    EXPECT_EQ(0xFFFF00u, Px(200, 200));        // a selected point
    EXPECT_EQ(0xFFFF00u, Px(201, 199));
    EXPECT_EQ(0u, Px(202, 202));               // its black ring
    EXPECT_EQ(0x0000FFu, Px(300, 150));        // the drag rectangle, adding
    EXPECT_EQ(0xFF0000u, Px(140, 200));        // the selected face's edge from (80, 200) to (200, 200)
    EXPECT_EQ(kFill, Px(600, 10));             // nothing right of the panel

    // Zoom 0 would divide by zero: only the panel colour.
    g_Tex3DState.zoom = 0.0f;
    Panel_PaintTexture3D(kTexPanelSide, kTexPanelSide);
    EXPECT_EQ(0x000048u, Px(2, 2));
    EXPECT_EQ(0x000048u, Px(200, 200));
}

TEST_F(PanelTest, RepaintPassPicksPanelsByFlagHostAndMotionType)
{
    static bool open[PANEL_HOST_COUNT];
    auto hostOpen = [](int32_t h) { return open[h]; };
    struct Case {
        const char* what;
        std::vector<int32_t> hosts;   // open hosts
        int32_t motionType;
        std::vector<int32_t> jobs;    // hosts painted, in order
        PANEL_PAINTER motionPainter;  // the 3D motion panel's painter, when listed
    };
    const Case cases[] = {
        {"both swatch hosts: only the 2D ones", {PANEL_HOST_GROUPS2D, PANEL_HOST_GROUPS3D}, 0, {PANEL_HOST_GROUPS2D}, nullptr},
        {"only the 3D swatches", {PANEL_HOST_GROUPS3D}, 0, {PANEL_HOST_GROUPS3D}, nullptr},
        {"bone motion", {PANEL_HOST_MOTION3_KEYS}, MOTION3D_BONES, {PANEL_HOST_MOTION3_KEYS}, Panel_PaintMotion3Keys},
        {"group motion", {PANEL_HOST_MOTION3_KEYS}, MOTION3D_GROUPS, {PANEL_HOST_MOTION3_KEYS}, Panel_PaintGroupTrackKeys},
        {"other motion type", {PANEL_HOST_MOTION3_KEYS}, 7, {PANEL_HOST_MOTION3_KEYS}, nullptr},
        {"no host", {}, 0, {}, nullptr},
    };
    for (const Case& c : cases) {
        for (bool& o : open) o = false;
        for (int32_t h : c.hosts) open[h] = true;
        g_PanelDirtyGroups = g_PanelDirtyMotion3Keys = 1;
        g_Motion3DState.motionType = (int16_t)c.motionType;
        PANEL_JOB jobs[PANEL_HOST_COUNT];
        const int32_t n = Panel_CollectDirty(hostOpen, jobs);
        ASSERT_EQ((int32_t)c.jobs.size(), n) << c.what;
        for (int32_t i = 0; i < n; ++i) {
            EXPECT_EQ(c.jobs[(size_t)i], jobs[i].host) << c.what;
            if (jobs[i].host == PANEL_HOST_MOTION3_KEYS) {
                EXPECT_EQ(c.motionPainter, jobs[i].paint) << c.what;
            }
        }
        // A flag stays set while its hosts are closed.
        const bool groupsPainted = open[PANEL_HOST_GROUPS2D] || open[PANEL_HOST_GROUPS3D];
        EXPECT_EQ(groupsPainted ? 0 : 1, g_PanelDirtyGroups) << c.what;
        EXPECT_EQ(open[PANEL_HOST_MOTION3_KEYS] ? 0 : 1, g_PanelDirtyMotion3Keys) << c.what;
    }
    g_PanelDirtyGroups = g_PanelDirtyMotion3Keys = 0;
}

TEST_F(PanelTest, MovieTimelinePaintsTracksAndABoundedRuler)
{
    // Keys of 3 int32s each, the frame first.
    const int32_t keys[] = {8, 0, 0, 40, 0, 0};
    const MOVIE_TIMELINE_TRACK tracks[] = {{"bg", 4, keys, 3, 2}, {"odd", 42, nullptr, 0, 0}};
    MOVIE_TIMELINE movie = {tracks, 2, 20, 60, 0};
    g_MovieTimeline = &movie;
    g_TimelineLabelWidth = 230;
    g_TimelineTop = 84;
    g_CurLayer = 0;
    Panel_PaintMovieTimeline(1008, 274);

    // Row 0 at y 88: key at frame 8 is x 230 + 20 = 250, its box from 253.
    EXPECT_EQ(0x0080FFu, Px(253, 98));
    EXPECT_EQ(0x0080FFu, Px(333, 98));         // frame 40: x 330
    EXPECT_EQ(0xFFFF00u, Px(282, 100));        // the stopped current frame 20: x 280 + 2
    EXPECT_EQ(0x00FF00u, Px(383, 200));        // the end: x(60) + 3
    EXPECT_EQ(0x00FFFFu, Px(281, 200));        // the current frame as a line
    EXPECT_EQ(0xFFFFFFu, Px(500, 88));
    EXPECT_EQ(0u, Px(10, 50));                 // the header strip is cleared over the labels too
    EXPECT_TRUE(HasText("8,91  0 : bg ( ３Ｄモデル(QVP) ) ffff00"));
    EXPECT_TRUE(HasText("8,116  1 : odd (  ) ffffff"));
    EXPECT_TRUE(HasText("380,63 60 ffffff"));
    EXPECT_TRUE(HasText("663,5 次のQVVへ(編集用) ffffff"));

    // A length read from a file: the ruler still draws only its visible marks, and playing hides
    // the current-frame box.
    movie.length = INT32_MAX;
    movie.playState = 1;
    s_Texts.clear();
    bits.assign(bits.size(), kFill);
    for (size_t i = 0; i < kGuardCount; ++i) bits[(size_t)kPanelWidth * kPanelHeight + i] = kGuard;
    Panel_PaintMovieTimeline(8000, 8000);
    EXPECT_TRUE(GuardIntact());
    EXPECT_NE(0xFFFF00u, Px(282, 100));
    int marks = 0;
    for (const std::string& t : s_Texts) marks += t.find(",63 ") != std::string::npos;
    EXPECT_EQ(9, marks);   // u = 230 + 150 k below the bitmap's 1600
    g_MovieTimeline = nullptr;
    g_TimelineLabelWidth = 0;
}

TEST_F(PanelTest, MovieTimelineIsPaintedEveryPassInTheMovieEditorOnly)
{
    static bool movieOpen;
    auto hostOpen = [](int32_t h) { return h == PANEL_HOST_MOVIE_KEYS && movieOpen; };
    PANEL_JOB jobs[PANEL_HOST_COUNT];
    const int32_t savedMode = g_Mode;
    struct Case {
        int32_t mode;
        bool open;
        int32_t jobs;
    } cases[] = {{MODE_MOVIE, true, 1}, {MODE_MOVIE, false, 0}, {MODE_EFFECT_EDIT, true, 0}};
    for (const Case& c : cases) {
        g_Mode = c.mode;
        movieOpen = c.open;
        EXPECT_EQ(c.jobs, Panel_CollectDirty(hostOpen, jobs)) << c.mode;
        if (c.jobs) {
            EXPECT_EQ(Panel_PaintMovieTimeline, jobs[0].paint);
        }
    }
    g_Mode = savedMode;
}

} // namespace
