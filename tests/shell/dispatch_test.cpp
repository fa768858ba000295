// The per-mode dispatch tables and the routing of commands, keys and mouse buttons.
#include <string>
#include <vector>

#include "shell_fixture.h"

namespace {

std::vector<std::string> g_calls;
void RecCommand(int id) { g_calls.push_back("command " + std::to_string(id) + " options=" + std::to_string(UiRec().optionsOpened)); }
void RecKey(int key) { g_calls.push_back("key " + std::to_string(key)); }
void RecMouse(int32_t lParam) { g_calls.push_back("mouse " + std::to_string(lParam)); }

using Dispatch = ShellTest;

TEST_F(Dispatch, EveryModeOfTheListHasItsEnterExitAndFrame)
{
    struct Row { int mode; MODE_FN enter, exit, frame; MODE_ID_FN command; };
    const Row rows[] = {
        {MODE_PREVIEW, Preview_Enter, Preview_Exit, Preview_Frame, Preview_OnCommand},
        {MODE_2D_EDIT, Model2D_Enter, Model2D_Exit, Model2D_Frame, Model2D_Command},
        {MODE_3D_EDIT, Model3D_Enter, Model3D_Exit, Model3D_Frame, Model3D_Command},
        {MODE_PARTICLE, ParticleEdit_Enter, ParticleEdit_Exit, ParticleEdit_Frame, nullptr},
        {MODE_EFFECT_EDIT, EffectEdit_Enter, EffectEdit_Exit, EffectEdit_Frame, EffectEdit_Command},
        {MODE_MAP_EDIT, Map2Edit_Enter, Map2Edit_Exit, Map2Edit_Frame, nullptr},
        {MODE_COLLISION_EDIT, ColiEdit_Enter, ColiEdit_Exit, ColiEdit_Frame, nullptr},
        {MODE_MOVIE, MovieEdit_Enter, MovieEdit_Exit, MovieEdit_Frame, MovieEdit_Command},
        {MODE_PROGRAM, Prog_Enter, Prog_Exit, Prog_Frame, nullptr},
    };
    for (const Row& r : rows) {
        const MODE_HOOKS& h = Mode_Hooks(r.mode);
        EXPECT_EQ(h.enter, r.enter) << r.mode;
        EXPECT_EQ(h.exit, r.exit) << r.mode;
        EXPECT_EQ(h.frame, r.frame) << r.mode;
        EXPECT_EQ(h.command, r.command) << r.mode;
    }
    for (int mode : {1, 2, 4, 10, 12, 18, -1, 25, 99}) {
        const MODE_HOOKS& h = Mode_Hooks(mode);
        EXPECT_EQ(h.enter, nullptr) << mode;
        EXPECT_EQ(h.frame, nullptr) << mode;
        EXPECT_EQ(h.draw, nullptr) << mode;
    }
}

TEST_F(Dispatch, MouseHandlersFollowTheTable)
{
    struct Row { int mode; MODE_MOUSE_FN lDown, lUp, mDown, rDown, move; };
    const Row rows[] = {
        {MODE_PREVIEW, Preview_ButtonDown, nullptr, Preview_ButtonDown, Preview_RButtonDown, nullptr},
        {MODE_PARTICLE, Mode_StoreDragStart, nullptr, Mode_StoreDragStart, Poly3D_StoreDragStart, ParticleEdit_MouseMove},
        {MODE_EFFECT_EDIT, Mode_StoreDragStart, nullptr, Mode_StoreDragStart, Poly3D_StoreDragStart, EffectEdit_MouseMove},
        {MODE_MAP_EDIT, Map2Edit_LButtonDown, Map2Edit_LButtonUp, ColiEdit_MButtonDown, Poly3D_StoreDragStart, Map2Edit_MouseMove},
        {MODE_COLLISION_EDIT, Mode_StoreDragStart, ColiEdit_LButtonUp, ColiEdit_MButtonDown, Poly3D_StoreDragStart, ColiEdit_MouseMove},
        {MODE_MOVIE, MovieEdit_LButtonDown, nullptr, Mode_StoreDragStart, MovieEdit_RButtonDown, MovieEdit_MouseMove},
    };
    for (const Row& r : rows) {
        const MODE_HOOKS& h = Mode_Hooks(r.mode);
        EXPECT_EQ(h.lButtonDown, r.lDown) << r.mode;
        EXPECT_EQ(h.lButtonUp, r.lUp) << r.mode;
        EXPECT_EQ(h.mButtonDown, r.mDown) << r.mode;
        EXPECT_EQ(h.rButtonDown, r.rDown) << r.mode;
        EXPECT_EQ(h.mouseMove, r.move) << r.mode;
    }
    // The draw passes: the first of modes 3, 11 and 19 to 24, the second of 0, 3, 11, 22 and 23.
    for (int m = 0; m < kModeCount; ++m) {
        bool first = m == MODE_2D_EDIT || m == MODE_3D_EDIT || (m >= MODE_PARTICLE && m <= MODE_PROGRAM);
        bool second = m == MODE_PREVIEW || m == MODE_2D_EDIT || m == MODE_3D_EDIT || m == MODE_COLLISION_EDIT ||
                      m == MODE_MOVIE;
        EXPECT_EQ(Mode_Hooks(m).draw != nullptr, first) << m;
        EXPECT_EQ(Mode_Hooks(m).drawOverlay != nullptr, second) << m;
    }
}

TEST_F(Dispatch, CommandsReachTheTableFirstThenTheModeHandler)
{
    g_calls.clear();
    g_ModeHooks[MODE_EFFECT_EDIT].command = RecCommand;
    Main_Command(40067);  // options: in the table
    Main_Command(56);     // only the mode knows it
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[0], "command 40067 options=1");
    EXPECT_EQ(g_calls[1], "command 56 options=1");
    EXPECT_FALSE(Main_CommandTable(56));
    // Modes without a handler get nothing, the table still runs.
    g_Mode = MODE_PROGRAM;
    Main_Command(40007);
    EXPECT_EQ(UiRec().confirmExits, 1);
    EXPECT_EQ(g_calls.size(), 2u);
}

TEST_F(Dispatch, EscAsksToExitAndOOpensTheOptions)
{
    g_calls.clear();
    g_ModeHooks[MODE_3D_EDIT].keyUp = RecKey;
    g_Mode = MODE_3D_EDIT;
    Main_KeyUp(0x1B);
    EXPECT_EQ(UiRec().confirmExits, 1);
    EXPECT_EQ(g_calls.back(), "key 27");
    g_App.keyLatch = 0;
    Main_KeyUp('O');
    EXPECT_EQ(UiRec().optionsOpened, 1);
    // F5 refreshes the mode: every view is redrawn at the next pass.
    g_App.keyLatch = 0;
    g_SketchSlot.dirty = 0;
    Main_KeyUp(0x74);
    EXPECT_EQ(g_SketchSlot.dirty, 1);
}

void RecDown(int key) { g_calls.push_back("down " + std::to_string(key)); }
void RecUp(int key) { g_calls.push_back("up " + std::to_string(key)); }

// Key messages as the loop hands them over, turn by turn: "D" a key-down, "U" a key-up, "|" a turn
// that found no message (the loop clears the latch). Auto-repeated key-downs within one turn are
// dropped; a key-up always gets through, whatever came before it in its turn.
TEST_F(Dispatch, TheKeyLatchDropsRepeatsButNeverAKeyUp)
{
    struct Case {
        const char* name;
        std::vector<std::pair<char, int>> events;
        std::vector<std::string> calls;
        int zHeld, shiftHeld, optionsOpened;
    };
    const int kShift = 0x10;
    const Case cases[] = {
        {"two keys in one turn: the second key-down is dropped",
         {{'D', 'A'}, {'D', 'B'}}, {"down 65"}, 0, 0, 0},
        {"O held with auto-repeat: the release comes with a repeat and opens the options once",
         {{'D', 'O'}, {'|', 0}, {'D', 'O'}, {'|', 0}, {'D', 'O'}, {'D', 'O'}, {'U', 'O'}},
         {"down 79", "down 79", "down 79", "up 79"}, 0, 0, 1},
        {"a quick tap: down and up in one turn both get through",
         {{'D', 'Z'}, {'U', 'Z'}}, {"down 90", "up 90"}, 0, 0, 0},
        {"Shift held and released with a repeat: the flag falls again",
         {{'D', kShift}, {'|', 0}, {'D', kShift}, {'U', kShift}}, {"down 16", "down 16", "up 16"}, 0, 0, 0},
        {"Z held while another key is tapped in the same turn",
         {{'D', 'Z'}, {'|', 0}, {'D', 'A'}, {'U', 'A'}, {'D', 'Z'}},
         {"down 90", "down 65", "up 65"}, 1, 0, 0},
        {"a key-down after a key-up in the same turn is still one too many",
         {{'D', 'A'}, {'|', 0}, {'U', 'A'}, {'D', 'B'}, {'|', 0}, {'U', 'B'}}, {"down 65", "up 65", "up 66"}, 0, 0, 0},
    };
    g_ModeHooks[MODE_3D_EDIT].keyDown = RecDown;
    g_ModeHooks[MODE_3D_EDIT].keyUp = RecUp;
    g_Mode = MODE_3D_EDIT;
    for (const Case& c : cases) {
        g_calls.clear();
        g_App.keyLatch = 0;
        g_App.zHeld = 0;
        g_App.shiftHeld = 0;
        UiRec().Clear();
        for (const auto& e : c.events) {
            if (e.first == 'D') Main_KeyDown(e.second);
            else if (e.first == 'U') Main_KeyUp(e.second);
            else g_App.keyLatch = 0;
        }
        EXPECT_EQ(g_calls, c.calls) << c.name;
        EXPECT_EQ(g_App.zHeld, c.zHeld) << c.name;
        EXPECT_EQ(g_App.shiftHeld, c.shiftHeld) << c.name;
        EXPECT_EQ(UiRec().optionsOpened, c.optionsOpened) << c.name;
    }
}

TEST_F(Dispatch, F2TogglesAntiAliasingBothWays)
{
    // The option is the library's own flag: a second F2 turns it off again.
    g_Lib.antiAlias4Supported = 1;
    g_Lib.antiAlias = 0;
    Main_KeyUp(0x71);
    EXPECT_EQ(g_Lib.antiAlias, 1);
    g_App.keyLatch = 0;
    Main_KeyUp(0x71);
    EXPECT_EQ(g_Lib.antiAlias, 0);
    g_Lib.antiAlias4Supported = 0;
}

TEST_F(Dispatch, ProgramEditorOpensTheLogWindow)
{
    g_Mode = MODE_PROGRAM;
    Mode_Enter();
    EXPECT_EQ(Rec().logWindowsCreated, 1);
    EXPECT_TRUE(UiRec().Has("MenuSet MENU_PROG"));
    EXPECT_EQ(g_ScreenGroup, 8);
    EXPECT_EQ(g_ViewCount[0], 1);
    Mode_Exit();
    g_Mode = MODE_EFFECT_EDIT;
}

TEST_F(Dispatch, ReleasingOneButtonWhileTheOtherIsHeldEndsBoth)
{
    g_calls.clear();
    g_ModeHooks[MODE_EFFECT_EDIT].lButtonUp = RecMouse;
    g_ModeHooks[MODE_EFFECT_EDIT].rButtonUp = RecMouse;
    g_Lib.mouse.held[2] = 1;
    Mode_LButtonUp(5);
    EXPECT_TRUE(g_calls.empty());
    EXPECT_EQ(g_Lib.mouse.held[2], 0);
    Mode_RButtonUp(7);
    EXPECT_EQ(g_calls, std::vector<std::string>{"mouse 7"});
}

TEST_F(Dispatch, MouseCoordinatesAboveTenThousandAreNegative)
{
    Mode_LButtonDown((int32_t)((65533u << 16) | 120u));
    EXPECT_EQ(g_PressPoint.x, 120);
    EXPECT_EQ(g_PressPoint.y, -2);
    EXPECT_EQ(g_DragStart.y, -2);  // mode 20 stores the drag start
    Mode_MouseMove((int32_t)((10u << 16) | 130u));
    Mode_MouseMove((int32_t)((14u << 16) | 127u));
    EXPECT_FLOAT_EQ(g_MouseDelta.x, -3.0f);
    EXPECT_FLOAT_EQ(g_MouseDelta.y, 4.0f);
}

TEST_F(Dispatch, StartModeLoadsItsMenuAndTheSwitchTo3DOpensTheViews)
{
    Mode_Enter();
    EXPECT_TRUE(UiRec().Has("MenuSet MENU_EFFECT"));
    EXPECT_EQ(g_ScreenGroup, 6);
    EXPECT_EQ(g_ViewCount[0], 4);
    g_LayerObjectIds = {0};
    g_LayerModelIds = {0};
    UiRec().Clear();
    Mode_SwitchTo3DPoly();
    EXPECT_EQ(g_Mode, MODE_3D_EDIT);
    EXPECT_EQ(g_Screen, 14);
    EXPECT_EQ(g_PrevMode, MODE_EFFECT_EDIT);
    EXPECT_EQ(g_ScreenGroup, 4);
    EXPECT_EQ(UiRec().calls.front().rfind("MenuDestroy", 0), 0u);
    EXPECT_TRUE(UiRec().Has("MenuSet MENU_3D_POLY"));
    int created = 0;
    for (const std::string& c : UiRec().calls) created += c.rfind("ViewCreate", 0) == 0;
    EXPECT_EQ(created, 3);
    EXPECT_EQ(g_UndoHistories[0].position, 0);
    EXPECT_EQ(g_UndoHistories[1].position, -1);
    EXPECT_STREQ(g_UndoCaption, "３Ｄモデル編集");
    EXPECT_FLOAT_EQ(g_Views[SCREEN_3D_POLYGON][0].pan[1], 8.0f);
    // Already in 11: nothing changes.
    UiRec().Clear();
    g_Screen = SCREEN_3D_BONE;
    Mode_SwitchTo3DPoly();
    EXPECT_EQ(g_Screen, 16);
    EXPECT_TRUE(UiRec().calls.empty());
    g_Screen = SCREEN_3D_POLYGON;
    Mode_Exit();
    for (int i = 1; i < 4; ++i) EXPECT_EQ(g_Views[SCREEN_3D_POLYGON][i].window, nullptr);
    g_Mode = MODE_EFFECT_EDIT;
    g_Screen = SCREEN_START;
}

TEST_F(Dispatch, RedrawRequestFlagsOnlyOpenExistingViews)
{
    VIEW_REC* row = g_Views[0];
    for (int i = 0; i < 4; ++i) row[i].redraw = 0;
    row[1].window = (void*)0x100;
    row[2].window = (void*)0x200;
    row[2].exists = 0;
    View_RequestRedraw();
    EXPECT_EQ(row[0].redraw, 1);  // the main window
    EXPECT_EQ(row[1].redraw, 1);
    EXPECT_EQ(row[2].redraw, 0);
    EXPECT_EQ(row[3].redraw, 0);  // no window
}

} // namespace
