#include "convert/lwo_file.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>

#include "frame/bytes.h"
#include "frame/text.h"
#include "model/model_table.h"

using namespace QVL;

namespace {

struct LWO_SURFACE {
    std::string name;
    bool hasColour = false;
    float colour[3] = {128, 128, 128};
};

bool IdIs(const uint8_t* id, const char* name) { return std::memcmp(id, name, 4) == 0; }

// NUL-terminated names, each padded to an even length.
bool ReadNames(ByteReader& r, size_t end, std::vector<std::string>& names)
{
    while (r.Pos() < end) {
        std::string name;
        uint8_t c = 0;
        for (;;) {
            if (r.Pos() >= end || !r.U8(c)) return false;
            if (!c) break;
            name += (char)c;
        }
        if ((name.size() + 1) % 2 && r.Pos() < end && !r.Skip(1)) return false;
        names.push_back(name);
    }
    return true;
}

bool ReadSurf(ByteReader& r, size_t end, std::vector<LWO_SURFACE>& surfaces, int32_t& current)
{
    // The name alone: one NUL-terminated text with its pad.
    std::string text;
    uint8_t c = 0;
    for (;;) {
        if (r.Pos() >= end || !r.U8(c)) return false;
        if (!c) break;
        text += (char)c;
    }
    if ((text.size() + 1) % 2 && r.Pos() < end && !r.Skip(1)) return false;
    int32_t match = -1;
    for (size_t i = 0; i < surfaces.size(); ++i)
        if (surfaces[i].name == text) match = (int32_t)i;
    // A name that matches no SRFS entry takes the surface after the previous SURF's.
    if (match >= 0) current = match;
    else current = current + 1;
    while (r.Pos() < end) {
        uint8_t id[4];
        uint16_t len = 0;
        if (!r.Bytes(id, 4) || !r.U16(len) || r.Pos() + len > end) return false;
        const size_t next = r.Pos() + len;
        if (IdIs(id, "COLR") && len >= 3 && current >= 0 && (size_t)current < surfaces.size()) {
            uint8_t rgb[3];
            r.Bytes(rgb, 3);
            LWO_SURFACE& s = surfaces[(size_t)current];
            s.hasColour = true;
            for (int k = 0; k < 3; ++k) s.colour[k] = rgb[k];
        }
        if (!r.Seek(next + (len & 1) > end ? end : next + (len & 1))) return false;
    }
    return true;
}

// Polygons flat: per polygon its first point in `points`, its point count and its surface.
struct LWO_POLYS {
    std::vector<int32_t> points;
    std::vector<int32_t> first, count, surface;
};

bool ReadPols(ByteReader& r, size_t end, int32_t pointCount, LWO_POLYS& polys)
{
    polys.points.reserve(polys.points.size() + (end - r.Pos()) / 2);
    while (r.Pos() + 2 <= end) {
        uint16_t n = 0;
        if (!r.U16(n)) return false;
        if (n == 0 || r.Pos() + 2 * (size_t)n + 2 > end) return false;
        polys.first.push_back((int32_t)polys.points.size());
        polys.count.push_back(n);
        for (uint16_t k = 0; k < n; ++k) {
            uint16_t index = 0;
            if (!r.U16(index) || index >= pointCount) return false;
            polys.points.push_back(index);
        }
        int16_t surface = 0;
        if (!r.I16(surface)) return false;
        if (surface < 0) {
            // A negative number is the surface of a polygon with detail polygons after it; they are
            // polygons of the model all the same.
            surface = (int16_t)-surface;
            uint16_t details = 0;
            if (!r.U16(details)) return false;
        }
        polys.surface.push_back(surface);
        if ((int64_t)polys.count.size() > 4 * (int64_t)Import_MaxFaces()) return false;
    }
    return r.Pos() == end;
}

} // namespace

IMPORT_RESULT Lwo_Read(const uint8_t* data, size_t size, IMPORT_MODEL& im)
{
    ByteReader r(data, size, true);
    uint8_t head[4], type[4];
    uint32_t formLength = 0;
    if (!r.Bytes(head, 4) || !r.U32(formLength) || !r.Bytes(type, 4)) return IMPORT_DAMAGED;
    // LWO2 lays its chunks out otherwise: refused before any of them is read.
    if (!IdIs(head, "FORM") || !IdIs(type, "LWOB")) return IMPORT_DAMAGED;
    // The form may claim more than the file holds; in 64 bits, so no length wraps.
    const uint64_t formEnd64 = 8 + (uint64_t)formLength;
    if (formLength < 4 || formEnd64 > size) return IMPORT_DAMAGED;
    const size_t formEnd = (size_t)formEnd64;

    std::vector<XYZ> points;
    std::vector<LWO_SURFACE> surfaces;
    LWO_POLYS polys;
    bool havePnts = false, haveSrfs = false, havePols = false;
    int32_t current = -1;
    while (r.Pos() + 8 <= formEnd) {
        uint8_t id[4];
        uint32_t len = 0;
        if (!r.Bytes(id, 4) || !r.U32(len)) return IMPORT_DAMAGED;
        if ((uint64_t)r.Pos() + len > formEnd) return IMPORT_DAMAGED;
        const size_t end = r.Pos() + len;
        if (IdIs(id, "PNTS")) {
            if (len % 12) return IMPORT_DAMAGED;
            if (len / 12 > (uint64_t)Import_MaxPositions()) {
                im.askedPositions = len / 12;
                return IMPORT_TOO_MANY;
            }
            points.resize(len / 12);
            for (XYZ& p : points) r.F32s(&p.x, 3);
            havePnts = true;
        } else if (IdIs(id, "SRFS")) {
            std::vector<std::string> names;
            if (!ReadNames(r, end, names)) return IMPORT_DAMAGED;
            if (names.size() > (size_t)kModel3Groups) return IMPORT_DAMAGED;
            surfaces.assign(names.size(), LWO_SURFACE());
            for (size_t i = 0; i < names.size(); ++i) surfaces[i].name = names[i];
            current = -1;
            haveSrfs = true;
        } else if (IdIs(id, "POLS")) {
            // Point numbers are checked against the points read before.
            if (!ReadPols(r, end, (int32_t)points.size(), polys)) return IMPORT_DAMAGED;
            havePols = true;
        } else if (IdIs(id, "SURF")) {
            if (!ReadSurf(r, end, surfaces, current)) return IMPORT_DAMAGED;
        }
        if (!r.Ok()) return IMPORT_DAMAGED;
        // IFF pads a chunk of odd length to an even one.
        size_t next = end + (len & 1);
        if (!r.Seek(next > formEnd ? formEnd : next)) return IMPORT_DAMAGED;
    }
    if (!havePnts || !haveSrfs || !havePols) return IMPORT_DAMAGED;

    im.positions.resize(points.size());
    for (size_t i = 0; i < points.size(); ++i)
        im.positions[i] = XYZ{points[i].x * 10.0f, points[i].y * 10.0f, points[i].z * 10.0f};
    // Each polygon's group: the last surface with exactly its colour.
    std::unordered_map<uint64_t, int32_t> lastOfColour;
    for (size_t s = 0; s < surfaces.size(); ++s) {
        LWO_SURFACE& sf = surfaces[s];
        GROUP3& g = im.groups[s];
        for (int k = 0; k < 3; ++k) g.color[k] = sf.colour[k];
        g.alpha = 255.0f;
        // Colours are whole bytes, so the three of them make an exact key.
        uint64_t k = ((uint64_t)(uint8_t)sf.colour[0] << 16) | ((uint64_t)(uint8_t)sf.colour[1] << 8) | (uint8_t)sf.colour[2];
        lastOfColour[k] = (int32_t)s;
    }
    im.groupCount = surfaces.empty() ? 1 : (int32_t)surfaces.size();
    const size_t polyCount = polys.count.size();
    im.colors.reserve(polyCount);
    im.faces.reserve(polyCount);
    im.uvs.assign(1, UV2{0, 0});
    std::vector<int32_t> corners;
    for (size_t p = 0; p < polyCount; ++p) {
        const int32_t surface = polys.surface[p];
        if (surface < 1 || surface > (int32_t)surfaces.size()) return IMPORT_DAMAGED;
        const LWO_SURFACE& sf = surfaces[(size_t)surface - 1];
        im.colors.push_back(RGBA{sf.colour[0], sf.colour[1], sf.colour[2], 255.0f});
        uint64_t k = ((uint64_t)(uint8_t)sf.colour[0] << 16) | ((uint64_t)(uint8_t)sf.colour[1] << 8) | (uint8_t)sf.colour[2];
        const int32_t group = lastOfColour[k];
        const int32_t n = polys.count[p];
        corners.assign((size_t)n * 4, 0);
        for (int32_t c = 0; c < n; ++c) {
            corners[(size_t)c * 4 + CORNER_POS] = polys.points[(size_t)(polys.first[p] + c)];
            corners[(size_t)c * 4 + CORNER_COLOR] = (int32_t)p;
        }
        Import_AddPolygon(im, (const int32_t(*)[4])corners.data(), n, group);
        if ((int64_t)im.faces.size() > Import_MaxFaces()) {
            im.askedFaces = (int64_t)im.faces.size();
            return IMPORT_TOO_MANY;
        }
    }
    return IMPORT_OK;
}

int32_t Lwo_Import(int32_t id, const char* path)
{
    return Import_FromFile(id, path, "LWO", Lwo_Read);
}

namespace {

// A chunk in the making: its ID and length go in front of its data when it is closed.
void PutChunk(ByteWriter& parent, const char* id, const ByteWriter& data)
{
    parent.Bytes(id, 4);
    parent.U32((uint32_t)data.Size());
    parent.Bytes(data.Data().data(), data.Size());
}

void PutSubChunk(ByteWriter& parent, const char* id, const ByteWriter& data)
{
    parent.Bytes(id, 4);
    parent.U16((uint16_t)data.Size());
    parent.Bytes(data.Data().data(), data.Size());
}

void PutName(ByteWriter& w, int index)
{
    char name[16];
    Str_Format(name, sizeof name, "QV%d", index);
    size_t len = std::strlen(name) + 1;
    w.Bytes(name, len);
    if (len % 2) w.U8(0);
}

uint8_t ColourByte(float v)
{
    // Truncated toward zero; out of the byte's range it is held at its ends.
    if (!(v > 0.0f)) return 0;
    if (v >= 255.0f) return 255;
    return (uint8_t)(int)v;
}

} // namespace

bool Lwo_Write(const MODEL3* m, std::vector<uint8_t>& out)
{
    if (!m) return false;
    const int32_t positions = m->positionCount < 0 ? 0 : (int32_t)std::min<size_t>((size_t)m->positionCount, m->positions.size());
    const int32_t faces = m->faceCount < 0 ? 0 : (int32_t)std::min<size_t>((size_t)m->faceCount, m->faces.size());
    // Point numbers are 16 bits in LWOB.
    if (positions > 65536) return false;

    // One surface per distinct colour byte triple, in order of first use; a hash, not a scan.
    std::unordered_map<uint32_t, int32_t> surfaceOf;
    std::vector<uint32_t> colours;
    std::vector<int32_t> faceSurface((size_t)faces);
    for (int32_t f = 0; f < faces; ++f) {
        const FACE3& face = m->faces[(size_t)f];
        RGBA c = Model3_ColorAt(m, face.corners[0][CORNER_COLOR]);
        uint32_t key = (uint32_t)ColourByte(c.r) << 16 | (uint32_t)ColourByte(c.g) << 8 | ColourByte(c.b);
        auto it = surfaceOf.find(key);
        if (it == surfaceOf.end()) {
            if (colours.size() >= 32767) return false;   // surface numbers are 16-bit signed
            it = surfaceOf.emplace(key, (int32_t)colours.size()).first;
            colours.push_back(key);
        }
        faceSurface[(size_t)f] = it->second;
    }

    ByteWriter root(true);
    root.Bytes("LWOB", 4);
    ByteWriter srfs(true);
    for (size_t s = 0; s < colours.size(); ++s) PutName(srfs, (int)s);
    PutChunk(root, "SRFS", srfs);
    ByteWriter pnts(true);
    for (int32_t i = 0; i < positions; ++i) {
        const XYZ& p = m->positions[(size_t)i];
        pnts.F32(p.x * 0.1f);
        pnts.F32(p.y * 0.1f);
        pnts.F32(p.z * 0.1f);
    }
    PutChunk(root, "PNTS", pnts);
    ByteWriter pols(true);
    for (int32_t f = 0; f < faces; ++f) {
        const FACE3& face = m->faces[(size_t)f];
        const int n = face.cornerCount > 4 ? 4 : face.cornerCount;
        pols.U16((uint16_t)n);
        for (int k = 0; k < n; ++k) pols.U16((uint16_t)face.corners[k][CORNER_POS]);
        pols.U16((uint16_t)(faceSurface[(size_t)f] + 1));
    }
    PutChunk(root, "POLS", pols);
    for (size_t s = 0; s < colours.size(); ++s) {
        ByteWriter surf(true), sub(true);
        PutName(surf, (int)s);
        const uint8_t colr[4] = {(uint8_t)(colours[s] >> 16), (uint8_t)(colours[s] >> 8), (uint8_t)colours[s], 0};
        sub.Bytes(colr, 4);
        PutSubChunk(surf, "COLR", sub);
        sub.Data().clear();
        sub.U16(0x0104);   // smoothing, double-sided
        PutSubChunk(surf, "FLAG", sub);
        sub.Data().clear();
        sub.U32(0x3F46D3F2u);   // 44.5 degrees in radians
        PutSubChunk(surf, "SMAN", sub);
        const char* const kZeroOr256[4] = {"DIFF", "TRAN", "SPEC", "GLOS"};
        for (int i = 0; i < 4; ++i) {
            sub.Data().clear();
            sub.U16(i == 0 ? 256 : 0);
            PutSubChunk(surf, kZeroOr256[i], sub);
        }
        PutChunk(root, "SURF", surf);
    }
    ByteWriter file(true);
    PutChunk(file, "FORM", root);
    out.swap(file.Data());
    return true;
}

int32_t Lwo_Export(int32_t id, const char* path)
{
    MODEL3* m = Model3_GetById(id);
    std::vector<uint8_t> bytes;
    if (!m || !Lwo_Write(m, bytes)) return 0;
    return File_WriteAll(path, bytes.data(), bytes.size()) ? 1 : 0;
}
