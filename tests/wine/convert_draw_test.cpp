// Every format the loader reads draws in the view: a square of each, loaded from its file, placed
// before the camera and rendered into a target of the test's own.
#include <windows.h>
#include <d3d9.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "convert/lwo_file.h"
#include "convert/mx_file.h"
#include "convert/x_file.h"
#include "frame/lib.h"
#include "frame/win32/app_frame.h"
#include "model/gpu_update.h"
#include "model/model_load.h"
#include "model/model_table.h"
#include "model/scene_object.h"
#include "render/camera.h"
#include "render/frame_render.h"
#include "wine/support/render_target.h"
#include "wine/support/wine_frame.h"

using namespace QVL;

namespace {

std::string Folder()
{
    char cur[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cur);
    std::string dir = std::string(cur) + "\\convert_draw";
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

bool WriteText(const std::string& path, const std::string& text)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    return true;
}

// A square of side `s` around the origin in the z = 0 plane.
MODEL3* Square(float s)
{
    MODEL3* m = Model3_Alloc();
    const float p[4][2] = {{-s, -s}, {s, -s}, {s, s}, {-s, s}};
    FACE3 f = {};
    f.cornerCount = 4;
    for (int i = 0; i < 4; ++i) {
        m->positions.push_back(XYZ{p[i][0], p[i][1], 0});
        f.corners[i][CORNER_POS] = f.corners[i][CORNER_COLOR] = f.corners[i][CORNER_UV] = i;
        m->colors.push_back(RGBA{250, 250, 250, 255});
        m->uvs.push_back(UV2{0, 0});
    }
    m->normals.push_back(XYZ{0, 0, -1});
    m->positionCount = m->colorCount = m->uvCount = 4;
    m->normalCount = 1;
    m->faces.assign(1, f);
    m->faceCount = 1;
    Model3_FitArrays(m);
    return m;
}

std::string RokSquare()
{
    std::string t = "ROK\r\nPOINT\r\n";
    const char* pts[4] = {"-0.1\r\n-0.1\r\n0", "0.1\r\n-0.1\r\n0", "0.1\r\n0.1\r\n0", "-0.1\r\n0.1\r\n0"};
    for (int i = 0; i < 4; ++i) t += std::to_string(i + 1) + "\r\n0\r\n0\r\n0\r\n0\r\n" + pts[i] + "\r\n";
    t += "LINE0\r\n1\r\n2\r\n0\r\n0\r\n2\r\n3\r\n0\r\n0\r\n3\r\n4\r\n0\r\n0\r\n4\r\n1\r\n0\r\n0\r\n";
    t += "FACE0\r\n4\r\n0\r\n1\r\n1\r\n2\r\n3\r\n4\r\nEND00\r\nPALC0\r\n13\r\n0\r\n";
    for (int i = 0; i < 13; ++i) t += "255\r\n255\r\n255\r\n255\r\n255\r\n255\r\n0\r\n";
    return t + "ENDP0\r\n";
}

std::string DxfSquare()
{
    return "  0\nSECTION\n  2\nENTITIES\n  0\n3DFACE\n  8\n0\n"
           " 10\n-1\n 20\n-1\n 30\n0\n 11\n1\n 21\n-1\n 31\n0\n 12\n1\n 22\n1\n 32\n0\n 13\n-1\n 23\n1\n 33\n0\n"
           "  0\nENDSEC\n  0\nEOF\n";
}

std::string MqoSquare()
{
    return "Metasequoia Document\r\nFormat Text Ver 1.0\r\n\r\nMaterial 1 {\r\n\t\"m\" col(1.000 1.000 1.000 1.000)\r\n}\r\n"
           "Object \"o\" {\r\n\tvertex 4 {\r\n\t\t-10 -10 0\r\n\t\t10 -10 0\r\n\t\t10 10 0\r\n\t\t-10 10 0\r\n\t}\r\n"
           "\tface 1 {\r\n\t\t4 V(0 1 2 3) M(0)\r\n\t}\r\n}\r\nEof\r\n";
}

class ConvertDraw : public testing::Test {
protected:
    void SetUp() override
    {
        // Objects other tests left behind stay out of these frames.
        ASSERT_TRUE(WineScene_Begin(scene_, 0, 0, -15));
    }
    void TearDown() override
    {
        WineScene_End(scene_);
    }
    WINE_SCENE scene_;
};

TEST_F(ConvertDraw, EveryFormatDrawsItsSquare)
{
    const std::string dir = Folder();
    MODEL3* one = Square(1.0f);
    MODEL3* five = Square(5.0f);   // the .x writer divides by 5
    std::vector<uint8_t> lwo, mx, x;
    ASSERT_TRUE(Lwo_Write(one, lwo));
    ASSERT_TRUE(Mx_Write(one, mx));
    ASSERT_TRUE(X_Write(five, x));
    Model3_Free(one);
    Model3_Free(five);
    struct Case { const char* name; std::string bytes; } cases[] = {
        {"sq.rok", RokSquare()}, {"sq.dxf", DxfSquare()}, {"sq.mqo", MqoSquare()},
        {"sq.lwo", std::string(lwo.begin(), lwo.end())}, {"sq.mx", std::string(mx.begin(), mx.end())},
        {"sq.x", std::string(x.begin(), x.end())},
    };
    Target t;
    ASSERT_TRUE(t.Ok());
    int32_t object = ObjectCreate();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir + "\\" + c.name;
        ASSERT_TRUE(WriteText(path, c.bytes));
        const int32_t id = Model3_Load(-1, path.c_str());
        ASSERT_GE(id, 0);
        MODEL3* m = Model3_GetById(id);
        EXPECT_EQ(1 + (c.name[3] == 'x' ? 1 : 0), m->faceCount);   // .x: the quad's two triangles
        for (GROUP3& g : m->groups) g.doubleSided = 1;   // either winding faces the camera
        Model3_SetRenderKind(m, 0);
        OBJECT* o = Object_GetById(object);
        o->modelId = id;
        o->cullTest = 0;
        Object_SetPosition(o, 0, 0, 0);
        Object_SetVisible(o, 1);
        Anim_UpdateModels();
        Render_Frame();
        t.Invalidate();   // a new picture for every format
        VEC3 centre;
        Render_ProjectToScreen(&centre, 0, 0, 0);
        EXPECT_NE(0u, t.At((int)centre.x, (int)centre.y)) << "nothing drawn";
        Object_SetVisible(o, 0);
        Model3_Release(id);
    }
    Model3_ProcessReleases();
}

} // namespace
