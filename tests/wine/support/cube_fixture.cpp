#include "wine/support/cube_fixture.h"

#include <cstdio>

#include "frame/bytes.h"
#include "model/model3.h"
#include "model/model_table.h"
#include "model/qvp_file.h"

using namespace QVL;

// A 4 x 4 24-bit BMP of one colour.
bool WineCube_WriteBmp(const std::string& path, uint32_t texel)
{
    ByteWriter b;
    b.U16(0x4D42);
    b.U32(54 + 48);
    b.U32(0);
    b.U32(54);
    b.U32(40);
    b.I32(4);
    b.I32(4);
    b.U16(1);
    b.U16(24);
    b.U32(0);
    b.U32(48);
    b.I32(2835);
    b.I32(2835);
    b.U32(0);
    b.U32(0);
    for (int i = 0; i < 16; ++i) {
        b.U8((uint8_t)texel);
        b.U8((uint8_t)(texel >> 8));
        b.U8((uint8_t)(texel >> 16));
    }
    return File_WriteAll(path.c_str(), b);
}

// A unit cube of six quads, each clockwise seen from outside (the device culls counter-clockwise
// triangles), every quad with its own corners and UVs 0..1, textured from entry 1 (textureFile, beside the QVP).
bool WineCube_WriteQvp(const std::string& path, const char* textureFile)
{
    MODEL3* m = Model3_Alloc();
    const float normals[6][3] = {{0, 0, -1}, {0, 0, 1}, {1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}};
    const float uv[4][2] = {{0, 1}, {0, 0}, {1, 0}, {1, 1}};
    m->colors.assign(1, RGBA{255, 255, 255, 255});
    m->normals.assign(1, XYZ{0, 0, -1});
    for (int f = 0; f < 6; ++f) {
        const float* n = normals[f];
        float b[3] = {0, 1, 0};
        if (n[1] != 0) b[0] = 0, b[1] = 0, b[2] = 1;
        // a = n x b, so a x b = -n: corners -a-b, -a+b, a+b, a-b turn clockwise seen from outside.
        float a[3] = {n[1] * b[2] - n[2] * b[1], n[2] * b[0] - n[0] * b[2], n[0] * b[1] - n[1] * b[0]};
        const float s[4][2] = {{-1, -1}, {-1, 1}, {1, 1}, {1, -1}};
        FACE3 face = {};
        face.cornerCount = 4;
        for (int c = 0; c < 4; ++c) {
            XYZ p;
            p.x = 0.5f * (n[0] + s[c][0] * a[0] + s[c][1] * b[0]);
            p.y = 0.5f * (n[1] + s[c][0] * a[1] + s[c][1] * b[1]);
            p.z = 0.5f * (n[2] + s[c][0] * a[2] + s[c][1] * b[2]);
            int32_t i = (int32_t)m->positions.size();
            m->positions.push_back(p);
            m->uvs.push_back(UV2{uv[c][0], uv[c][1]});
            face.corners[c][CORNER_POS] = i;
            face.corners[c][CORNER_UV] = i;
        }
        face.group = 0;
        m->faces.push_back(face);
    }
    m->positionCount = m->uvCount = 24;
    m->colorCount = m->normalCount = 1;
    m->faceCount = 6;
    m->groupCount = 1;
    m->textureCount = 2;
    m->textures[1].used = 1;
    snprintf(m->textures[1].file, sizeof m->textures[1].file, "%s", textureFile);
    GROUP3& g = m->groups[0];
    g.texture = 1;
    g.textureSwitch = 1;
    g.color[0] = g.color[1] = g.color[2] = 255;
    g.alpha = 255;
    g.shading = 4;
    Model3_FitArrays(m);
    const bool ok = Model3_SaveQvp(m, path.c_str());
    Model3_Free(m);
    return ok;
}

