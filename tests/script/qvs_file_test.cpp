// The QVS file: sizes fixed by the layout, and the bytes of each field in order.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "frame/bytes.h"
#include "script/prog.h"
#include "script/qvs_file.h"

namespace {

struct QvsFile : testing::Test {
    QVL::VM* vm = nullptr;
    void SetUp() override
    {
        vm = Vm_Create();
        Vm_AllocBlock(vm, 0);
    }
    void TearDown() override { Vm_Free(); }
    QVL::PROG_BLOCK& B() { return *vm->blocks[0]; }
    std::vector<uint8_t> Bytes()
    {
        QVL::ByteWriter w;
        Qvs_Write(*vm, w);
        return w.Data();
    }
    void Declare(const char* name, float value)
    {
        std::strcpy(vm->varNames[vm->varCount], name);
        vm->varValues[vm->varCount++] = value;
    }
};

TEST_F(QvsFile, GoldenSizes)
{
    EXPECT_EQ(24u, Bytes().size());   // no lines, no variables

    B().lineCount = 1;
    B().command[0] = QVL::PROG_SCREENDRAW;
    EXPECT_EQ(92u, Bytes().size());

    Declare("x", 0.0f);
    B().lineCount = 2;
    B().command[0] = QVL::PROG_VAR;
    B().command[1] = QVL::PROG_SCREENDRAW;
    EXPECT_EQ(173u, Bytes().size());
}

TEST_F(QvsFile, FieldsInOrder)
{
    Declare("ab", 1.5f);
    vm->varKinds[vm->varCount] = 1;   // a text variable writes its text
    std::strcpy(vm->varNames[vm->varCount], "t");
    std::strcpy(vm->varTexts[vm->varCount++], "hi");
    vm->varKinds[vm->varCount] = 7;   // an unknown kind writes nothing more
    std::strcpy(vm->varNames[vm->varCount++], "u");
    B().lineCount = 1;
    B().command[0] = QVL::PROG_ARITH;
    B().f[0][3] = 1.0f;
    std::strcpy(B().text[0], "p.bmp");
    B().r[0][0] = 0;
    B().r[0][2] = -1;

    const std::vector<uint8_t> d = Bytes();
    QVL::ByteReader r(d.data(), d.size());
    char magic[5] = {};
    int32_t version = 0, vars = 0, kind = 0, blocks = 0, lines = 0, cmd = 0;
    float value = 0;
    char s[256];
    ASSERT_TRUE(r.Bytes(magic, 4));
    EXPECT_STREQ("QVS ", magic);
    r.I32(version);
    EXPECT_EQ(2003050, version);
    r.I32(vars);
    EXPECT_EQ(3, vars);
    r.Str(s, sizeof s);
    EXPECT_STREQ("ab", s);
    r.I32(kind);
    r.F32(value);
    EXPECT_EQ(0, kind);
    EXPECT_EQ(1.5f, value);
    r.Str(s, sizeof s);
    r.I32(kind);
    EXPECT_EQ(1, kind);
    r.Str(s, sizeof s);
    EXPECT_STREQ("hi", s);
    r.Str(s, sizeof s);
    EXPECT_STREQ("u", s);
    r.I32(kind);
    EXPECT_EQ(7, kind);
    r.I32(blocks);
    EXPECT_EQ(1, blocks);
    r.Str(s, sizeof s);
    EXPECT_STREQ("", s);
    r.I32(lines);
    EXPECT_EQ(1, lines);
    r.I32(cmd);
    EXPECT_EQ(QVL::PROG_ARITH, cmd);
    float f[5];
    r.F32s(f, 5);
    EXPECT_EQ(1.0f, f[3]);
    r.Str(s, sizeof s);
    EXPECT_STREQ("p.bmp", s);
    int32_t ints[5], refs[5];
    r.I32s(ints, 5);
    r.I32s(refs, 5);
    EXPECT_EQ(0, refs[0]);
    EXPECT_EQ(-1, refs[2]);
    ASSERT_TRUE(r.Ok());
    EXPECT_TRUE(r.AtEnd());
}

TEST_F(QvsFile, CountsBeyondTheTablesWriteOnlyWhatTheyHold)
{
    B().lineCount = 5000;
    vm->varCount = 500;
    const std::vector<uint8_t> d = Bytes();
    EXPECT_EQ(24u + 100u * 12u + 1000u * 68u, d.size());
}

TEST_F(QvsFile, ResetZeroesValuesButKeepsNames)
{
    Declare("x", 3.0f);
    vm->curLine = 7;
    vm->callDepth = 2;
    vm->callLines[1] = 9;
    Vm_Reset(vm);
    EXPECT_EQ(1, vm->varCount);
    EXPECT_STREQ("x", vm->varNames[0]);
    EXPECT_EQ(0.0f, vm->varValues[0]);
    EXPECT_EQ(0, vm->curLine);
    EXPECT_EQ(0, vm->callDepth);
    EXPECT_EQ(0, vm->callLines[1]);
}

} // namespace
