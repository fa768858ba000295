#include "convert/dxf_import.h"

#include <cstring>
#include <string>
#include <vector>

using namespace QVL;

namespace {

// A line without its blanks and tabs (writers right-align group codes and pad values), in a buffer
// of its own; false when what is left does not fit, which no code or number of ours needs.
bool Stripped(const char* p, size_t n, char (&out)[256])
{
    size_t len = 0;
    for (size_t i = 0; i < n; ++i) {
        if (p[i] == ' ' || p[i] == '\t') continue;
        if (len + 1 >= sizeof out) return false;
        out[len++] = p[i];
    }
    out[len] = 0;
    return true;
}

// The file is a list of group-code and value line pairs; reading by pairs keeps a value that
// happens to read "10" (a layer of that name) from being taken for a code, and takes the point
// codes in whatever order a writer lists them.
class DxfPairs {
public:
    DxfPairs(const uint8_t* data, size_t size) : m_lines(data, size) {}

    // False at the end of the file; `damaged` when a code is not a number or has no value line.
    // A value too long for the buffer reads as "" (it is no number and no entity name).
    bool Next(int32_t& code, const char*& value, bool& damaged)
    {
        const char* p = nullptr;
        size_t n = 0;
        if (!m_lines.Next(p, n)) return false;
        bool fits = Stripped(p, n, m_code);
        if (fits && !m_code[0] && m_lines.AtEnd()) return false;   // the newline after the last value
        if (!fits || !Import_ParseInt(m_code, code) || !m_lines.Next(p, n)) {
            damaged = true;
            return false;
        }
        if (!Stripped(p, n, m_value)) m_value[0] = 0;
        value = m_value;
        return true;
    }

private:
    TextLines m_lines;
    char m_code[256];
    char m_value[256];
};

} // namespace

IMPORT_RESULT Dxf_Read(const uint8_t* data, size_t size, IMPORT_MODEL& im)
{
    DxfPairs pairs(data, size);
    int32_t code = 0;
    const char* value = "";
    bool damaged = false;
    bool inFace = false;
    float point[4][3] = {};
    unsigned seen = 0;   // bit (corner * 3 + axis) for each code read
    std::vector<float> faces;   // 12 floats per face, in file order
    faces.reserve(size / 100);

    auto endFace = [&]() {
        if (!inFace) return true;
        inFace = false;
        if (seen != 0xFFFu) return false;
        // Past the limit only counted, for the message.
        if (++im.askedFaces > Import_MaxFaces()) return true;
        for (int c = 0; c < 4; ++c) faces.insert(faces.end(), point[c], point[c] + 3);
        return true;
    };

    while (pairs.Next(code, value, damaged)) {
        if (code == 0) {
            if (!endFace()) return IMPORT_DAMAGED;
            if (std::strcmp(value, "3DFACE") == 0) {
                inFace = true;
                seen = 0;
            }
            continue;
        }
        if (!inFace) continue;
        // 10..13 X, 20..23 Y, 30..33 Z of the corners 1..4.
        if (code >= 10 && code <= 33 && code % 10 <= 3) {
            const int axis = code / 10 - 1, corner = code % 10;
            float v = 0.0f;
            if (!Import_ParseFloat(value, v)) return IMPORT_DAMAGED;
            point[corner][axis] = v;
            seen |= 1u << (corner * 3 + axis);
        }
    }
    if (damaged) return IMPORT_DAMAGED;
    if (!endFace()) return IMPORT_DAMAGED;
    if (im.askedFaces > Import_MaxFaces()) return IMPORT_TOO_MANY;
    const size_t count = faces.size() / 12;
    if (count == 0) return IMPORT_DAMAGED;

    // Corners in the order third, second, first, fourth.
    static const int kOrder[4] = {2, 1, 0, 3};
    im.positions.resize(count * 4);
    im.faces.resize(count);
    for (size_t j = 0; j < count; ++j) {
        FACE3& f = im.faces[j];
        f = FACE3();
        f.cornerCount = 4;
        f.group = 0;
        for (int k = 0; k < 4; ++k) {
            const float* p = &faces[j * 12 + (size_t)kOrder[k] * 3];
            im.positions[j * 4 + (size_t)k] = XYZ{p[0], p[1], p[2]};
            f.corners[k][CORNER_POS] = (int32_t)(j * 4 + (size_t)k);
        }
    }
    im.colors.assign(1, RGBA{255, 255, 255, 255});
    im.uvs.assign(1, UV2{0, 0});
    GROUP3& g = im.groups[0];
    g.doubleSided = 1;
    g.shading = 3;
    g.color[0] = g.color[1] = g.color[2] = 200.0f;
    g.alpha = 255.0f;
    im.groupCount = 1;
    return IMPORT_OK;
}

int32_t Dxf_Import(int32_t id, const char* path)
{
    return Import_FromFile(id, path, "DXF", Dxf_Read);
}
