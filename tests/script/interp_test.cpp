// The interpreter: the slice per frame, what each statement hands to the engine, the arithmetic and
// comparisons, and the defined results of faulty values and hand-made blocks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "script/compiler.h"
#include "script/interp.h"
#include "script/prog.h"

namespace {

std::vector<std::string> g_calls;
bool g_keys[256];
bool g_drawAllowed = true;

std::string F(float v)
{
    char b[32];
    std::snprintf(b, sizeof b, "%g", v);
    return b;
}

const VM_HOST kRecorder = {
    [](int32_t i, const char* f) { g_calls.push_back("img " + std::to_string(i) + " " + f); },
    [](int32_t x, int32_t y, const char* t) {
        g_calls.push_back("text " + std::to_string(x) + " " + std::to_string(y) + " " + t);
    },
    [](int32_t m, const char* f) { g_calls.push_back("model " + std::to_string(m) + " " + f); },
    [](int32_t c, int32_t o, float x, float y, float z) {
        g_calls.push_back("obj" + std::to_string(c) + " " + std::to_string(o) + " " + F(x) + " " + F(y) + " " + F(z));
    },
    [](int32_t c, int32_t m, int32_t v) {
        g_calls.push_back("m" + std::to_string(c) + " " + std::to_string(m) + " " + std::to_string(v));
    },
    [](int32_t c, float x, float y, float z) {
        g_calls.push_back("pt" + std::to_string(c) + " " + F(x) + " " + F(y) + " " + F(z));
    },
    [](int32_t code) { return code >= 0 && code < 256 && g_keys[code]; },
    [](const char* p) { g_calls.push_back(std::string("folder ") + p); },
    []() { return g_drawAllowed; },
};

std::vector<std::string> g_drawn;
void RecordDraw(int32_t image, int32_t x, int32_t y)
{
    g_drawn.push_back(std::to_string(image) + "@" + std::to_string(x) + "," + std::to_string(y));
}

struct Interp : testing::Test {
    QVL::VM* vm = nullptr;
    void SetUp() override
    {
        vm = Vm_Create();
        Vm_AllocBlock(vm, 0);
        g_calls.clear();
        g_drawn.clear();
        std::memset(g_keys, 0, sizeof g_keys);
        g_drawAllowed = true;
    }
    void TearDown() override { Vm_Free(); }
    void Start(const std::string& src)
    {
        ASSERT_TRUE(Prog_CompileText(g_ProgCompiler, *vm, src.data(), src.size()));
        Vm_Reset(vm);
        vm->programRunning = 1;
    }
    void Run() { Vm_Run(vm, kRecorder); }
    float Var(const char* name)
    {
        for (int i = 0; i < vm->varCount; ++i)
            if (!std::strcmp(vm->varNames[i], name)) return vm->varValues[i];
        ADD_FAILURE() << name;
        return 0;
    }
    QVL::PROG_BLOCK& B(int i = 0) { return *vm->blocks[i]; }
};

TEST_F(Interp, FourLineLoopRunsAThousandStatementsAFrame)
{
    Start("Var x\n*l\nx = x + 1\nGo *l\n");
    float last = 0;
    for (int frame = 1; frame <= 30; ++frame) {
        Run();
        const float x = Var("x");
        EXPECT_TRUE(x - last == 333 || x - last == 334) << frame << ": " << x - last;
        // Statements so far: the Var line and three per pass; the pass under way has run its label
        // (next line 2) or its label and addition (next line 3, x already counted).
        const int partial = vm->curLine == 2 ? 1 : vm->curLine == 3 ? -1 : 0;
        EXPECT_EQ(1000 * frame, 1 + 3 * (int)x + partial) << frame;
        last = x;
        ASSERT_EQ(1, vm->programRunning);
    }
}

TEST_F(Interp, ScreenDrawEndsTheSliceAndTheNextResumesAfterIt)
{
    Start("Var n\n*top\nn = n + 1\nScreenDraw\nGo *top\n");
    for (int frame = 1; frame <= 5; ++frame) {
        Run();
        EXPECT_EQ((float)frame, Var("n"));
        EXPECT_EQ(4, vm->curLine);
    }
}

TEST_F(Interp, ProgramEndsAfterItsLastLine)
{
    Start("Var a\na = 3\n");
    Run();
    EXPECT_EQ(0, vm->programRunning);
    EXPECT_EQ(3.0f, Var("a"));
    Run();   // a stopped program does nothing
    EXPECT_EQ(0, vm->programRunning);
}

TEST_F(Interp, Arithmetic)
{
    const struct {
        const char* a;
        const char* op;
        const char* b;
        float result;
    } cases[] = {
        {"5", "+", "2.5", 7.5f}, {"5", "-", "7", -2.0f}, {"1.5", "*", "4", 6.0f}, {"7", "/", "2", 3.5f},
        {"-7", "%", "3", -1.0f}, {"7.9", "%", "2.9", 1.0f},
        // Defined results where the plain operation faults or leaves a non-number.
        {"5", "/", "0", 0.0f}, {"5", "%", "0", 0.0f}, {"5", "%", "0.5", 0.0f}, {"-3e9", "%", "-1", 0.0f},
        {"1e30", "%", "7", (float)(2147483647 % 7)}, {"nan", "%", "3", 0.0f}, {"0", "/", "0", 0.0f},
    };
    for (const auto& c : cases) {
        SetUp();
        Start(std::string("Var a\nVar b\nVar r\na = ") + c.a + "\nb = " + c.b + "\nr = a " + c.op + " b\n");
        Run();
        EXPECT_EQ(c.result, Var("r")) << c.a << c.op << c.b;
    }
}

TEST_F(Interp, IfComparesIntegerParts)
{
    const struct {
        const char* a;
        const char* cmp;
        const char* b;
        bool body;
    } cases[] = {
        {"2.7", "=", "2.1", true}, {"3", "=", "2", false}, {"3", ">", "2.9", true}, {"2.9", ">", "2", false},
        {"-0.5", "<", "0.5", false}, {"-1.5", "<", "0", true}, {"nan", "=", "0", true}, {"1e30", ">", "2147483000", true},
    };
    for (const auto& c : cases) {
        SetUp();
        Start(std::string("Var a\nVar b\nVar hit\na = ") + c.a + "\nb = " + c.b + "\nIf a " + c.cmp +
              " b\nhit = 1\nEnd\n");
        Run();
        EXPECT_EQ(c.body ? 1.0f : 0.0f, Var("hit")) << c.a << c.cmp << c.b;
    }
}

TEST_F(Interp, NestedIfSkipsToItsOwnEnd)
{
    Start("Var a\nVar after\nIf a = 1\n If a = 0\n End\n after = 1\nEnd\n");
    Run();
    EXPECT_EQ(0.0f, Var("after"));
}

TEST_F(Interp, KeyBodyRunsOnlyWhileTheKeyIsHeld)
{
    Start("Var n\n*top\nKey Space\nn = n + 1\nEnd\nScreenDraw\nGo *top\n");
    Run();
    EXPECT_EQ(0.0f, Var("n"));
    g_keys[32] = true;
    Run();
    Run();
    EXPECT_EQ(2.0f, Var("n"));
    g_keys[32] = false;
    Run();
    EXPECT_EQ(2.0f, Var("n"));
}

TEST_F(Interp, StatementsReachTheHost)
{
    Start("Var a\na = 4\n"
          "Font 10 20 100%s\n"
          "ImgLoad 3 pic.bmp\nImgLoad 1024 big.bmp\nImgLoad -1 neg.bmp\n"
          "PolyLoad 2 m.qvp\n"
          "PolyPos 1 a 2 3\nPolyAng 1 0 90 a\nPolySize 0 1 1 1\n"
          "PolyLight 1 0.5\nPolyLight 1 0\nPolyMotion 1 2.9\nPolyVB 0 a\n"
          "CameraS 0 a -50\nCameraE 1 2 3\nLightPos -500 500 -500\n"
          "Folder sub\n");
    Run();
    const std::vector<std::string> want = {
        "text 10 20 100%s", "img 3 pic.bmp",  "model 2 m.qvp", "obj10 1 4 2 3", "obj11 1 0 90 4",
        "obj12 0 1 1 1",    "m13 1 1",        "m13 1 0",       "m14 1 2",       "m15 0 4",
        "pt16 0 4 -50",     "pt17 1 2 3",     "pt18 -500 500 -500", "folder sub",
    };
    EXPECT_EQ(want, g_calls);
}

TEST_F(Interp, ImageDrawsAreQueuedForTheDrawPass)
{
    Start("Var x\nx = 1e30\nImgDraw 0 5 6\nImgDraw 1 x 2\nImgDraw 1024 0 0\nImgDraw -1 0 0\nScreenDraw\n");
    Run();
    EXPECT_TRUE(g_drawn.empty());
    Vm_DrawQueue(vm, RecordDraw);
    EXPECT_EQ((std::vector<std::string>{"0@5,6", "1@2147483647,2"}), g_drawn);
    EXPECT_EQ(0, vm->drawCount);

    g_drawAllowed = false;
    Vm_QueueImageDraw(vm, kRecorder, 0, 1, 1);
    EXPECT_EQ(0, vm->drawCount);
}

TEST_F(Interp, AFullQueueDropsFurtherDraws)
{
    Start("Var i\n*l\nImgDraw 7 i 0\ni = i + 1\nIf i < 1100\nGo *l\nEnd\nScreenDraw\n");
    for (int frame = 0; frame < 20 && vm->programRunning; ++frame) Run();
    EXPECT_EQ(1100.0f, Var("i"));
    ASSERT_EQ(QVL::kVmDrawQueue, vm->drawCount);
    EXPECT_EQ(1022, vm->draws[QVL::kVmDrawQueue - 1].x);
    Vm_DrawQueue(vm, RecordDraw);
    EXPECT_EQ(1023u, g_drawn.size());
    Vm_QueueImageDraw(vm, kRecorder, 7, 1, 1);
    EXPECT_EQ(1, vm->drawCount);
}

TEST_F(Interp, HandMadeBlocksEndInsteadOfReadingOutside)
{
    // A jump to a block that was never made.
    B().lineCount = 1;
    B().command[0] = QVL::PROG_GO;
    B().f[0][0] = 5;
    vm->programRunning = 1;
    Run();
    EXPECT_EQ(0, vm->programRunning);

    // Calls that never return: the 101st ends the program with the stack full, not past it.
    QVL::PROG_BLOCK& b1 = *Vm_AllocBlock(vm, 1);
    b1.lineCount = 1;
    b1.command[0] = QVL::PROG_GO;
    b1.f[0][0] = 1;
    B().f[0][0] = 1;
    Vm_Reset(vm);
    vm->programRunning = 1;
    Run();
    EXPECT_EQ(0, vm->programRunning);
    EXPECT_EQ(QVL::kVmCallDepth, vm->callDepth);

    // A call returns to the line after it; a jump target far outside ends the block.
    b1.command[0] = QVL::PROG_NOTHING;
    B().lineCount = 3;
    B().command[1] = QVL::PROG_IF;
    B().f[1][2] = 0;
    B().f[1][3] = 1;          // 0 = 1: false
    B().f[1][4] = -5e9f;
    Vm_Reset(vm);
    vm->programRunning = 1;
    Run();
    EXPECT_EQ(0, vm->programRunning);
    EXPECT_EQ(0, vm->callDepth);
    EXPECT_EQ(QVL::kProgLines, vm->curLine);

    // References and counts out of range.
    B().lineCount = 2000;
    B().command[0] = QVL::PROG_ARITH;
    B().r[0][0] = 150;
    B().r[0][2] = -7;
    B().r[0][4] = 99;
    B().f[0][3] = 1;
    B().command[1] = QVL::PROG_ASSIGN;
    B().f[1][0] = -1;
    vm->curLine = -3;
    vm->programRunning = 1;
    Run();
    EXPECT_EQ(0, vm->programRunning);
    vm->curLine = 0;
    vm->curBlock = 0;
    vm->programRunning = 1;
    vm->varCount = 1000;
    vm->drawCount = 5000;
    Run();
    Vm_DrawQueue(vm, RecordDraw);
    EXPECT_EQ(0, vm->drawCount);
}

} // namespace
