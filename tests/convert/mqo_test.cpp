// The MQO importer on a small document written by hand from the format's description.
#include "convert/mqo_import.h"
#include "convert_fixture.h"

namespace {

// Two materials (the first textured), two objects of four vertices, faces of 2 to 5 corners.
std::string SampleMqo(const char* eol = "\r\n", const char* version = "1.0")
{
    std::string lines[] = {
        "Metasequoia Document",
        std::string("Format Text Ver ") + version,
        "",
        "Scene {",
        "\tpos 0.0000 0.0000 1500.0000",
        "}",
        "Material 2 {",
        "\t\"wood\" shader(3) col(1.000 0.500 0.250 1.000) dif(0.800) tex(\"C:\\maps\\\x95\\x.bmp\")",
        "\t\"plain\" col(1 0.5 0.25 0.5)",
        "}",
        "Object \"first\" {",
        "\tvisible 15",
        "\tvertex 4 {",
        "\t\t1.0000 2.0000 3.0000",
        "\t\t10.0000 0.0000 0.0000",
        "\t\t10.0000 10.0000 0.0000",
        "\t\t0.0000 10.0000 0.0000",
        "\t}",
        "\tface 3 {",
        "\t\t3 V(0 1 2) M(0) UV(0.00000 0.00000 1.00000 0.00000 1.00000 1.00000)",
        "\t\t4 V(0 1 2 3) M(1) UV(0 0 1 0 1 1 0 1)",
        "\t\t2 V(0 3)",
        "\t}",
        "}",
        "Object \"second\" {",
        "\tmirror 1",
        "\tvertexattr {",
        "\t\tweit {",
        "\t\t}",
        "\t}",
        "\tvertex 4 {",
        "\t\t0 0 0",
        "\t\t1 0 0",
        "\t\t1 1 0",
        "\t\t0 1 0",
        "\t}",
        "\tface 2 {",
        "\t\t5 V(0 1 2 3 0) M(-1)",
        "\t\t3 V(3 2 1) M(0)",
        "\t}",
        "\tBVertex 1 {",
        "\t\tVector 1 [12] {",
        "\t\t\t0 0 0",
        "\t\t}",
        "\t}",
        "}",
        "Eof",
    };
    std::string out;
    for (const std::string& l : lines) out += l + eol;
    return out;
}

class MqoImport : public ConvertTest {};

TEST_F(MqoImport, MaterialsObjectsAndFaces)
{
    for (const char* eol : {"\r\n", "\n"}) {
        for (const char* version : {"1.0", "1.1"}) {
            SCOPED_TRACE(std::string(version) + (eol[0] == '\n' ? " LF" : " CRLF"));
            Model3_ReleaseAll();
            Rec().Clear();
            MODEL3* m = LoadAs("a.mqo", Bytes(SampleMqo(eol, version)));
            ASSERT_NE(nullptr, m);
            EXPECT_TRUE(Rec().messageBoxes.empty());
            EXPECT_EQ(8, m->positionCount);
            EXPECT_FLOAT_EQ(0.1f, m->positions[0].x);
            EXPECT_FLOAT_EQ(0.2f, m->positions[0].y);
            EXPECT_FLOAT_EQ(-0.3f, m->positions[0].z);
            // 3 + 4 + 2 corners, then a pentagon in three triangles and a triangle.
            ASSERT_EQ(7, m->faceCount);
            const int corners[7] = {3, 4, 2, 3, 3, 3, 3};
            for (int f = 0; f < 7; ++f) EXPECT_EQ(corners[f], m->faces[(size_t)f].cornerCount) << f;
            // The second object's faces point past the first object's positions.
            EXPECT_EQ(4, m->faces[3].corners[0][CORNER_POS]);
            EXPECT_EQ(6, m->faces[4].corners[1][CORNER_POS]);
            EXPECT_EQ(7, m->faces[5].corners[1][CORNER_POS]);
            EXPECT_EQ(7, m->faces[6].corners[0][CORNER_POS]);
            // M(-1) is no material; groups from the materials.
            EXPECT_EQ(0, m->faces[3].group);
            EXPECT_EQ(1, m->faces[1].group);
            EXPECT_STREQ("wood", m->groups[0].name);
            EXPECT_FLOAT_EQ(127.5f, m->groups[0].color[1]);
            // Colours read as numbers, however they are written.
            EXPECT_FLOAT_EQ(63.75f, m->groups[1].color[2]);
            EXPECT_FLOAT_EQ(127.5f, m->groups[1].alpha);
            EXPECT_EQ(1, m->groups[1].mirror);
            EXPECT_EQ(2, m->groupCount);
            EXPECT_EQ(10, m->groups[0].uvMapping);
            // The texture's name after the last folder: the CP932 character ending in 0x5C stays whole.
            EXPECT_EQ(1, m->groups[0].texture);
            EXPECT_EQ(2, m->textureCount);
            EXPECT_STREQ("\x95\\x.bmp", m->textures[1].file);
            // Textured faces get their own UVs; the untextured quad and the faces without UV use UV 0.
            EXPECT_EQ(1, m->faces[0].corners[0][CORNER_UV]);
            EXPECT_EQ(3, m->faces[0].corners[2][CORNER_UV]);
            EXPECT_EQ(1.0f, m->uvs[3].u);
            EXPECT_EQ(1.0f, m->uvs[3].v);
            EXPECT_EQ(0, m->faces[1].corners[2][CORNER_UV]);
            // The textured triangle without a UV token gets (0, 0), not the last line's pairs.
            EXPECT_EQ(0.0f, m->uvs[(size_t)m->faces[6].corners[2][CORNER_UV]].u);
            EXPECT_EQ(1, m->colorCount);
        }
    }
}

TEST_F(MqoImport, RefusedDocuments)
{
    struct Case { const char* find; const char* put; } cases[] = {
        {"Metasequoia Document", "Metasequoia Documents"},
        {"Ver 1.0", "Ver 2.0"},
        {"V(0 1 2) M(0)", "V(0 1 4) M(0)"},        // vertex beyond the object
        {"V(3 2 1) M(0)", "V(3 2 1) M(300)"},      // material beyond the groups
        {"4 V(0 1 2 3)", "4 V(0 1 2)"},            // fewer numbers than corners
        {"10.0000 10.0000 0.0000", "10.0000 ten 0.0000"},
        {"col(1 0.5 0.25 0.5)", "col(1 0.5 0.25)"},
        {"vertex 4 {\r\n\t\t0 0 0", "vertex 5 {\r\n\t\t0 0 0"},   // the list runs into the "}"
        {"Eof", "Object \"cut\" {\r\n\tvertex 9 {"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.put);
        std::string text = SampleMqo();
        size_t at = text.find(c.find);
        ASSERT_NE(std::string::npos, at);
        text.replace(at, std::strlen(c.find), c.put);
        ExpectRefusedKeepsModel("bad.mqo", Bytes(text), "MQO");
    }
}

TEST_F(MqoImport, TokensKeepParenthesesAndQuotes)
{
    std::string line = "\t\"a b\" col(1 2 3 4)\tV(0  1) x\r\n";
    std::vector<std::string> got;
    std::string t;
    size_t pos = 0;
    while (Mqo_NextToken(line, pos, t)) got.push_back(t);
    EXPECT_EQ((std::vector<std::string>{"a b", "col(1 2 3 4)", "V(0  1)", "x"}), got);
}

} // namespace
