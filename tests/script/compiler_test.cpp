// The compiler: tokens, the encoding of every statement, the errors a source can hold, and the
// pairing of If and Key with End.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "script/compiler.h"
#include "script/prog.h"
#include "script/qvs_file.h"

namespace {

struct Compiler : testing::Test {
    QVL::VM* vm = nullptr;
    void SetUp() override
    {
        vm = Vm_Create();
        Vm_AllocBlock(vm, 0);
    }
    void TearDown() override { Vm_Free(); }
    QVL::PROG_BLOCK& B() { return *vm->blocks[0]; }
    bool Compile(const std::string& src) { return Prog_CompileText(g_ProgCompiler, *vm, src.data(), src.size()); }
    std::string Errors()
    {
        std::string s;
        for (const PROG_ERROR& e : g_ProgCompiler.errors) s += std::to_string(e.line) + ":" + e.text + "\n";
        return s;
    }
};

std::string Tokens(const char* text)
{
    static PROG_LINE line;
    Prog_Tokenize(line, text);
    std::string s;
    for (int i = 0; i < line.tokenCount; ++i) s += std::string(i ? "|" : "") + line.tokens[i];
    return s;
}

TEST(ProgTokenize, Separators)
{
    const struct {
        const char* text;
        const char* tokens;
    } cases[] = {
        {"x,=,5", "x|=|5"},
        {"x ,, 5", "x|,|5"},              // a comma that starts a token belongs to it
        {"\t  If a > 3\n", "If|a|>|3"},
        {"\n", ""},
        {"", ""},
        {"x = 5   \n", "x|=|5"},          // trailing blanks make no token
        {"a b c d e f g", "a|b|c|d|e"},   // past the fifth token nothing is read
        {"a\tb", "a|b"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.tokens, Tokens(c.text)) << c.text;
}

TEST(ProgTokenize, KeyNames)
{
    const struct {
        const char* name;
        int code;
    } cases[] = {{"A", 65}, {"Z", 90}, {"0", 48}, {"9", 57}, {"Num0", 96}, {"Num9", 105}, {"F1", 112},
                 {"F12", 123}, {"F13", 0}, {"F0", 0}, {"Space", 32}, {"End", 35}, {"Esc", 27}, {"Kanji", 229},
                 {"a", 0}, {"", 0}, {"Num10", 0}, {"Caps", 240}};
    for (const auto& c : cases) EXPECT_EQ(c.code, Prog_KeyCode(c.name)) << c.name;
}

// Each case compiles "Var a" and "Var b" (lines 0, 1) and its own line 2; *L sits on line 3.
TEST_F(Compiler, StatementEncodings)
{
    const float N = -99;   // slot not checked
    const struct {
        const char* line;
        int cmd;
        float f[5];
        int r[5];   // -9: not checked
        const char* text;
    } cases[] = {
        {"a = 5", QVL::PROG_ASSIGN, {0, N, 5, N, N}, {0, 0, 0, 0, 0}, ""},
        {"b + 5", QVL::PROG_ASSIGN, {1, N, 5, N, N}, {0, 0, 0, 0, 0}, ""},
        {"a = b + 2", QVL::PROG_ARITH, {N, N, N, 1, 2}, {0, 0, 1, 0, -1}, ""},
        {"a = 7 % b", QVL::PROG_ARITH, {N, N, 7, 5, N}, {0, 0, -1, 0, 1}, ""},
        {"b = a / a", QVL::PROG_ARITH, {N, N, N, 4, N}, {1, 0, 0, 0, 0}, ""},
        {"  If a > 3", QVL::PROG_IF, {N, N, 1, 3, 4}, {0, 0, 0, -1, 0}, ""},
        {"If 2 < b", QVL::PROG_IF, {N, 2, 2, N, 4}, {0, -1, 0, 1, 0}, ""},
        {"If a = -1", QVL::PROG_IF, {N, N, 0, -1, 4}, {0, 0, 0, -1, 0}, ""},
        {"Font 10 20 Hello%s", QVL::PROG_FONT, {10, 20, 0, 0, 0}, {0, 0, 0, 0, 0}, "Hello%s"},
        {"ImgLoad 3 pic.bmp", QVL::PROG_IMGLOAD, {3, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, "pic.bmp"},
        {"ImgDraw 3.7 a 40.9", QVL::PROG_IMGDRAW, {0, 3, N, 40, 0}, {0, 0, 0, 0, 0}, ""},
        {"ImgDraw 1 12 2", QVL::PROG_IMGDRAW, {0, 1, 12, 2, 0}, {0, 0, -1, 0, 0}, ""},
        {"PolyLoad 2 m.qvp", QVL::PROG_POLYLOAD, {0, 2, 0, 0, 0}, {0, 0, 0, 0, 0}, "m.qvp"},
        {"PolyPos 1 a 2 b", QVL::PROG_POLYPOS, {0, 1, N, 2, N}, {0, 0, 0, -1, 1}, ""},
        {"PolyAng 1 0 90 0", QVL::PROG_POLYANG, {0, 1, 0, 90, 0}, {0, 0, -1, -1, -1}, ""},
        {"PolySize 0 1 1 1", QVL::PROG_POLYSIZE, {0, 0, 1, 1, 1}, {0, 0, -1, -1, -1}, ""},
        {"PolyLight 0 1", QVL::PROG_POLYLIGHT, {0, 0, 1, 0, 0}, {0, 0, -1, 0, 0}, ""},
        {"PolyMotion 1 b", QVL::PROG_POLYMOTION, {0, 1, N, 0, 0}, {0, 0, 1, 0, 0}, ""},
        {"PolyVB 1 3", QVL::PROG_POLYVB, {0, 1, 3, 0, 0}, {0, 0, -1, 0, 0}, ""},
        {"CameraS 0 a -50", QVL::PROG_CAMERAS, {0, 0, N, -50, 0}, {0, -1, 0, -1, 0}, ""},
        {"CameraE 1 2 3", QVL::PROG_CAMERAE, {0, 1, 2, 3, 0}, {0, -1, -1, -1, 0}, ""},
        {"LightPos -500 500 -500", QVL::PROG_LIGHTPOS, {0, -500, 500, -500, 0}, {0, -1, -1, -1, 0}, ""},
        {"Key Space", QVL::PROG_KEY, {0, 32, 4, 0, 0}, {0, 0, 0, 0, 0}, ""},
        {"Folder C:\\pics", QVL::PROG_FOLDER, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, "C:\\pics"},
        {"Go *L", QVL::PROG_GO, {0, 3, 0, 0, 0}, {0, 0, 0, 0, 0}, ""},
        {"ScreenDraw", QVL::PROG_SCREENDRAW, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, ""},
        {"Var c", QVL::PROG_VAR, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, ""},
        {"", QVL::PROG_NOTHING, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, ""},
        {"End", QVL::PROG_NOTHING, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, ""},
        {"hello world", QVL::PROG_NOTHING, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, ""},
        {"var a", QVL::PROG_NOTHING, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, ""},   // keywords are case-sensitive
    };
    for (const auto& c : cases) {
        const bool block = c.cmd == QVL::PROG_IF || c.cmd == QVL::PROG_KEY;
        ASSERT_TRUE(Compile(std::string("Var a\nVar b\n") + c.line + "\n*L\n" + (block ? "End\n" : "")));
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.cmd, B().command[2]);
        for (int k = 0; k < 5; ++k) {
            if (c.f[k] != N) {
                EXPECT_EQ(c.f[k], B().f[2][k]) << "f" << k;
            }
            if (c.r[k] != -9) {
                EXPECT_EQ(c.r[k], B().r[2][k]) << "r" << k;
            }
            EXPECT_EQ(0, B().n[2][k]);
        }
        EXPECT_STREQ(c.text, B().text[2]);
    }
    EXPECT_EQ(QVL::PROG_LABEL, B().command[3]);
    EXPECT_EQ(3, vm->varCount);
}

TEST_F(Compiler, Errors)
{
    std::string many;
    for (int i = 0; i < 1001; ++i) many += "ScreenDraw\n";
    std::string vars;
    for (int i = 0; i < 101; ++i) vars += "Var v" + std::to_string(i) + "\n";
    std::string labels;
    for (int i = 0; i < 101; ++i) labels += "*l" + std::to_string(i) + "\n";
    const struct {
        std::string src;
        const char* errors;
    } cases[] = {
        {"Var x\nx = x + 1\nScreenDraw\n", ""},
        {many, "1001:1001行目: プログラムは 1000 行までです。ここから後は読み込まれません。\n"},
        {vars, "101:101行目: 変数は 100 個までです。v100 は宣言されません。\n"},
        {labels, "101:101行目: ラベルは 100 個までです。*l100 は登録されません。\n"},
        {"y = 5\n", "1:1行目: 変数 y は宣言されていません。\n"},
        {"Var x\nx = y + 1\n", "2:2行目: 変数 y は宣言されていません。\n"},
        {"Var x\nx = y\n", "2:2行目: y は数値ではありません。\n"},
        {"Var x\nx = x + -3\n", "2:2行目: この式は計算できません。\n"},
        {"Var x\nx = x ^ 2\n", "2:2行目: この式は計算できません。\n"},
        {"Go *nowhere\n", "1:1行目: ラベル *nowhere がありません。\n"},
        {"If 1 = 1\n", "1:1行目: If に対応する End がありません。\n"},
        {"Key Space\nKey A\nEnd\n", "1:1行目: Key に対応する End がありません。\n"},
        {"End\n", "1:1行目: End に対応する If または Key がありません。\n"},
        {"Key Foo\nEnd\n", "1:1行目: キー名 Foo はありません。\n"},
        {"If 1 ! 2\nEnd\n", "1:1行目: 比較 ! は使えません (=, >, < のどれかです)。\n"},
        {"ImgDraw x 1 2\n", "1:1行目: x は整数ではありません。\n"},
        {"ImgLoad\n", "1:1行目: ImgLoad の引数が足りません。\n"},
        {"PolyPos 1 2\n", "1:1行目: PolyPos の引数が足りません。\n"},
    };
    for (const auto& c : cases) {
        Vm_Create();
        vm = g_Vm;
        Vm_AllocBlock(vm, 0);
        ASSERT_TRUE(Compile(c.src));
        EXPECT_EQ(c.errors, Errors()) << c.src.substr(0, 40);
    }
    // The tables were not written past: the last of each is still the 100th.
    ASSERT_TRUE(Compile(vars + labels));
    EXPECT_EQ(100, vm->varCount);
    EXPECT_STREQ("v99", vm->varNames[99]);
    EXPECT_EQ(100, vm->labelCount);
    EXPECT_STREQ("*l99", vm->labelNames[99]);
}

TEST_F(Compiler, FaultyLinesGetDefinedEncodings)
{
    ASSERT_TRUE(Compile("y = 5\nGo *missing\nIf 1 ! 2\nEnd\nPolyPos\n"));
    EXPECT_EQ(QVL::PROG_NOTHING, B().command[0]);   // never a write to variable -1
    EXPECT_EQ(QVL::PROG_NOTHING, B().command[1]);   // never a jump to line -1
    EXPECT_EQ(QVL::PROG_IF, B().command[2]);
    EXPECT_EQ(0.0f, B().f[2][2]);
    EXPECT_EQ(3.0f, B().f[2][4]);
    EXPECT_EQ(QVL::PROG_POLYPOS, B().command[4]);   // missing operands read as 0
    for (int k = 0; k < 5; ++k) EXPECT_EQ(0.0f, B().f[4][k]);
    EXPECT_EQ(-1, B().r[4][2]);
}

TEST_F(Compiler, IfKeyEndNesting)
{
    // line: 0 If, 1 Key, 2 If, 3 End, 4 End, 5 x, 6 End, 7 Key, 8 End
    ASSERT_TRUE(Compile("If 1 = 1\n Key Space\n  If 2 > 1\n  End\n End\n x\nEnd\nKey A\nEnd\n"));
    EXPECT_EQ("", Errors());
    EXPECT_EQ(6.0f, B().f[0][4]);   // the outer If closes at its own End, not the first one
    EXPECT_EQ(4.0f, B().f[1][2]);
    EXPECT_EQ(3.0f, B().f[2][4]);
    EXPECT_EQ(8.0f, B().f[7][2]);

    // Without an End the target is two lines on, even past the end.
    ASSERT_TRUE(Compile("Key Q\nScreenDraw\n"));
    EXPECT_EQ(2.0f, B().f[0][2]);
}

TEST_F(Compiler, LinesAsRead)
{
    // A line of 300 characters continues as a second program line.
    const std::string longLine = "Font 1 2 " + std::string(291, 'a');
    ASSERT_TRUE(Compile(longLine + "\nScreenDraw"));
    EXPECT_EQ(3, B().lineCount);
    EXPECT_EQ(QVL::PROG_FONT, B().command[0]);
    EXPECT_EQ(255u, std::strlen(B().text[0]) + 9);
    EXPECT_EQ(QVL::PROG_SCREENDRAW, B().command[2]);

    // CR LF is one newline: the keyword still matches.
    ASSERT_TRUE(Compile("Var x\r\nScreenDraw\r\n"));
    EXPECT_EQ(2, B().lineCount);
    EXPECT_EQ(QVL::PROG_SCREENDRAW, B().command[1]);

    // Two labels of one name: the first wins.
    ASSERT_TRUE(Compile("\n\n\n*a\n\n\n\n\n\n*a\nGo *a\n"));
    EXPECT_EQ(QVL::PROG_LABEL, B().command[9]);
    EXPECT_EQ(3.0f, B().f[10][1]);
    EXPECT_EQ(1, vm->labelCount);
}

TEST_F(Compiler, VariablesOutliveACompilation)
{
    // Used before its Var line, a name reads as a literal in the first compilation only.
    ASSERT_TRUE(Compile("x = 4\nVar x\n"));
    EXPECT_EQ(QVL::PROG_NOTHING, B().command[0]);
    ASSERT_TRUE(Compile("x = 4\nVar x\n"));
    EXPECT_EQ(QVL::PROG_ASSIGN, B().command[0]);
    EXPECT_EQ("", Errors());
    ASSERT_TRUE(Compile("ScreenDraw\n"));
    EXPECT_EQ(1, vm->varCount);
    EXPECT_EQ(QVL::PROG_NOTHING, B().command[1]);   // the block was cleared
}

TEST_F(Compiler, QvsSizesOfCompiledPrograms)
{
    const struct {
        const char* src;
        size_t size;
    } cases[] = {{"", 24}, {"ScreenDraw", 92}, {"Var x\nScreenDraw\n", 173}};
    for (const auto& c : cases) {
        Vm_Create();
        vm = g_Vm;
        Vm_AllocBlock(vm, 0);
        ASSERT_TRUE(Compile(c.src));
        QVL::ByteWriter w;
        Qvs_Write(*vm, w);
        EXPECT_EQ(c.size, w.Size()) << c.src;
    }
}

TEST_F(Compiler, NoBlockNoCompile)
{
    QVL::VM empty{};
    EXPECT_FALSE(Prog_CompileText(g_ProgCompiler, empty, "ScreenDraw", 10));
}

} // namespace
