// The ROK and DXF importers on small files written by hand from the formats' descriptions.
#include <array>
#include <cstdio>
#include <functional>
#include <sstream>

#include "convert/dxf_import.h"
#include "frame/bytes.h"
#include "convert/rok_import.h"
#include "convert_fixture.h"

namespace {

// A ROK file: points, edges (pairs of point numbers), faces (colour then edge numbers) and the
// palette, with hooks to spoil one part.
struct RokSpec {
    std::vector<std::array<float, 3>> points;
    std::vector<std::pair<int, int>> edges;
    std::vector<std::pair<int, std::vector<int>>> faces;
    int paletteCount = 13;
    int paletteEntries = 13;
    bool end = true;
};

std::string RokText(const RokSpec& s)
{
    std::ostringstream o;
    o << "ROK file\r\nPOINT\r\n";
    for (size_t i = 0; i < s.points.size(); ++i) {
        o << i + 1 << "\r\n0\r\n0\r\n0\r\n0\r\n";
        for (float v : s.points[i]) o << v << "\r\n";
    }
    o << "LINE0\r\n";
    for (auto& e : s.edges) o << e.first << "\r\n" << e.second << "\r\n0\r\n0\r\n";
    o << "FACE0\r\n";
    for (size_t i = 0; i < s.faces.size(); ++i) {
        o << s.faces[i].second.size() << "\r\n" << s.faces[i].first << "\r\n" << i + 1 << "\r\n";
        for (int e : s.faces[i].second) o << e << "\r\n";
    }
    o << "END00\r\nother\r\nPALC0\r\n" << s.paletteCount << "\r\n0\r\n";
    for (int i = 0; i < s.paletteEntries; ++i) {
        if (i == 1) o << "100\r\n0\r\n0\r\n200\r\n0\r\n0\r\n0\r\n";
        else o << "255\r\n255\r\n255\r\n255\r\n255\r\n255\r\n0\r\n";
    }
    if (s.end) o << "ENDP0\r\n";
    return o.str();
}

// A square 1-2-3-4 and a triangle 1-3-5; the quad's first edge lists the shared point first.
RokSpec SampleRok()
{
    RokSpec s;
    s.points = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {1, 2, 3}};
    s.edges = {{2, 1}, {2, 3}, {3, 4}, {4, 1}, {1, 3}, {3, 5}, {5, 1}};
    s.faces = {{1, {1, 2, 3, 4}}, {0, {5, 6, 7}}};
    return s;
}

class RokImport : public ConvertTest {};

TEST_F(RokImport, PointsEdgesFacesAndPalette)
{
    MODEL3* m = LoadAs("a.rok", Bytes(RokText(SampleRok())));
    ASSERT_NE(nullptr, m);
    EXPECT_TRUE(Rec().messageBoxes.empty());
    EXPECT_EQ(2, m->faceCount);
    EXPECT_EQ(8, m->positionCount);   // four slots per face, triangles too
    EXPECT_EQ(8, m->colorCount);
    // Edge 1 is (2, 1) and edge 2 starts at 2: corners B1, A1, then along the edges.
    const int quad[4] = {0, 1, 2, 3}, tri[3] = {0, 2, 4};
    const float pts[5][3] = {{0, 0, 0}, {10, 0, 0}, {10, -10, 0}, {0, -10, 0}, {10, -20, 30}};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(k, m->faces[0].corners[k][CORNER_POS]);
        XYZ p = m->positions[(size_t)k];
        EXPECT_EQ(pts[quad[k]][0], p.x) << k;
        EXPECT_EQ(pts[quad[k]][1], p.y) << k;
        EXPECT_EQ(pts[quad[k]][2], p.z) << k;
    }
    ASSERT_EQ(3, m->faces[1].cornerCount);
    for (int k = 0; k < 3; ++k) {
        XYZ p = m->positions[4 + (size_t)k];
        EXPECT_EQ(pts[tri[k]][0], p.x) << k;
        EXPECT_EQ(pts[tri[k]][1], p.y) << k;
    }
    // Palette entry 1: (100 + 200) / 510 * 255 = 150.
    EXPECT_FLOAT_EQ(150.0f, m->colors[0].r);
    EXPECT_EQ(0.0f, m->colors[0].g);
    EXPECT_EQ(255.0f, m->colors[0].a);
    EXPECT_FLOAT_EQ(255.0f, m->colors[4].r);
    EXPECT_EQ(1, m->groups[0].doubleSided);
    EXPECT_EQ(1, m->groups[255].doubleSided);
    EXPECT_EQ(3, m->groups[0].shading);
}

TEST_F(RokImport, LongLinesKeepTheirValues)
{
    std::string text = RokText(SampleRok());
    // A value of more than 19 characters stays one line.
    size_t at = text.find("LINE0");
    std::string point1z = "\r\n0\r\n";
    size_t last = text.rfind(point1z, at);
    ASSERT_NE(std::string::npos, last);
    text.replace(last, point1z.size(), "\r\n0.00000000000000000000000\r\n");
    MODEL3* m = LoadAs("long.rok", Bytes(text));
    ASSERT_NE(nullptr, m);
    EXPECT_EQ(2, m->faceCount);
}

TEST_F(RokImport, DamagedFilesLeaveTheModel)
{
    struct Case {
        const char* what;
        std::function<void(RokSpec&)> spoil;
        std::function<void(std::string&)> edit;
    } cases[] = {
        {"palette of 12", [](RokSpec& s) { s.paletteEntries = 12; }, nullptr},
        {"palette of 14", [](RokSpec& s) { s.paletteEntries = 14; }, nullptr},
        {"count line 12", [](RokSpec& s) { s.paletteCount = 12; }, nullptr},
        {"no ENDP0", [](RokSpec& s) { s.end = false; }, nullptr},
        {"point 0 in an edge", [](RokSpec& s) { s.edges[0].first = 0; }, nullptr},
        {"point above the count", [](RokSpec& s) { s.edges[0].second = 6; }, nullptr},
        {"edge 0 in a face", [](RokSpec& s) { s.faces[0].second[0] = 0; }, nullptr},
        {"edge above the count", [](RokSpec& s) { s.faces[1].second[2] = 8; }, nullptr},
        {"colour 13", [](RokSpec& s) { s.faces[0].first = 13; }, nullptr},
        {"five corners", [](RokSpec& s) { s.faces[0].second.push_back(5); }, nullptr},
        {"no POINT", nullptr, [](std::string& t) { t.replace(t.find("POINT"), 5, "point"); }},
        {"heading with a blank", nullptr, [](std::string& t) { t.replace(t.find("LINE0"), 5, "LINE0 "); }},
        {"value that is no number", nullptr, [](std::string& t) { t.replace(t.find("LINE0\r\n2"), 8, "LINE0\r\nx"); }},
        {"cut short", nullptr, [](std::string& t) { t.resize(t.find("FACE0") + 12); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RokSpec s = SampleRok();
        if (c.spoil) c.spoil(s);
        std::string text = RokText(s);
        if (c.edit) c.edit(text);
        ExpectRefusedKeepsModel("bad.rok", Bytes(text), "ROK");
    }
}

// ---- DXF ---------------------------------------------------------------------------------------

// One 3DFACE with its codes right-aligned as writers pad them, layer and colour first.
std::string Face3D(const float (&p)[4][3], bool reversed = false, const char* layer = "0")
{
    std::ostringstream o;
    o << "  0\n3DFACE\n  8\n" << layer << "\n 62\n     1\n";
    int order[12];
    for (int i = 0; i < 12; ++i) order[i] = reversed ? 11 - i : i;
    for (int i : order) {
        int corner = i / 3, axis = i % 3;
        char value[64];
        std::snprintf(value, sizeof value, "%.17g", (double)p[corner][axis]);
        o << " " << (axis + 1) * 10 + corner << "\n" << value << "\n";
    }
    return o.str();
}

std::string Drawing(const std::string& entities)
{
    return "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n" +
           entities + "  0\nENDSEC\n  0\nEOF\n";
}

class DxfImport : public ConvertTest {};

TEST_F(DxfImport, FacesInAnyCodeOrderWithLongValues)
{
    const float square[4][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    // 0.1 written with 17 digits: a value of more than 19 characters with its sign.
    const float tri[4][3] = {{-0.1f, 0.2f, 0.3f}, {1, 0, 0}, {0, 1, 0}, {0, 1, 0}};
    MODEL3* m = LoadAs("a.dxf", Bytes(Drawing(Face3D(square) + Face3D(tri, true, "10"))));
    ASSERT_NE(nullptr, m);
    EXPECT_EQ(2, m->faceCount);
    EXPECT_EQ(8, m->positionCount);
    // Corners: third, second, first, fourth.
    const int order[4] = {2, 1, 0, 3};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(4, m->faces[0].cornerCount);
        EXPECT_EQ(square[order[k]][0], m->positions[(size_t)k].x) << k;
        EXPECT_EQ(square[order[k]][1], m->positions[(size_t)k].y) << k;
        EXPECT_EQ(tri[order[k]][0], m->positions[4 + (size_t)k].x) << k;
        EXPECT_EQ(tri[order[k]][2], m->positions[4 + (size_t)k].z) << k;
    }
    // A triangle's last corner repeats its first.
    EXPECT_EQ(m->positions[4].x, m->positions[7].x);
    EXPECT_EQ(m->positions[4].y, m->positions[7].y);
    EXPECT_EQ(3, m->groups[0].shading);
    EXPECT_EQ(1, m->groups[0].doubleSided);
    EXPECT_EQ(200.0f, m->groups[0].color[0]);
    EXPECT_EQ(1, m->colorCount);
}

// Written by ezdxf (tests/convert/fixtures/make_ezdxf.py), which reads back 7 3DFACE entities; on
// layer "10", which a reader of lines rather than pairs takes for a group code.
TEST_F(DxfImport, DrawingWrittenByEzdxf)
{
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(File_ReadAll(QV_SOURCE_DIR "/tests/convert/fixtures/ezdxf_faces.dxf", bytes));
    MODEL3* m = LoadAs("ezdxf_faces.dxf", bytes);
    ASSERT_NE(nullptr, m);
    EXPECT_EQ(7, m->faceCount);
    EXPECT_EQ(28, m->positionCount);
    const float third = (float)(1.0 / 3.0);
    // Face 0 is (0,0,0) (1,0,0) (1,1,0) (0,1,0) x 1/3; its first corner is the third point.
    EXPECT_EQ(third, m->positions[0].x);
    EXPECT_EQ(third, m->positions[0].y);
    EXPECT_EQ(0.0f, m->positions[2].x);
    EXPECT_EQ(third, m->positions[3].y);
    // The triangle: its fourth point repeats its third, which comes first.
    EXPECT_EQ(2.5f, m->positions[24].y);
    EXPECT_EQ(2.5f, m->positions[27].y);
    EXPECT_EQ(-0.1f, m->positions[26].x);
}

TEST_F(DxfImport, RefusedDrawings)
{
    const float sq[4][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    std::string face = Face3D(sq);
    std::string noZ4 = face.substr(0, face.rfind(" 33\n"));
    std::string lower = face;
    lower.replace(lower.find("3DFACE"), 6, "3dface");
    std::string badValue = face;
    badValue.replace(badValue.find(" 20\n0\n"), 6, " 20\nzero\n");
    const std::string cases[] = {Drawing(""), Drawing(noZ4), Drawing(lower), Drawing(badValue), Drawing("abc\n" + face)};
    for (const std::string& c : cases) ExpectRefusedKeepsModel("bad.dxf", Bytes(c), "DXF");
}

} // namespace
