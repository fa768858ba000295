#include "convert/import_model.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "frame/bytes.h"
#include "frame/lib.h"
#include "frame/services.h"
#include "frame/text.h"
#include "model/gpu_services.h"
#include "model/model_table.h"
#include "model/normals.h"

using namespace QVL;

namespace {

// The groups in their defaults, made once: every import starts from a copy.
const std::vector<GROUP3>& DefaultGroups()
{
    static const std::vector<GROUP3> groups = [] {
        std::vector<GROUP3> g(kModel3Groups);
        for (int i = 0; i < kModel3Groups; ++i) Group3_Reset(&g[(size_t)i], i);
        return g;
    }();
    return groups;
}

} // namespace

IMPORT_MODEL::IMPORT_MODEL() : groups(DefaultGroups()) {}

int32_t Import_MaxFaces()
{
    return g_Lib.maxPolygons > 0 ? g_Lib.maxPolygons : 65000;
}

int32_t Import_MaxPositions()
{
    return Import_MaxFaces() * 4;
}

IMPORT_RESULT Import_CheckLimits(const IMPORT_MODEL& im)
{
    const size_t most = (size_t)Import_MaxPositions();
    if (im.faces.size() > (size_t)Import_MaxFaces()) return IMPORT_TOO_MANY;
    if (im.positions.size() > most || im.normals.size() > most || im.colors.size() > most || im.uvs.size() > most)
        return IMPORT_TOO_MANY;
    return IMPORT_OK;
}

void Import_AddPolygon(IMPORT_MODEL& im, const int32_t (*corners)[4], int count, int32_t group)
{
    FACE3 f = {};
    f.group = group;
    if (count <= 4) {
        f.cornerCount = (uint8_t)(count < 0 ? 0 : count);
        for (int k = 0; k < f.cornerCount; ++k) std::memcpy(f.corners[k], corners[k], sizeof f.corners[k]);
        im.faces.push_back(f);
        return;
    }
    // A face holds four corners at most: larger polygons become the fan of triangles around corner 0.
    f.cornerCount = 3;
    for (int t = 0; t + 2 < count; ++t) {
        std::memcpy(f.corners[0], corners[0], sizeof f.corners[0]);
        std::memcpy(f.corners[1], corners[t + 1], sizeof f.corners[1]);
        std::memcpy(f.corners[2], corners[t + 2], sizeof f.corners[2]);
        im.faces.push_back(f);
    }
}

bool Import_ReadFile(const char* path, const char* format, std::vector<uint8_t>& bytes)
{
    if (File_ReadAll(path, bytes)) return true;
    File_ReportDamaged(format, path);
    return false;
}

void Import_Apply(int32_t id, MODEL3* m, IMPORT_MODEL& im, const char* path)
{
    m->positions.swap(im.positions);
    m->normals.swap(im.normals);
    m->colors.swap(im.colors);
    m->uvs.swap(im.uvs);
    m->faces.swap(im.faces);
    m->positionCount = (int32_t)m->positions.size();
    m->normalCount = (int32_t)m->normals.size();
    m->colorCount = (int32_t)m->colors.size();
    m->uvCount = (int32_t)m->uvs.size();
    m->faceCount = (int32_t)m->faces.size();
    m->groups.swap(im.groups);
    m->groupCount = im.groupCount;
    m->textures.resize(kModel3Textures);
    for (TEXTURE3& t : m->textures) Model3_ClearTexture(&t);
    size_t textures = im.textures.size() < (size_t)kModel3Textures - 1 ? im.textures.size() : (size_t)kModel3Textures - 1;
    bool anyTexture = false;
    for (size_t i = 0; i < textures; ++i) {
        if (im.textures[i].empty()) continue;
        TEXTURE3& t = m->textures[i + 1];
        t.used = 1;
        Str_CopyN(t.file, sizeof t.file, im.textures[i].c_str());
        Str_CopyN(t.path, sizeof t.path, im.textures[i].c_str());
        anyTexture = true;
    }
    m->textureCount = (int16_t)(textures + 1);
    if (im.tintWhite) m->tint[0] = m->tint[1] = m->tint[2] = m->tint[3] = 255.0f;
    Str_CopyN(m->file, sizeof m->file, path);
    Model3_FitArrays(m);
    if (im.calcNormals) Model3_CalcNormals(m);
    m->gpuRebuild = 1;
    if (anyTexture) Model3_Notify(id, MODEL3_EVENT_MEDIA);
}

int32_t Import_Finish(int32_t id, const char* path, const char* format, IMPORT_RESULT result, IMPORT_MODEL& im)
{
    MODEL3* m = Model3_GetById(id);
    if (!m) return 0;
    if (result == IMPORT_OK) result = Import_CheckLimits(im);
    if (result == IMPORT_DAMAGED) {
        File_ReportDamaged(format, path);
        return 0;
    }
    if (result == IMPORT_TOO_MANY) {
        char text[800];
        const int64_t faces = im.askedFaces > (int64_t)im.faces.size() ? im.askedFaces : (int64_t)im.faces.size();
        const int64_t positions =
            im.askedPositions > (int64_t)im.positions.size() ? im.askedPositions : (int64_t)im.positions.size();
        if (faces > Import_MaxFaces())
            Str_Format(text, sizeof text, "%s : ポリゴン数 %lld ( 最大%dを超えています )", path, (long long)faces,
                       (int)Import_MaxFaces());
        else
            Str_Format(text, sizeof text, "%s : 頂点数 %lld ( 最大%dを超えています )", path, (long long)positions,
                       (int)Import_MaxPositions());
        Lib_MessageBox(text);
        return 0;
    }
    Import_Apply(id, m, im, path);
    Lib_ResetFrameTimer();
    return 1;
}

bool TextLines::Next(std::string& line)
{
    const char* start = nullptr;
    size_t length = 0;
    if (!Next(start, length)) return false;
    line.assign(start, length);
    return true;
}

bool TextLines::Next(const char*& line, size_t& length)
{
    if (m_p >= m_end) return false;
    const char* start = m_p;
    while (m_p < m_end && *m_p != '\r' && *m_p != '\n') ++m_p;
    line = start;
    length = (size_t)(m_p - start);
    if (m_p < m_end) {
        char first = *m_p++;
        // CR LF and LF CR are one line end; a doubled one is an empty line.
        if (m_p < m_end && (*m_p == '\r' || *m_p == '\n') && *m_p != first) ++m_p;
    }
    return true;
}

namespace {

bool OnlyBlanks(const char* s)
{
    for (; *s; ++s)
        if (*s != ' ' && *s != '\t') return false;
    return true;
}

} // namespace

bool Import_ParseFloat(const char* s, float& v)
{
    char* end = nullptr;
    errno = 0;
    double d = std::strtod(s, &end);
    if (end == s || !OnlyBlanks(end)) return false;
    // Beyond float range (or NaN) is not a coordinate.
    if (!(d >= -3.0e38 && d <= 3.0e38)) return false;
    v = (float)d;
    return true;
}

bool Import_ParseInt(const char* s, int32_t& v)
{
    char* end = nullptr;
    errno = 0;
    long long n = std::strtoll(s, &end, 10);
    if (end == s || !OnlyBlanks(end) || errno == ERANGE || n < INT32_MIN || n > INT32_MAX) return false;
    v = (int32_t)n;
    return true;
}

int32_t Import_FromFile(int32_t id, const char* path, const char* format, IMPORT_READER read)
{
    std::vector<uint8_t> bytes;
    if (!Import_ReadFile(path, format, bytes)) return 0;
    IMPORT_MODEL im;
    IMPORT_RESULT result = read(bytes.data(), bytes.size(), im);
    return Import_Finish(id, path, format, result, im);
}
