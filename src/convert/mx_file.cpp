#include "convert/mx_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "frame/bytes.h"
#include "frame/text.h"
#include "model/model_table.h"

using namespace QVL;

namespace {

constexpr size_t kHeaderBytes = 32;
constexpr size_t kObjectBytes = 60;
constexpr size_t kFaceBytes = 168;
constexpr size_t kNameBytes = 16;

// The folder part of a path, separator included ("" for a bare name).
std::string FolderOf(const char* path)
{
    const char* back = Str_FindLastChar(path, '\\');
    const char* slash = std::strrchr(path, '/');
    const char* sep = back > slash ? back : slash;
    return sep ? std::string(path, (size_t)(sep - path) + 1) : std::string();
}

// Texels per UV unit: the picture's size, or 1 when there is no picture to measure.
void PictureScale(const std::string& file, float& w, float& h)
{
    int32_t pw = 0, ph = 0;
    w = h = 1.0f;
    if (!file.empty() && Bmp_ReadSize(file.c_str(), pw, ph) && pw > 0 && ph > 0) {
        w = (float)pw;
        h = (float)ph;
    }
}

} // namespace

bool Bmp_ReadSize(const char* path, int32_t& width, int32_t& height)
{
    FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    uint8_t head[26] = {};
    size_t got = std::fread(head, 1, sizeof head, f);
    std::fclose(f);
    if (got < sizeof head || head[0] != 'B' || head[1] != 'M') return false;
    ByteReader r(head, got);
    r.Seek(18);
    int32_t w = 0, h = 0;
    r.I32(w);
    r.I32(h);
    width = w;
    height = h < 0 ? -h : h;   // a negative height is a top-down picture
    return r.Ok();
}

IMPORT_RESULT Mx_Read(const uint8_t* data, size_t size, const char* folder, IMPORT_MODEL& im)
{
    ByteReader r(data, size);
    int32_t h[8] = {};
    if (!r.I32s(h, 8)) return IMPORT_DAMAGED;
    if (h[2] < 0 || h[4] < 0 || h[6] < 0) return IMPORT_DAMAGED;
    const size_t objects = (size_t)h[2] / kObjectBytes;
    const size_t faces = (size_t)h[4] / kFaceBytes;
    const size_t names = (size_t)h[6] / kNameBytes;
    // The blocks follow one another; the counts must fit the bytes and the model.
    if (names > (size_t)kModel3Groups) return IMPORT_DAMAGED;
    // In 64 bits: three counts from the file could pass 4 GB together in the 32-bit studio.
    if ((uint64_t)objects * kObjectBytes + (uint64_t)faces * kFaceBytes + (uint64_t)names * kNameBytes > r.Left())
        return IMPORT_DAMAGED;
    if (faces > (size_t)Import_MaxFaces()) {
        im.askedFaces = (int64_t)faces;
        return IMPORT_TOO_MANY;
    }
    r.Skip(objects * kObjectBytes);
    const size_t faceStart = r.Pos();
    r.Skip(faces * kFaceBytes);
    std::vector<std::string> nameList(names);
    std::vector<float> width(names + 1, 1.0f), height(names + 1, 1.0f);
    for (size_t t = 0; t < names; ++t) {
        // Sixteen bytes that need not hold a NUL.
        char name[kNameBytes + 1] = {};
        r.Bytes(name, kNameBytes);
        nameList[t] = name;
    }
    if (!r.Ok()) return IMPORT_DAMAGED;
    // Texture numbers are positions in the name block, empty names included: entry t + 1.
    im.textures.assign(names, std::string());
    for (size_t t = 0; t < names; ++t) {
        if (nameList[t].empty()) continue;
        im.textures[t] = nameList[t] + ".bmp";
        PictureScale(std::string(folder) + im.textures[t], width[t + 1], height[t + 1]);
    }

    ByteReader fr(data, size);
    fr.Seek(faceStart);
    im.positions.resize(faces * 4);
    im.normals.resize(faces * 4);
    im.colors.resize(faces * 4);
    im.uvs.resize(faces * 4);
    im.faces.resize(faces);
    int32_t highestGroup = -1;
    for (size_t f = 0; f < faces; ++f) {
        float rec[40];   // 32 floats of corners and normals, 8 of UVs
        uint32_t colour = 0;
        int16_t texture = 0, group = 0;
        fr.F32s(rec, 40);
        fr.U32(colour);
        fr.I16(texture);
        fr.I16(group);
        if (!fr.Ok()) return IMPORT_DAMAGED;
        if (group < 0 || group >= kModel3Groups || texture < -1 || texture >= (int32_t)names) return IMPORT_DAMAGED;
        // A texture number naming an empty entry has no picture: the face is untextured.
        const int32_t entry = texture >= 0 && !nameList[(size_t)texture].empty() ? texture + 1 : 0;
        im.groups[(size_t)group].texture = entry;
        if (group > highestGroup) highestGroup = group;
        FACE3& face = im.faces[f];
        face = FACE3();
        face.cornerCount = 4;
        face.group = group;
        const RGBA c{(float)((colour >> 16) & 255), (float)((colour >> 8) & 255), (float)(colour & 255), 255.0f};
        for (int k = 0; k < 4; ++k) {
            const size_t slot = f * 4 + (size_t)k;
            const float* p = &rec[(3 - k) * 4];
            const float* n = &rec[16 + (3 - k) * 4];
            im.positions[slot] = XYZ{p[0], -p[1], -p[2]};
            im.normals[slot] = XYZ{n[0], -n[1], -n[2]};
            im.colors[slot] = c;
            im.uvs[slot] = UV2{rec[32 + k * 2] / width[(size_t)entry], rec[33 + k * 2] / height[(size_t)entry]};
            for (int i = 0; i < 4; ++i) face.corners[k][i] = (int32_t)slot;
        }
    }
    int32_t groups = (int32_t)names > highestGroup + 1 ? (int32_t)names : highestGroup + 1;
    im.groupCount = groups < 1 ? 1 : groups;
    im.calcNormals = false;
    return IMPORT_OK;
}

int32_t Mx_Import(int32_t id, const char* path)
{
    std::vector<uint8_t> bytes;
    if (!Import_ReadFile(path, "MX", bytes)) return 0;
    IMPORT_MODEL im;
    IMPORT_RESULT result = Mx_Read(bytes.data(), bytes.size(), FolderOf(path).c_str(), im);
    return Import_Finish(id, path, "MX", result, im);
}

namespace {

int32_t ColourComponent(float v)
{
    if (!(v > 0.0f)) return 0;
    return v >= 255.0f ? 255 : (int32_t)v;
}

} // namespace

bool Mx_Write(const MODEL3* m, std::vector<uint8_t>& out)
{
    if (!m) return false;
    const int32_t faceTotal = m->faceCount < 0 ? 0 : (int32_t)std::min<size_t>((size_t)m->faceCount, m->faces.size());
    // Texture numbers and their pixel sizes, by entry.
    std::vector<float> width(kModel3Textures, 1.0f), height(kModel3Textures, 1.0f);
    std::vector<std::string> names(kModel3Textures);
    for (int i = 1; i < kModel3Textures && (size_t)i < m->textures.size(); ++i) {
        const TEXTURE3& t = m->textures[(size_t)i];
        if (t.used != 1) continue;
        if (t.width > 0 && t.height > 0) {
            width[(size_t)i] = (float)t.width;
            height[(size_t)i] = (float)t.height;
        } else {
            PictureScale(t.path[0] ? t.path : t.file, width[(size_t)i], height[(size_t)i]);
        }
        // The name without its last four characters (".bmp"), in the 15 characters the entry holds.
        size_t len = std::strlen(t.file);
        len = len > 4 ? len - 4 : 0;
        if (len > kNameBytes - 1) len = kNameBytes - 1;
        names[(size_t)i - 1].assign(t.file, Str_BoundaryBefore(t.file, len));
    }

    ByteWriter faces;
    int32_t written = 0, highestGroup = -1, highestTexture = -1;
    for (int32_t f = 0; f < faceTotal; ++f) {
        const FACE3& face = m->faces[(size_t)f];
        // A face record has four corners: a triangle repeats corner 0; fewer corners are no face.
        if (face.cornerCount < 3) continue;
        const int corners = face.cornerCount > 4 ? 4 : face.cornerCount;
        const int32_t group = face.group >= 0 && face.group < kModel3Groups ? face.group : 0;
        if (group > highestGroup) highestGroup = group;
        const GROUP3* g = (size_t)group < m->groups.size() ? &m->groups[(size_t)group] : nullptr;
        int32_t texture = g ? g->texture : 0;
        if (texture < 1 || texture >= kModel3Textures || (size_t)texture >= m->textures.size() ||
            m->textures[(size_t)texture].used != 1)
            texture = 0;
        if (texture - 1 > highestTexture) highestTexture = texture - 1;
        int order[4] = {0, 1, 2, corners == 4 ? 3 : 0};
        uint8_t rec[kFaceBytes] = {};
        ByteWriter w;
        // Positions, corner 3 first.
        for (int k = 3; k >= 0; --k) {
            XYZ p = Model3_PositionAt(m, face.corners[order[k]][CORNER_POS]);
            const float v[4] = {p.x, -p.y, -p.z, 1.0f};
            w.F32s(v, 4);
        }
        // Normals in the order and axes of the positions, as the reader takes them.
        for (int k = 3; k >= 0; --k) {
            XYZ n = Model3_NormalAt(m, face.corners[order[k]][CORNER_NORMAL]);
            const float v[4] = {n.x, -n.y, -n.z, 0.0f};
            w.F32s(v, 4);
        }
        for (int k = 0; k < 4; ++k) {
            UV2 uv = Model3_UVAt(m, face.corners[order[k]][CORNER_UV]);
            w.F32(uv.u * width[(size_t)texture]);
            w.F32(uv.v * height[(size_t)texture]);
        }
        const RGBA c = Model3_ColorAt(m, face.corners[order[3]][CORNER_COLOR]);
        w.U32((uint32_t)ColourComponent(c.r) << 16 | (uint32_t)ColourComponent(c.g) << 8 | (uint32_t)ColourComponent(c.b));
        w.I16((int16_t)(texture - 1));
        w.I16((int16_t)group);
        std::memcpy(rec, w.Data().data(), sizeof rec);
        faces.Bytes(rec, sizeof rec);
        ++written;
    }
    // Names for every group and every texture a face uses.
    size_t nameCount = (size_t)std::max(highestGroup + 1, highestTexture + 1);

    ByteWriter file;
    const uint8_t magic[4] = {'M', 'X', 'F', 0};
    file.Bytes(magic, 4);
    file.I32(256);
    file.I32((int32_t)kObjectBytes);
    file.I32((int32_t)kHeaderBytes);
    file.I32((int32_t)faces.Size());
    file.I32((int32_t)(kHeaderBytes + kObjectBytes));
    file.I32((int32_t)(nameCount * kNameBytes));
    file.I32((int32_t)(kHeaderBytes + kObjectBytes + faces.Size()));
    file.Zeros(32);
    const float one[3] = {1.0f, 1.0f, 1.0f};
    file.F32s(one, 3);
    file.I32(0);
    file.U16(1);
    file.U16((uint16_t)written);
    file.Zeros(8);
    file.Bytes(faces.Data().data(), faces.Size());
    for (size_t t = 0; t < nameCount; ++t) file.FixedStr(names[t].c_str(), kNameBytes);
    out.swap(file.Data());
    return true;
}

int32_t Mx_Export(int32_t id, const char* path)
{
    MODEL3* m = Model3_GetById(id);
    std::vector<uint8_t> bytes;
    if (!m || !Mx_Write(m, bytes)) return 0;
    return File_WriteAll(path, bytes.data(), bytes.size()) ? 1 : 0;
}
