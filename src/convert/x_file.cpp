#include "convert/x_file.h"

#include <cstring>

#include "frame/bytes.h"
#include "model/model_table.h"

using namespace QVL;

namespace {

// Binary .x tokens (little-endian WORDs).
enum : uint16_t {
    TOK_NAME = 1, TOK_STRING = 2, TOK_INTEGER = 3, TOK_GUID = 5, TOK_INTEGER_LIST = 6, TOK_FLOAT_LIST = 7,
    TOK_OBRACE = 10, TOK_CBRACE = 11, TOK_OBRACKET = 14, TOK_CBRACKET = 15, TOK_DOT = 18, TOK_SEMICOLON = 20,
    TOK_TEMPLATE = 31, TOK_WORD = 40, TOK_DWORD = 41, TOK_FLOAT = 42, TOK_LPSTR = 49, TOK_ARRAY = 52,
};

class XWriter {
public:
    ByteWriter w;
    void Token(uint16_t t) { w.U16(t); }
    void Name(const char* s)
    {
        Token(TOK_NAME);
        w.U32((uint32_t)std::strlen(s));
        w.Bytes(s, std::strlen(s));
    }
    void String(const char* s)
    {
        Token(TOK_STRING);
        w.U32((uint32_t)std::strlen(s));
        w.Bytes(s, std::strlen(s));
        Token(TOK_SEMICOLON);
    }
    void Integer(uint32_t v)
    {
        Token(TOK_INTEGER);
        w.U32(v);
    }
    void Guid(uint32_t d1, uint16_t d2, uint16_t d3, const uint8_t (&d4)[8])
    {
        Token(TOK_GUID);
        w.U32(d1);
        w.U16(d2);
        w.U16(d3);
        w.Bytes(d4, 8);
    }
    void Ints(const std::vector<uint32_t>& v)
    {
        Token(TOK_INTEGER_LIST);
        w.U32((uint32_t)v.size());
        for (uint32_t x : v) w.U32(x);
    }
    void Floats(const std::vector<float>& v)
    {
        Token(TOK_FLOAT_LIST);
        w.U32((uint32_t)v.size());
        for (float x : v) w.F32(x);
    }
};

// The standard templates the mesh uses, written as D3DX writes them: "TYPE name;" members, arrays
// sized by an earlier member, and the open or restricted child list.
struct X_MEMBER {
    bool array;
    uint16_t type;          // a primitive token, or 0 for the template named in typeName
    const char* typeName;
    const char* name;
    const char* size;       // array size: a member's name
};
struct X_TEMPLATE {
    const char* name;
    uint32_t d1;
    uint16_t d2, d3;
    uint8_t d4[8];
    X_MEMBER members[4];
    int memberCount;
    int open;               // 1 "[...]", 2 "[Material <guid>]", 0 closed
};

const X_TEMPLATE kTemplates[] = {
    {"Header", 0x3D82AB43, 0x62DA, 0x11cf, {0xAB, 0x39, 0x00, 0x20, 0xAF, 0x71, 0xE4, 0x33},
     {{false, TOK_WORD, nullptr, "major", nullptr}, {false, TOK_WORD, nullptr, "minor", nullptr},
      {false, TOK_DWORD, nullptr, "flags", nullptr}}, 3, 0},
    {"Vector", 0x3D82AB5E, 0x62DA, 0x11cf, {0xAB, 0x39, 0x00, 0x20, 0xAF, 0x71, 0xE4, 0x33},
     {{false, TOK_FLOAT, nullptr, "x", nullptr}, {false, TOK_FLOAT, nullptr, "y", nullptr},
      {false, TOK_FLOAT, nullptr, "z", nullptr}}, 3, 0},
    {"Coords2d", 0xF6F23F44, 0x7686, 0x11cf, {0x8F, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xA3},
     {{false, TOK_FLOAT, nullptr, "u", nullptr}, {false, TOK_FLOAT, nullptr, "v", nullptr}}, 2, 0},
    {"ColorRGBA", 0x35FF44E0, 0x6C7C, 0x11cf, {0x8F, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xA3},
     {{false, TOK_FLOAT, nullptr, "red", nullptr}, {false, TOK_FLOAT, nullptr, "green", nullptr},
      {false, TOK_FLOAT, nullptr, "blue", nullptr}, {false, TOK_FLOAT, nullptr, "alpha", nullptr}}, 4, 0},
    {"ColorRGB", 0xD3E16E81, 0x7835, 0x11cf, {0x8F, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xA3},
     {{false, TOK_FLOAT, nullptr, "red", nullptr}, {false, TOK_FLOAT, nullptr, "green", nullptr},
      {false, TOK_FLOAT, nullptr, "blue", nullptr}}, 3, 0},
    {"TextureFilename", 0xA42790E1, 0x7810, 0x11cf, {0x8F, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xA3},
     {{false, TOK_LPSTR, nullptr, "filename", nullptr}}, 1, 0},
    {"Material", 0x3D82AB4D, 0x62DA, 0x11cf, {0xAB, 0x39, 0x00, 0x20, 0xAF, 0x71, 0xE4, 0x33},
     {{false, 0, "ColorRGBA", "faceColor", nullptr}, {false, TOK_FLOAT, nullptr, "power", nullptr},
      {false, 0, "ColorRGB", "specularColor", nullptr}, {false, 0, "ColorRGB", "emissiveColor", nullptr}}, 4, 1},
    {"MeshFace", 0x3D82AB5F, 0x62DA, 0x11cf, {0xAB, 0x39, 0x00, 0x20, 0xAF, 0x71, 0xE4, 0x33},
     {{false, TOK_DWORD, nullptr, "nFaceVertexIndices", nullptr},
      {true, TOK_DWORD, nullptr, "faceVertexIndices", "nFaceVertexIndices"}}, 2, 0},
    {"MeshTextureCoords", 0xF6F23F40, 0x7686, 0x11cf, {0x8F, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xA3},
     {{false, TOK_DWORD, nullptr, "nTextureCoords", nullptr},
      {true, 0, "Coords2d", "textureCoords", "nTextureCoords"}}, 2, 0},
    {"MeshMaterialList", 0xF6F23F42, 0x7686, 0x11cf, {0x8F, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xA3},
     {{false, TOK_DWORD, nullptr, "nMaterials", nullptr}, {false, TOK_DWORD, nullptr, "nFaceIndexes", nullptr},
      {true, TOK_DWORD, nullptr, "faceIndexes", "nFaceIndexes"}}, 3, 2},
    {"MeshNormals", 0xF6F23F43, 0x7686, 0x11cf, {0x8F, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xA3},
     {{false, TOK_DWORD, nullptr, "nNormals", nullptr}, {true, 0, "Vector", "normals", "nNormals"},
      {false, TOK_DWORD, nullptr, "nFaceNormals", nullptr}, {true, 0, "MeshFace", "faceNormals", "nFaceNormals"}}, 4, 0},
    {"Mesh", 0x3D82AB44, 0x62DA, 0x11cf, {0xAB, 0x39, 0x00, 0x20, 0xAF, 0x71, 0xE4, 0x33},
     {{false, TOK_DWORD, nullptr, "nVertices", nullptr}, {true, 0, "Vector", "vertices", "nVertices"},
      {false, TOK_DWORD, nullptr, "nFaces", nullptr}, {true, 0, "MeshFace", "faces", "nFaces"}}, 4, 1},
};

void WriteTemplates(XWriter& x)
{
    for (const X_TEMPLATE& t : kTemplates) {
        x.Token(TOK_TEMPLATE);
        x.Name(t.name);
        x.Token(TOK_OBRACE);
        x.Guid(t.d1, t.d2, t.d3, t.d4);
        for (int i = 0; i < t.memberCount; ++i) {
            const X_MEMBER& m = t.members[i];
            if (m.array) x.Token(TOK_ARRAY);
            if (m.type) x.Token(m.type);
            else x.Name(m.typeName);
            x.Name(m.name);
            if (m.array) {
                x.Token(TOK_OBRACKET);
                x.Name(m.size);
                x.Token(TOK_CBRACKET);
            }
            x.Token(TOK_SEMICOLON);
        }
        if (t.open == 1) {
            x.Token(TOK_OBRACKET);
            for (int i = 0; i < 3; ++i) x.Token(TOK_DOT);
            x.Token(TOK_CBRACKET);
        } else if (t.open == 2) {
            const X_TEMPLATE& material = kTemplates[6];
            x.Token(TOK_OBRACKET);
            x.Name(material.name);
            x.Guid(material.d1, material.d2, material.d3, material.d4);
            x.Token(TOK_CBRACKET);
        }
        x.Token(TOK_CBRACE);
    }
}

// The face list of one triangle per three vertices, after its count.
void PutTriangles(std::vector<uint32_t>& ints, uint32_t triangles)
{
    ints.push_back(triangles);
    for (uint32_t t = 0; t < triangles; ++t) {
        ints.push_back(3);
        for (uint32_t j = 0; j < 3; ++j) ints.push_back(3 * t + j);
    }
}

} // namespace

bool X_Write(const MODEL3* m, std::vector<uint8_t>& out)
{
    if (!m) return false;
    const size_t faces = m->faceCount < 0 ? 0 : std::min<size_t>((size_t)m->faceCount, m->faces.size());
    // Fan triangles (corner 0, t + 1, t + 2), each with its own three vertices.
    std::vector<float> positions, normals, uvs;
    for (size_t f = 0; f < faces; ++f) {
        const FACE3& face = m->faces[f];
        const int n = face.cornerCount > 4 ? 4 : face.cornerCount;
        for (int t = 0; t + 2 < n; ++t) {
            const int corners[3] = {0, t + 1, t + 2};
            for (int c : corners) {
                XYZ p = Model3_PositionAt(m, face.corners[c][CORNER_POS]);
                XYZ nm = Model3_NormalAt(m, face.corners[c][CORNER_NORMAL]);
                UV2 uv = Model3_UVAt(m, face.corners[c][CORNER_UV]);
                positions.insert(positions.end(), {p.x / 5.0f, p.y / 5.0f, p.z / 5.0f});
                normals.insert(normals.end(), {nm.x, nm.y, nm.z});
                uvs.insert(uvs.end(), {uv.u, uv.v});
            }
        }
    }
    const uint32_t vertices = (uint32_t)(positions.size() / 3);
    const uint32_t triangles = vertices / 3;
    if (!triangles) return false;

    XWriter x;
    x.w.Bytes("xof 0303bin 0032", 16);
    WriteTemplates(x);

    x.Name("Mesh");
    x.Token(TOK_OBRACE);
    std::vector<uint32_t> ints{vertices};
    x.Ints(ints);
    x.Floats(positions);
    ints.clear();
    PutTriangles(ints, triangles);
    x.Ints(ints);

    x.Name("MeshNormals");
    x.Token(TOK_OBRACE);
    x.Ints({vertices});
    x.Floats(normals);
    ints.clear();
    PutTriangles(ints, triangles);
    x.Ints(ints);
    x.Token(TOK_CBRACE);

    x.Name("MeshTextureCoords");
    x.Token(TOK_OBRACE);
    x.Ints({vertices});
    x.Floats(uvs);
    x.Token(TOK_CBRACE);

    x.Name("MeshMaterialList");
    x.Token(TOK_OBRACE);
    ints.assign({1u, triangles});
    ints.resize(2 + (size_t)triangles, 0);
    x.Ints(ints);
    x.Name("Material");
    x.Token(TOK_OBRACE);
    // White, no power, black specular and emissive.
    x.Floats({1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0});
    if (m->textures.size() > 1 && m->textures[1].used == 1 && m->textures[1].file[0]) {
        x.Name("TextureFilename");
        x.Token(TOK_OBRACE);
        x.String(m->textures[1].file);
        x.Token(TOK_CBRACE);
    }
    x.Token(TOK_CBRACE);
    x.Token(TOK_CBRACE);

    x.Token(TOK_CBRACE);
    out.swap(x.w.Data());
    return true;
}

int32_t X_Export(int32_t id, const char* path)
{
    MODEL3* m = Model3_GetById(id);
    std::vector<uint8_t> bytes;
    if (!m || !X_Write(m, bytes)) return 0;
    return File_WriteAll(path, bytes.data(), bytes.size()) ? 1 : 0;
}
