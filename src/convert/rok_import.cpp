#include "convert/rok_import.h"

#include <string>
#include <vector>

using namespace QVL;

namespace {

constexpr int kPaletteSize = 13;

struct ROK_FACE {
    int32_t corners;
    int32_t colour;
    int32_t edges[4];
};

class RokReader {
public:
    RokReader(const uint8_t* data, size_t size) : m_lines(data, size) {}

    bool Line() { return m_lines.Next(m_line); }
    const std::string& Text() const { return m_line; }
    // A value line: the whole line must be the number (a record cut short by the end fails).
    bool Real(float& v) { return Line() && Import_ParseFloat(m_line.c_str(), v); }
    bool Int(int32_t& v) { return Line() && Import_ParseInt(m_line.c_str(), v); }
    bool Is(const char* heading) const { return m_line == heading; }

private:
    TextLines m_lines;
    std::string m_line;
};

} // namespace

IMPORT_RESULT Rok_Read(const uint8_t* data, size_t size, IMPORT_MODEL& im)
{
    RokReader r(data, size);
    std::vector<XYZ> points;
    std::vector<int32_t> edges;   // two point numbers (from 1) per edge
    std::vector<ROK_FACE> faces;

    // Points, after the lines before "POINT".
    for (;;) {
        if (!r.Line()) return IMPORT_DAMAGED;
        if (r.Is("POINT")) break;
    }
    for (;;) {
        if (!r.Line()) return IMPORT_DAMAGED;
        if (r.Is("LINE0")) break;
        int32_t number = 0;
        if (!Import_ParseInt(r.Text().c_str(), number) || number != (int32_t)points.size() + 1) return IMPORT_DAMAGED;
        for (int i = 0; i < 4; ++i)
            if (!r.Line()) return IMPORT_DAMAGED;
        XYZ p;
        if (!r.Real(p.x) || !r.Real(p.y) || !r.Real(p.z)) return IMPORT_DAMAGED;
        p.y = -p.y;
        if ((int64_t)points.size() >= Import_MaxPositions()) {
            im.askedPositions = (int64_t)points.size() + 1;
            return IMPORT_TOO_MANY;
        }
        points.push_back(p);
    }
    if (points.empty()) return IMPORT_DAMAGED;

    for (;;) {
        if (!r.Line()) return IMPORT_DAMAGED;
        if (r.Is("FACE0")) break;
        int32_t a = 0, b = 0, unused = 0;
        if (!Import_ParseInt(r.Text().c_str(), a) || !r.Int(b) || !r.Int(unused) || !r.Int(unused))
            return IMPORT_DAMAGED;
        const int32_t count = (int32_t)points.size();
        if (a < 1 || a > count || b < 1 || b > count) return IMPORT_DAMAGED;
        edges.push_back(a);
        edges.push_back(b);
    }
    if (edges.empty()) return IMPORT_DAMAGED;

    for (;;) {
        if (!r.Line()) return IMPORT_DAMAGED;
        if (r.Is("END00")) break;
        ROK_FACE f = {};
        int32_t number = 0;
        if (!Import_ParseInt(r.Text().c_str(), f.corners) || !r.Int(f.colour) || !r.Int(number)) return IMPORT_DAMAGED;
        if (f.corners < 3 || f.corners > 4 || f.colour < 0 || f.colour >= kPaletteSize ||
            number != (int32_t)faces.size() + 1)
            return IMPORT_DAMAGED;
        const int32_t edgeCount = (int32_t)(edges.size() / 2);
        for (int k = 0; k < f.corners; ++k)
            if (!r.Int(f.edges[k]) || f.edges[k] < 1 || f.edges[k] > edgeCount) return IMPORT_DAMAGED;
        if ((int64_t)faces.size() >= Import_MaxFaces()) {
            im.askedFaces = (int64_t)faces.size() + 1;
            return IMPORT_TOO_MANY;
        }
        faces.push_back(f);
    }
    if (faces.empty()) return IMPORT_DAMAGED;

    for (;;) {
        if (!r.Line()) return IMPORT_DAMAGED;
        if (r.Is("PALC0")) break;
    }
    int32_t entries = 0;
    if (!r.Int(entries) || entries != kPaletteSize || !r.Line()) return IMPORT_DAMAGED;
    float palette[kPaletteSize][3] = {};
    int read = 0;
    for (;;) {
        if (!r.Line()) return IMPORT_DAMAGED;
        if (r.Is("ENDP0")) break;
        if (read == kPaletteSize) return IMPORT_DAMAGED;
        int32_t v[7] = {};
        if (!Import_ParseInt(r.Text().c_str(), v[0])) return IMPORT_DAMAGED;
        for (int i = 1; i < 7; ++i)
            if (!r.Int(v[i])) return IMPORT_DAMAGED;
        // The mean of the two triples, on the 0..1 scale first as the colour was always computed.
        for (int c = 0; c < 3; ++c) palette[read][c] = (float)(v[c] + v[c + 3]) / 510.0f;
        ++read;
    }
    if (read != kPaletteSize) return IMPORT_DAMAGED;

    // Corners from the edges: each edge shares a point with the next.
    im.positions.assign(faces.size() * 4, XYZ{0, 0, 0});
    im.colors.assign(faces.size() * 4, RGBA{0, 0, 0, 0});
    im.uvs.assign(1, UV2{0, 0});
    for (size_t j = 0; j < faces.size(); ++j) {
        const ROK_FACE& f = faces[j];
        int32_t a[4], b[4];
        for (int k = 0; k < f.corners; ++k) {
            a[k] = edges[(size_t)(f.edges[k] - 1) * 2] - 1;
            b[k] = edges[(size_t)(f.edges[k] - 1) * 2 + 1] - 1;
        }
        int32_t c[4];
        if (a[0] == a[1] || a[0] == b[1]) {
            c[0] = b[0];
            c[1] = a[0];
        } else {
            c[0] = a[0];
            c[1] = b[0];
        }
        c[2] = c[1] == a[1] ? b[1] : a[1];
        if (f.corners == 4) c[3] = c[2] == a[2] ? b[2] : a[2];
        FACE3 face = {};
        face.cornerCount = (uint8_t)f.corners;
        face.group = 0;
        for (int k = 0; k < f.corners; ++k) {
            const int32_t slot = (int32_t)j * 4 + k;
            const XYZ& p = points[(size_t)c[k]];
            im.positions[(size_t)slot] = XYZ{p.x * 10.0f, p.y * 10.0f, p.z * 10.0f};
            const float* col = palette[f.colour];
            im.colors[(size_t)slot] = RGBA{col[0] * 255.0f, col[1] * 255.0f, col[2] * 255.0f, 255.0f};
            face.corners[k][CORNER_POS] = slot;
            face.corners[k][CORNER_COLOR] = slot;
        }
        im.faces.push_back(face);
    }
    for (GROUP3& g : im.groups) g.doubleSided = 1;
    im.groups[0].shading = 3;
    im.groupCount = 1;
    return IMPORT_OK;
}

int32_t Rok_Import(int32_t id, const char* path)
{
    return Import_FromFile(id, path, "ROK", Rok_Read);
}
