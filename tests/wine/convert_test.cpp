// Converters in the studio's own build: our binary .x writer read back by Wine's D3DX, and the
// LWO and MX files through the model loader.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "convert/lwo_file.h"
#include "convert/mx_file.h"
#include "convert/x_file.h"
#include "frame/text.h"
#include "model/model_load.h"
#include "model/model_table.h"
#include "wine/support/wine_frame.h"

using namespace QVL;

namespace {

std::string Folder()
{
    char cur[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cur);
    std::string dir = std::string(cur) + "\\convert_test";
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

// A quad (group 0) and a triangle (group 1) with their own UVs, normals and colours.
int32_t QuadAndTriangle()
{
    int32_t id = Model3_Create();
    MODEL3* m = Model3_GetById(id);
    const float p[7][3] = {{5, 10, -15}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {20, 0, 5}, {25, 0, 5}, {25, 5, 5}};
    for (int i = 0; i < 7; ++i) {
        m->positions.push_back(XYZ{p[i][0], p[i][1], p[i][2]});
        m->uvs.push_back(UV2{0.125f * (float)i, 1.0f - 0.125f * (float)i});
        m->colors.push_back(RGBA{(float)(i * 30), 100, 50, 255});
    }
    m->normals.push_back(XYZ{0, 0, 1});
    m->positionCount = m->uvCount = m->colorCount = 7;
    m->normalCount = 1;
    FACE3 q = {}, t = {};
    q.cornerCount = 4;
    t.cornerCount = 3;
    t.group = 1;
    for (int c = 0; c < 4; ++c) q.corners[c][CORNER_POS] = q.corners[c][CORNER_UV] = q.corners[c][CORNER_COLOR] = c;
    for (int c = 0; c < 3; ++c) t.corners[c][CORNER_POS] = t.corners[c][CORNER_UV] = t.corners[c][CORNER_COLOR] = 4 + c;
    m->faces = {q, t};
    m->faceCount = 2;
    m->groupCount = 2;
    Model3_FitArrays(m);
    return id;
}

TEST(Convert, WineD3dxReadsOurBinaryXFile)
{
    ASSERT_TRUE(WineFrame_Ensure());
    int32_t id = QuadAndTriangle();
    MODEL3* src = Model3_GetById(id);
    src->textures[1].used = 1;
    Str_CopyN(src->textures[1].file, sizeof src->textures[1].file, "skin.bmp");
    std::string path = Folder() + "\\quad.x";
    ASSERT_EQ(1, X_Export(id, path.c_str()));

    int32_t back = Model3_Load(-1, path.c_str());
    ASSERT_GE(back, 0);
    MODEL3* r = Model3_GetById(back);
    // The quad fanned into (0, 1, 2) and (0, 2, 3), the triangle as it is: 9 vertices.
    ASSERT_EQ(3, r->faceCount);
    ASSERT_EQ(9, r->positionCount);
    const int corners[9] = {0, 1, 2, 0, 2, 3, 4, 5, 6};
    for (int f = 0; f < 3; ++f) {
        for (int k = 0; k < 3; ++k) {
            const int32_t i = r->faces[(size_t)f].corners[k][CORNER_POS];
            ASSERT_GE(i, 0);
            ASSERT_LT(i, 9);
            const XYZ a = src->positions[(size_t)corners[f * 3 + k]], b = r->positions[(size_t)i];
            // Positions / 5 on the way out, unchanged on the way in.
            EXPECT_FLOAT_EQ(a.x / 5.0f, b.x) << f << " " << k;
            EXPECT_FLOAT_EQ(a.y / 5.0f, b.y) << f << " " << k;
            EXPECT_FLOAT_EQ(a.z / 5.0f, b.z) << f << " " << k;
            const UV2 u = src->uvs[(size_t)corners[f * 3 + k]], v = r->uvs[(size_t)r->faces[(size_t)f].corners[k][CORNER_UV]];
            EXPECT_EQ(u.u, v.u);
            EXPECT_EQ(u.v, v.v);
            EXPECT_EQ(0, r->faces[(size_t)f].group);   // one material
        }
    }
    EXPECT_EQ(1, r->groupCount);
    EXPECT_EQ(1, r->groups[0].texture);
    EXPECT_STREQ("skin.bmp", r->textures[1].file);
    EXPECT_STREQ("skin", r->groups[0].name);
    EXPECT_EQ(255.0f, r->groups[0].color[0]);
    Model3_Release(id);
    Model3_Release(back);
}

// A text .x file written by hand from the format's description: no normals (so the mesh is cloned
// to our vertex format), two materials, vertex colours of which one has alpha 0.
TEST(Convert, HandWrittenXFile)
{
    ASSERT_TRUE(WineFrame_Ensure());
    const char text[] =
        "xof 0303txt 0032\n"
        "Mesh {\n 4;\n 0.0;0.0;0.0;,\n 1.0;0.0;0.0;,\n 1.0;1.0;0.0;,\n 0.0;1.0;0.0;;\n"
        " 2;\n 3;0,1,2;,\n 3;0,2,3;;\n"
        " MeshMaterialList {\n  2;\n  2;\n  1,\n  0;;\n"
        "  Material {\n   1.0;0.0;0.0;1.0;;\n   0.0;\n   0.0;0.0;0.0;;\n   0.0;0.0;0.0;;\n  }\n"
        "  Material {\n   0.0;0.5;1.0;1.0;;\n   0.0;\n   0.0;0.0;0.0;;\n   0.0;0.0;0.0;;\n"
        "   TextureFilename {\n    \"wood.bmp\";\n   }\n  }\n }\n"
        " MeshVertexColors {\n  2;\n  0;0.2;0.4;0.6;0.0;;,\n  2;0.2;0.4;0.6;1.0;;;\n }\n"
        "}\n";
    std::string path = Folder() + "\\hand.x";
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, f);
    std::fwrite(text, 1, sizeof text - 1, f);
    std::fclose(f);
    int32_t id = Model3_Load(-1, path.c_str());
    ASSERT_GE(id, 0);
    MODEL3* m = Model3_GetById(id);
    ASSERT_EQ(2, m->faceCount);
    EXPECT_EQ(4, m->positionCount);
    EXPECT_EQ(2, m->groupCount);
    EXPECT_EQ(255.0f, m->groups[0].color[0]);
    EXPECT_EQ(0, m->groups[0].texture);
    EXPECT_EQ(1, m->groups[1].texture);
    EXPECT_STREQ("wood", m->groups[1].name);
    EXPECT_STREQ("wood.bmp", m->textures[1].file);
    // The first face uses material 1, the second material 0.
    int groups[2] = {-1, -1};
    for (int i = 0; i < 2; ++i) {
        const FACE3& face = m->faces[(size_t)i];
        XYZ b = m->positions[(size_t)face.corners[1][CORNER_POS]];
        groups[b.y == 0.0f ? 0 : 1] = face.group;
    }
    EXPECT_EQ(1, groups[0]);
    EXPECT_EQ(0, groups[1]);
    for (int32_t i = 0; i < m->positionCount; ++i) {
        const XYZ p = m->positions[(size_t)i];
        const RGBA c = m->colors[(size_t)i];
        if (p.x == 0 && p.y == 0) EXPECT_EQ(255.0f, c.g) << "alpha 0 reads as white";
        if (p.x == 1 && p.y == 1) EXPECT_EQ(102.0f, c.g);
    }
    // Normals made by the model, not read.
    EXPECT_GT(m->normalCount, 0);
    Model3_Release(id);
}

TEST(Convert, LwoAndMxThroughTheLoader)
{
    int32_t id = QuadAndTriangle();
    MODEL3* src = Model3_GetById(id);
    const std::string names[2] = {Folder() + "\\pair.lwo", Folder() + "\\pair.mx"};
    ASSERT_EQ(1, Lwo_Export(id, names[0].c_str()));
    ASSERT_EQ(1, Mx_Export(id, names[1].c_str()));
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        int32_t back = Model3_Load(-1, name.c_str());
        ASSERT_GE(back, 0);
        MODEL3* r = Model3_GetById(back);
        ASSERT_EQ(2, r->faceCount);
        const FACE3& f = r->faces[1];
        XYZ p = r->positions[(size_t)f.corners[1][CORNER_POS]];
        EXPECT_NEAR(src->positions[5].x, p.x, 1e-4);
        EXPECT_NEAR(src->positions[5].z, p.z, 1e-4);
        Model3_Release(back);
    }
    Model3_Release(id);
}

} // namespace
