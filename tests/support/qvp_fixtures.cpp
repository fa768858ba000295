#include "support/qvp_fixtures.h"

#include <cstring>

#include "frame/bytes.h"

using QVL::ByteWriter;

static void Str(ByteWriter& w, const char* s)
{
    w.I32((int32_t)std::strlen(s));
    w.Bytes(s, std::strlen(s));
}

static void Floats(ByteWriter& w, std::initializer_list<float> v)
{
    for (float f : v) w.F32(f);
}

std::vector<uint8_t> QvpFixture(int32_t layout, const QvpFixtureOptions& o)
{
    const bool v2005 = layout >= 2005000, v2006 = layout >= 2006000, v2008 = layout >= 2008000,
               v2009 = layout >= 2009000;
    ByteWriter w;
    w.Bytes("QVP", 3);
    w.I32(o.version ? o.version : layout);
    // Counts: 3 positions, 1 normal, 1 colour, 3 UVs.
    for (int32_t n : {3, 1, 1, 3}) {
        if (v2006) w.I32(n);
        else w.U16((uint16_t)n);
    }
    Floats(w, {0, 0, 0, 1, 0, 0, 0, 1, 0});
    Floats(w, {0, 0, 1});
    Floats(w, {255, 128, 64, 255});
    Floats(w, {0, 0, 1, 0, 0, 1});
    for (int i = 0; i < 3; ++i) {
        if (v2008) {
            w.U8((uint8_t)o.boneA);
            w.U8(2);
            w.F32(0.75f);
            w.U8(i == 0 ? 1 : 0);
        } else {
            w.U16(o.boneA);
            w.U16(2);
            w.F32(0.75f);
            w.I32(i == 0 ? 7 : 0);
        }
    }
    // One triangle in group 0.
    if (v2009) w.I32(1);
    else w.I16(1);
    if (!v2006) w.I32(12345);
    w.U8(3);
    for (int c = 0; c < 3; ++c) {
        const int32_t idx[4] = {c, 0, 0, c};
        for (int32_t v : idx) {
            if (v2006) w.I32(v);
            else w.U16((uint16_t)v);
        }
    }
    w.I32(0);
    // Textures: entry 0 unused, entry 1 "tex.bmp".
    w.I16(2);
    w.I32(0);
    w.I32(1);
    Str(w, "tex.bmp");
    if (v2006) {
        w.I16(o.displacement);
        w.F32(2.5f);
    }
    // One group.
    w.I32(1);
    Str(w, "素材");
    w.I32(1);
    Floats(w, {10, 20, 30, 200});
    w.I32(3);
    w.U8(1);
    Floats(w, {0.5f, 0.25f, 2, 3});
    w.I32(1);
    w.I32(4);
    w.I32(0);
    w.I32(1);
    w.I32(1);
    w.I32(2);
    w.I32(3);
    if (v2008) {
        w.U8(0); w.U16(0); w.U8(0); w.U16(1);
        w.U8(1); w.F32(1); w.U8(0); w.F32(1);
        w.U8(1); w.U16(1);
        w.U8(0); w.U16(0); w.F32(1);
        w.U8(0); w.U16(1);
        w.U8(0); w.F32(1);
    }
    if (v2009) {
        // The export of the triangle: its three corners, then triangle 0, 1, 2.
        w.I32(3);
        Floats(w, {0, 0, 0, 1, 0, 0, 0, 1, 0});
        Floats(w, {0, 0, 1, 0, 0, 1, 0, 0, 1});
        Floats(w, {255, 128, 64, 255, 255, 128, 64, 255, 255, 128, 64, 255});
        Floats(w, {0, 0, 1, 0, 0, 1});
        for (int i = 0; i < 3; ++i) {
            w.U8((uint8_t)o.boneA);
            w.U8(2);
            w.F32(0.75f);
            w.U8(i == 0 ? 1 : 0);
        }
        w.I32(1);
        w.U8(3);
        for (int c = 0; c < 3; ++c) {
            w.I32(c);
            w.I32(0);
            w.I32(0);
            w.I32(0);
        }
        w.I32(0);
    }
    w.I32(0);      // light
    w.I32(1);      // vertex-colour mode
    w.I32(1);      // edge
    w.F32(2.0f);   // edge width
    if (v2006) w.I16(3);
    // Two motions.
    if (v2005) {
        w.I32(2);
        const char* names[2] = {"歩く", "走る"};
        const int32_t lengths[2] = {30, 20};
        for (int m = 0; m < 2; ++m) {
            w.I32(1);
            if (v2006) {
                w.I32(1);
                w.I32(5);
                w.U16(0);
                w.U16(1);
                Floats(w, {1, 1, 1, 1});
            }
            Str(w, names[m]);
            w.I32(lengths[m]);
        }
    }
    // Bones.
    if (!v2005) {
        w.I32(2);
        w.I32(3);
        w.I32(0);
    } else {
        w.I32(3);
        const char* names[3] = {"根", "腕", "手"};
        const int32_t parents[3] = {0, 0, 1};
        for (int b = 0; b < 3; ++b) {
            Str(w, names[b]);
            w.I32(parents[b]);
            Floats(w, {0, (float)b, 0, 0, 0, 0, 1, 1, 1, 1});
            for (int m = 0; m < 2; ++m) {
                w.I32(m + 1);
                for (int k = 0; k <= m; ++k) {
                    w.I32(10 * k);
                    Floats(w, {(float)b, (float)m, (float)k, 0, 0, 0, 1, 1, 1, 1});
                }
            }
        }
    }
    if (v2008) {
        w.U8(1);
        w.U16(128);
        w.U8(0);
        w.I16(1);
        w.U8(1);
        w.I16(-1);
    }
    return w.Data();
}
