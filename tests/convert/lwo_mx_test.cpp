// LWO and MX: the exporters' layouts and golden sizes, round trips through our importers, and
// hand-made files with the faults real files have.
#include <cstring>

#include "convert/lwo_file.h"
#include "convert/mx_file.h"
#include "convert/x_file.h"
#include "convert_fixture.h"
#include "frame/bytes.h"
#include "frame/text.h"

namespace {

uint32_t BigU32(const std::vector<uint8_t>& b, size_t at)
{
    return (uint32_t)b[at] << 24 | (uint32_t)b[at + 1] << 16 | (uint32_t)b[at + 2] << 8 | b[at + 3];
}

int32_t LittleI32(const std::vector<uint8_t>& b, size_t at)
{
    int32_t v;
    std::memcpy(&v, &b[at], 4);
    return v;
}

float LittleF32(const std::vector<uint8_t>& b, size_t at)
{
    float v;
    std::memcpy(&v, &b[at], 4);
    return v;
}

size_t Find(const std::vector<uint8_t>& b, const char* id, size_t from = 0)
{
    for (size_t i = from; i + 4 <= b.size(); ++i)
        if (std::memcmp(&b[i], id, 4) == 0) return i;
    return std::string::npos;
}

// A model whose face f has colour `colours[f]` on its first corner.
MODEL3* QuadsInColours(const std::vector<RGBA>& colours)
{
    MODEL3* m = NewRecord();
    for (size_t f = 0; f < colours.size(); ++f) {
        float x = (float)f * 10;
        int32_t a = AddVertex(m, x, 0, 0, 0, 0), b = AddVertex(m, x + 10, 0, 0, 1, 0);
        int32_t c = AddVertex(m, x + 10, 20, 30, 1, 1), d = AddVertex(m, x, 20, 30, 0, 1);
        m->colors[(size_t)a] = colours[f];
        AddFace(m, {a, b, c, d}, (int32_t)(f % 3));
    }
    return m;
}

class LwoFile : public ConvertTest {};

TEST_F(LwoFile, GoldenLayouts)
{
    std::vector<uint8_t> out;
    MODEL3* empty = NewRecord();
    ASSERT_TRUE(Lwo_Write(empty, out));
    EXPECT_EQ(36u, out.size());
    EXPECT_EQ(28u, BigU32(out, 4));

    MODEL3* one = QuadsInColours({RGBA{200.7f, 100.2f, 0.9f, 255}});
    ASSERT_TRUE(Lwo_Write(one, out));
    EXPECT_EQ(172u, out.size());
    EXPECT_EQ(out.size() - 8, BigU32(out, 4));
    size_t colr = Find(out, "COLR");
    ASSERT_NE(std::string::npos, colr);
    EXPECT_EQ(200, out[colr + 6]);
    EXPECT_EQ(100, out[colr + 7]);
    EXPECT_EQ(0, out[colr + 8]);
    // PNTS: position x 0.1 as big-endian floats.
    size_t pnts = Find(out, "PNTS");
    uint32_t bits = BigU32(out, pnts + 8 + 12 * 2 + 8);
    float z;
    std::memcpy(&z, &bits, 4);
    EXPECT_FLOAT_EQ(3.0f, z);

    // Eleven colours: names QV0..QV10, the last padded to 6 bytes.
    std::vector<RGBA> colours;
    for (int i = 0; i < 11; ++i) colours.push_back(RGBA{(float)i, 0, 0, 255});
    colours.push_back(RGBA{3.5f, 0, 0, 255});   // the same bytes as colour 3
    MODEL3* many = QuadsInColours(colours);
    ASSERT_TRUE(Lwo_Write(many, out));
    size_t srfs = Find(out, "SRFS");
    EXPECT_EQ(10u * 4 + 6, BigU32(out, srfs + 4));
    EXPECT_EQ(0, std::memcmp(&out[srfs + 8 + 40], "QV10\0\0", 6));
    EXPECT_EQ(out.size() - 8, BigU32(out, 4));
    // POLS surface numbers: first use order, the repeated colour shares surface 4.
    size_t pols = Find(out, "POLS");
    EXPECT_EQ(4, (out[pols + 8 + 11 * 12 + 10] << 8) | out[pols + 8 + 11 * 12 + 11]);
    Model3_Free(empty);
    Model3_Free(one);
    Model3_Free(many);
}

TEST_F(LwoFile, RoundTripThroughTheImporter)
{
    std::vector<RGBA> colours;
    for (int i = 0; i < 40; ++i) colours.push_back(RGBA{(float)(i * 5), (float)(255 - i), 7, 255});
    colours.push_back(colours[3]);
    MODEL3* m = QuadsInColours(colours);
    std::string path = Rec_TempDir() + "/round.lwo";
    int32_t id = Model3_Create();
    Model3_CopyRecord(m, Model3_GetById(id), true);
    ASSERT_EQ(1, Lwo_Export(id, path.c_str()));
    int32_t back = Model3_Load(-1, path.c_str());
    ASSERT_GE(back, 0);
    MODEL3* r = Model3_GetById(back);
    ASSERT_EQ(m->positionCount, r->positionCount);
    ASSERT_EQ(m->faceCount, r->faceCount);
    for (int32_t i = 0; i < m->positionCount; ++i) {
        EXPECT_NEAR(m->positions[(size_t)i].x, r->positions[(size_t)i].x, 1e-4);
        EXPECT_NEAR(m->positions[(size_t)i].z, r->positions[(size_t)i].z, 1e-4);
    }
    EXPECT_EQ(40, r->groupCount);
    for (int32_t f = 0; f < m->faceCount; ++f) {
        const FACE3& a = m->faces[(size_t)f];
        const FACE3& b = r->faces[(size_t)f];
        for (int k = 0; k < 4; ++k) EXPECT_EQ(a.corners[k][CORNER_POS], b.corners[k][CORNER_POS]);
        // Each surface is a group of its own colour.
        EXPECT_EQ(f == 40 ? 3 : f, b.group) << f;
        EXPECT_EQ(colours[(size_t)f].r, r->colors[(size_t)f].r);
    }
    Model3_Free(m);
}

// A LWOB form written by hand: chunks given as ID and payload.
struct Chunk { const char* id; std::vector<uint8_t> data; };

void Be16(std::vector<uint8_t>& b, int v)
{
    b.push_back((uint8_t)(v >> 8));
    b.push_back((uint8_t)v);
}

void BeF(std::vector<uint8_t>& b, float f)
{
    uint32_t u;
    std::memcpy(&u, &f, 4);
    for (int s = 24; s >= 0; s -= 8) b.push_back((uint8_t)(u >> s));
}

std::vector<uint8_t> Form(const std::vector<Chunk>& chunks, const char* type = "LWOB", int extraLength = 0)
{
    std::vector<uint8_t> body(type, type + 4);
    for (const Chunk& c : chunks) {
        body.insert(body.end(), c.id, c.id + 4);
        uint32_t n = (uint32_t)c.data.size();
        for (int s = 24; s >= 0; s -= 8) body.push_back((uint8_t)(n >> s));
        body.insert(body.end(), c.data.begin(), c.data.end());
        if (n % 2) body.push_back(0);
    }
    std::vector<uint8_t> out = {'F', 'O', 'R', 'M'};
    uint32_t n = (uint32_t)((int)body.size() + extraLength);
    for (int s = 24; s >= 0; s -= 8) out.push_back((uint8_t)(n >> s));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

std::vector<uint8_t> Names(std::initializer_list<const char*> names)
{
    std::vector<uint8_t> b;
    for (const char* n : names) {
        b.insert(b.end(), n, n + std::strlen(n) + 1);
        if ((std::strlen(n) + 1) % 2) b.push_back(0);
    }
    return b;
}

std::vector<uint8_t> Surf(const char* name, int r, int g, int bl)
{
    std::vector<uint8_t> b = Names({name});
    const char sub[] = "COLR";
    b.insert(b.end(), sub, sub + 4);
    Be16(b, 4);
    b.insert(b.end(), {(uint8_t)r, (uint8_t)g, (uint8_t)bl, 0});
    const char flag[] = "FLAG";
    b.insert(b.end(), flag, flag + 4);
    Be16(b, 2);
    Be16(b, 0x104);
    return b;
}

std::vector<uint8_t> Points(int n)
{
    std::vector<uint8_t> b;
    for (int i = 0; i < n; ++i) {
        BeF(b, (float)i);
        BeF(b, 0.5f);
        BeF(b, -(float)i);
    }
    return b;
}

std::vector<uint8_t> Polys(std::initializer_list<std::vector<int>> polys)
{
    std::vector<uint8_t> b;
    for (const std::vector<int>& p : polys)
        for (int v : p) Be16(b, v);
    return b;
}

TEST_F(LwoFile, HandMadeFormsAndTheirFaults)
{
    // Surfaces named in one order, described in another; "b" and "c" share a colour; "d" has none.
    std::vector<Chunk> good = {
        {"PNTS", Points(6)},
        {"SRFS", Names({"a", "bb", "c", "d"})},
        {"POLS", Polys({{4, 0, 1, 2, 3, 1}, {3, 0, 2, 4, 2}, {5, 0, 1, 2, 3, 4, 3}, {3, 1, 2, 5, -4}, {0}})},
        {"CLIP", {1, 2, 3}},   // an odd chunk with its pad
        {"SURF", Surf("c", 9, 9, 9)},
        {"SURF", Surf("a", 255, 0, 0)},
        {"SURF", Surf("bb", 9, 9, 9)},
    };
    // The last POLS entry is the detail count 0 of the polygon with surface -4.
    MODEL3* m = LoadAs("a.lwo", Form(good));
    ASSERT_NE(nullptr, m);
    EXPECT_EQ(6, m->positionCount);
    EXPECT_FLOAT_EQ(5.0f, m->positions[1].y);
    EXPECT_FLOAT_EQ(-20.0f, m->positions[2].z);
    // Quad, triangle, the pentagon in three triangles, the detailed triangle.
    ASSERT_EQ(6, m->faceCount);
    EXPECT_EQ(4, m->faces[0].cornerCount);
    EXPECT_EQ(4, m->groupCount);
    EXPECT_EQ(0, m->faces[0].group);
    // "bb" and "c" are both (9, 9, 9): their faces go to the later surface's group, "c".
    EXPECT_EQ(2, m->faces[1].group);
    EXPECT_EQ(2, m->faces[2].group);
    EXPECT_EQ(255.0f, m->groups[0].color[0]);
    EXPECT_EQ(128.0f, m->groups[3].color[1]);
    EXPECT_EQ(3, m->faces[5].group);
    EXPECT_EQ(4, m->colorCount);   // one colour per polygon, not per triangle

    struct Case { const char* what; std::vector<uint8_t> bytes; } cases[] = {
        {"LWO2", Form(good, "LWO2")},
        {"no POLS", Form({good[0], good[1]})},
        {"point beyond the table", Form({good[0], good[1], {"POLS", Polys({{3, 0, 1, 6, 1}})}})},
        {"point number above 32767", Form({good[0], good[1], {"POLS", Polys({{3, 0, 1, 40000, 1}})}})},
        {"no corners", Form({good[0], good[1], {"POLS", Polys({{0, 1}})}})},
        {"surface 0", Form({good[0], good[1], {"POLS", Polys({{3, 0, 1, 2, 0}})}})},
        {"surface beyond the names", Form({good[0], good[1], {"POLS", Polys({{3, 0, 1, 2, 5}})}})},
        {"form longer than the file", Form(good, "LWOB", 64)},
        {"chunk longer than the form", [&] { auto b = Form(good); b[19] += 100; return b; }()},
        {"not FORM", [&] { auto b = Form(good); b[0] = 'X'; return b; }()},
        {"cut", [&] { auto b = Form(good); b.resize(30); return b; }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectRefusedKeepsModel("bad.lwo", c.bytes, "LWO");
    }
}

// ---- MX ----------------------------------------------------------------------------------------

// The pixel size of a BMP is all the MX files need of their pictures.
void WriteBmp(const std::string& path, int32_t w, int32_t h)
{
    ByteWriter b;
    b.Bytes("BM", 2);
    b.U32(54);
    b.U32(0);
    b.U32(54);
    b.U32(40);
    b.I32(w);
    b.I32(h);
    b.U16(1);
    b.U16(24);
    b.Zeros(24);
    ASSERT_TRUE(File_WriteAll(path.c_str(), b));
}

class MxFile : public ConvertTest {};

TEST_F(MxFile, GoldenLayoutOfOneTriangle)
{
    std::vector<uint8_t> out;
    MODEL3* empty = NewRecord();
    ASSERT_TRUE(Mx_Write(empty, out));
    EXPECT_EQ(92u, out.size());   // header and object record: no face, no name

    MODEL3* m = NewRecord();
    int32_t a = AddVertex(m, 1, 2, 3), b = AddVertex(m, 4, 5, 6), c = AddVertex(m, 7, 8, 9);
    m->colors[(size_t)c] = RGBA{255.9f, 128.2f, 0, 255};
    m->colors[(size_t)a] = RGBA{1, 2, 3, 255};
    AddFace(m, {a, b, c});
    ASSERT_TRUE(Mx_Write(m, out));
    ASSERT_EQ(276u, out.size());
    EXPECT_EQ(0, std::memcmp(out.data(), "MXF\0", 4));
    EXPECT_EQ(168, LittleI32(out, 16));
    EXPECT_EQ(16, LittleI32(out, 24));
    EXPECT_EQ(92 + 168, LittleI32(out, 28));
    EXPECT_EQ(1, out[32 + 50]);   // face count of the object record
    // Corner 3's slot (first) repeats corner 0: (1, -2, -3, 1).
    const size_t f = 92;
    EXPECT_EQ(1.0f, LittleF32(out, f));
    EXPECT_EQ(-2.0f, LittleF32(out, f + 4));
    EXPECT_EQ(-3.0f, LittleF32(out, f + 8));
    EXPECT_EQ(1.0f, LittleF32(out, f + 12));
    EXPECT_EQ(7.0f, LittleF32(out, f + 16));   // corner 2
    EXPECT_EQ(1.0f, LittleF32(out, f + 48));   // corner 0
    // The colour field from the last corner written (corner 0 again for a triangle).
    EXPECT_EQ((1 << 16) | (2 << 8) | 3, LittleI32(out, f + 160));
    EXPECT_EQ(-1, (int16_t)(out[f + 164] | out[f + 165] << 8));
    Model3_Free(empty);
    Model3_Free(m);

    MODEL3* q = QuadsInColours({RGBA{1, 1, 1, 255}});
    q->colors[3] = RGBA{255.9f, 128.2f, 0, 255};
    ASSERT_TRUE(Mx_Write(q, out));
    EXPECT_EQ(0x00FF8000, LittleI32(out, f + 160));
    Model3_Free(q);
}

TEST_F(MxFile, RoundTripWithATexture)
{
    std::string dir = Rec_TempDir();
    WriteBmp(dir + "/pic.bmp", 256, 128);
    MODEL3* src = QuadsInColours({RGBA{10, 20, 30, 255}, RGBA{40, 50, 60, 255}});
    src->faces[1].group = 3;
    src->uvs[1] = UV2{0.5f, 0.25f};
    src->textures[1].used = 1;
    Str_CopyN(src->textures[1].file, sizeof src->textures[1].file, "pic.bmp");
    Str_CopyN(src->textures[1].path, sizeof src->textures[1].path, (dir + "/pic.bmp").c_str());
    src->textureCount = 2;
    src->groups[0].texture = 1;
    src->groupCount = 4;
    int32_t id = Model3_Create();
    Model3_CopyRecord(src, Model3_GetById(id), true);
    std::string path = dir + "/round.mx";
    ASSERT_EQ(1, Mx_Export(id, path.c_str()));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(File_ReadAll(path.c_str(), bytes));
    // Groups 0 and 3: four names; the UV in texels.
    EXPECT_EQ(4 * 16, LittleI32(bytes, 24));
    EXPECT_EQ(128.0f, LittleF32(bytes, 92 + 128 + 8));
    EXPECT_EQ(32.0f, LittleF32(bytes, 92 + 128 + 12));
    EXPECT_EQ(0, std::memcmp(&bytes[bytes.size() - 64], "pic\0", 4));

    int32_t back = Model3_Load(-1, path.c_str());
    ASSERT_GE(back, 0);
    MODEL3* r = Model3_GetById(back);
    EXPECT_EQ(4, r->groupCount);
    ASSERT_EQ(2, r->faceCount);
    EXPECT_EQ(3, r->faces[1].group);
    EXPECT_EQ(1, r->groups[0].texture);
    EXPECT_STREQ("pic.bmp", r->textures[1].file);
    for (int32_t f = 0; f < 2; ++f) {
        for (int k = 0; k < 4; ++k) {
            const FACE3& a = src->faces[(size_t)f];
            const FACE3& b = r->faces[(size_t)f];
            XYZ p = src->positions[(size_t)a.corners[k][CORNER_POS]], q = r->positions[(size_t)b.corners[k][CORNER_POS]];
            EXPECT_EQ(p.x, q.x);
            EXPECT_EQ(p.y, q.y);
            EXPECT_EQ(p.z, q.z);
            UV2 u = src->uvs[(size_t)a.corners[k][CORNER_UV]], v = r->uvs[(size_t)b.corners[k][CORNER_UV]];
            EXPECT_EQ(u.u, v.u) << f << " " << k;
            EXPECT_EQ(u.v, v.v) << f << " " << k;
        }
    }
    // One colour per face record, from its last corner.
    EXPECT_EQ(255.0f, r->colors[0].r);
    Model3_Free(src);
}

TEST_F(MxFile, RefusedFiles)
{
    MODEL3* m = QuadsInColours({RGBA{1, 1, 1, 255}});
    std::vector<uint8_t> good;
    ASSERT_TRUE(Mx_Write(m, good));
    Model3_Free(m);
    auto with = [&](size_t at, int32_t v, size_t bytes = 4) {
        std::vector<uint8_t> b = good;
        std::memcpy(&b[at], &v, bytes);
        return b;
    };
    struct Case { const char* what; std::vector<uint8_t> bytes; } cases[] = {
        {"negative face block", with(16, -168)},
        {"face block beyond the file", with(16, 168 * 2)},
        {"name block beyond the file", with(24, 16 * 300)},
        {"object block beyond the file", with(8, 60 * 1000)},
        {"group 300", with(92 + 166, 300, 2)},
        {"negative group", with(92 + 166, -2, 2)},
        {"texture beyond the names", with(92 + 164, 1, 2)},
        {"short header", std::vector<uint8_t>(good.begin(), good.begin() + 20)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectRefusedKeepsModel("bad.mx", c.bytes, "MX");
    }
    // A name of sixteen characters with no NUL is read as those sixteen.
    std::vector<uint8_t> b = good;
    std::memcpy(&b[b.size() - 16], "ABCDEFGHIJKLMNOP", 16);
    b[92 + 164] = 0;
    b[92 + 165] = 0;
    MODEL3* r = LoadAs("long.mx", b);
    ASSERT_NE(nullptr, r);
    EXPECT_STREQ("ABCDEFGHIJKLMNOP.bmp", r->textures[1].file);
}

// ---- X -----------------------------------------------------------------------------------------

TEST(XWrite, BinaryHeaderTrianglesAndMaterial)
{
    MODEL3* m = NewRecord();
    int32_t a = AddVertex(m, 5, 10, -15), b = AddVertex(m, 10, 0, 0), c = AddVertex(m, 10, 10, 0),
            d = AddVertex(m, 0, 10, 0);
    AddFace(m, {a, b, c, d});
    m->faces.push_back(FACE3{});
    m->faces.back().cornerCount = 2;   // no triangle
    m->faceCount = 2;
    std::vector<uint8_t> out;
    ASSERT_TRUE(X_Write(m, out));
    EXPECT_EQ(0, std::memcmp(out.data(), "xof 0303bin 0032", 16));
    // The vertex count list (6 vertices for the quad's two triangles), then the positions / 5.
    size_t mesh = std::string::npos;
    // The data object, not the template of the same name: its brace is followed by a list.
    for (size_t i = 16; i + 14 < out.size(); ++i)
        if (out[i] == 1 && LittleI32(out, i + 2) == 4 && std::memcmp(&out[i + 6], "Mesh", 4) == 0 && out[i + 10] == 10 &&
            out[i + 12] == 6) {
            mesh = i;
            break;
        }
    ASSERT_NE(std::string::npos, mesh);
    size_t at = mesh + 10 + 2;
    EXPECT_EQ(6, out[at]);                 // integer list
    EXPECT_EQ(1, LittleI32(out, at + 2));
    EXPECT_EQ(6, LittleI32(out, at + 6));
    EXPECT_EQ(7, out[at + 10]);            // float list
    EXPECT_EQ(18, LittleI32(out, at + 12));
    EXPECT_EQ(1.0f, LittleF32(out, at + 16));
    EXPECT_EQ(2.0f, LittleF32(out, at + 20));
    EXPECT_EQ(-3.0f, LittleF32(out, at + 24));
    // The second triangle is corners 0, 2, 3.
    EXPECT_EQ(1.0f, LittleF32(out, at + 16 + 36));
    EXPECT_EQ(0.0f, LittleF32(out, at + 16 + 60));
    // No texture entry in use: no file name.
    EXPECT_EQ(std::string::npos, Find(out, "File", mesh));
    m->textures[1].used = 1;
    Str_CopyN(m->textures[1].file, sizeof m->textures[1].file, "skin.bmp");
    ASSERT_TRUE(X_Write(m, out));
    EXPECT_NE(std::string::npos, Find(out, "File", mesh));
    EXPECT_NE(std::string::npos, Find(out, "skin", mesh));
    // Nothing to write without a triangle.
    m->faceCount = 0;
    EXPECT_FALSE(X_Write(m, out));
    Model3_Free(m);
}

} // namespace
