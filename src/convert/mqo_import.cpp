#include "convert/mqo_import.h"

#include <cstring>
#include <vector>

#include "frame/text.h"

using namespace QVL;

bool Mqo_NextToken(const std::string& line, size_t& pos, std::string& token)
{
    const size_t n = line.size();
    while (pos < n && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    if (pos >= n || line[pos] == '\r' || line[pos] == '\n') return false;
    token.clear();
    if (line[pos] == '"') {
        size_t close = line.find('"', pos + 1);
        if (close == std::string::npos) close = n;
        token.assign(line, pos + 1, close - pos - 1);
        pos = close < n ? close + 1 : n;
        return true;
    }
    while (pos < n) {
        char c = line[pos];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') break;
        if (c == '(') {
            size_t close = line.find(')', pos);
            if (close == std::string::npos) close = n - 1;
            token.append(line, pos, close - pos + 1);
            pos = close + 1;
            continue;
        }
        token += c;
        ++pos;
    }
    return true;
}

namespace {

std::vector<std::string> Tokens(const std::string& line)
{
    std::vector<std::string> out;
    std::string t;
    size_t pos = 0;
    while (Mqo_NextToken(line, pos, t)) out.push_back(t);
    return out;
}

bool StartsWith(const std::string& s, const char* prefix)
{
    return s.compare(0, std::strlen(prefix), prefix) == 0;
}

// The numbers inside "NAME( ... )" of a token that starts with `prefix` (the name and '('); false
// when one of them is not a number or the parenthesis is not closed.
bool Numbers(const std::string& token, const char* prefix, std::vector<float>& out)
{
    out.clear();
    size_t start = std::strlen(prefix);
    size_t close = token.rfind(')');
    if (close == std::string::npos || close < start) return false;
    std::string inner = token.substr(start, close - start);
    size_t pos = 0;
    std::string t;
    while (Mqo_NextToken(inner, pos, t)) {
        float v = 0.0f;
        if (!Import_ParseFloat(t.c_str(), v)) return false;
        out.push_back(v);
    }
    return true;
}

bool WholeInt(float v, int32_t& n)
{
    if (!(v >= -2147483648.0f && v < 2147483648.0f) || (float)(int32_t)v != v) return false;
    n = (int32_t)v;
    return true;
}

// The line, its end removed, opens a level when it ends in '{'.
bool OpensLevel(const std::string& line)
{
    size_t end = line.find_last_not_of(" \t");
    return end != std::string::npos && line[end] == '{';
}

struct MQO_STATE {
    IMPORT_MODEL& im;
    std::vector<bool> textured;   // per material
    int32_t materials = 0;
    int32_t highestMaterial = -1;
    int32_t highestMirror = -1;
};

IMPORT_RESULT ReadMaterials(TextLines& lines, int32_t count, MQO_STATE& st)
{
    if (count < 0 || count > kModel3Groups) return IMPORT_DAMAGED;
    std::string line;
    std::vector<float> v;
    for (int32_t i = 0; i < count; ++i) {
        if (!lines.Next(line)) return IMPORT_DAMAGED;
        std::vector<std::string> tokens = Tokens(line);
        if (tokens.empty()) return IMPORT_DAMAGED;
        GROUP3& g = st.im.groups[(size_t)i];
        Str_CopyN(g.name, sizeof g.name, tokens[0].c_str());
        g.color[0] = g.color[1] = g.color[2] = g.alpha = 255.0f;
        st.textured.push_back(false);
        st.materials = i + 1;
        if (tokens[0][0] == '}') break;
        for (size_t t = 1; t < tokens.size(); ++t) {
            const std::string& tok = tokens[t];
            if (StartsWith(tok, "col(")) {
                // Read as numbers, however many digits the writer used.
                if (!Numbers(tok, "col(", v) || v.size() != 4) return IMPORT_DAMAGED;
                g.color[0] = v[0] * 255.0f;
                g.color[1] = v[1] * 255.0f;
                g.color[2] = v[2] * 255.0f;
                g.alpha = v[3] * 255.0f;
            } else if (StartsWith(tok, "tex(")) {
                size_t open = tok.find('"');
                size_t close = open == std::string::npos ? open : tok.find('"', open + 1);
                if (close == std::string::npos) return IMPORT_DAMAGED;
                std::string texPath = tok.substr(open + 1, close - open - 1);
                // The name after the last folder separator; a CP932 trail byte that reads '\\' is not one.
                const char* sep = Str_FindLastChar(texPath.c_str(), '\\');
                std::string name = sep ? std::string(sep + 1) : texPath;
                if (name.empty() || st.im.textures.size() >= (size_t)kModel3Textures - 1) continue;
                st.im.textures.push_back(name);
                g.texture = (int32_t)st.im.textures.size();
                st.textured.back() = true;
            }
        }
    }
    return IMPORT_OK;
}

IMPORT_RESULT ReadFace(const std::vector<std::string>& tokens, int32_t base, int32_t vertexCount, MQO_STATE& st)
{
    int32_t n = 0;
    if (tokens.empty() || !Import_ParseInt(tokens[0].c_str(), n)) return IMPORT_DAMAGED;
    if (n < 2) return IMPORT_OK;   // a one-corner face makes nothing
    if (n > 1024) return IMPORT_DAMAGED;
    std::vector<float> vs, uvs;
    int32_t material = 0;
    bool haveV = false, haveUV = false;
    std::vector<float> v;
    for (size_t t = 1; t < tokens.size(); ++t) {
        const std::string& tok = tokens[t];
        if (StartsWith(tok, "V(")) {
            if (!Numbers(tok, "V(", vs) || vs.size() != (size_t)n) return IMPORT_DAMAGED;
            haveV = true;
        } else if (StartsWith(tok, "M(")) {
            if (!Numbers(tok, "M(", v) || v.size() != 1 || !WholeInt(v[0], material)) return IMPORT_DAMAGED;
            // M(-1) is a face without a material.
            if (material < 0) material = 0;
            if (material >= kModel3Groups) return IMPORT_DAMAGED;
        } else if (StartsWith(tok, "UV(")) {
            if (!Numbers(tok, "UV(", uvs) || uvs.size() != (size_t)n * 2) return IMPORT_DAMAGED;
            haveUV = true;
        }
    }
    if (!haveV) return IMPORT_DAMAGED;
    const bool textured = material < (int32_t)st.textured.size() && st.textured[(size_t)material];
    std::vector<int32_t> corners((size_t)n * 4, 0);
    for (int32_t k = 0; k < n; ++k) {
        int32_t index = 0;
        if (!WholeInt(vs[(size_t)k], index) || index < 0 || index >= vertexCount) return IMPORT_DAMAGED;
        int32_t* c = &corners[(size_t)k * 4];
        c[CORNER_POS] = base + index;
        if (textured) {
            c[CORNER_UV] = (int32_t)st.im.uvs.size();
            st.im.uvs.push_back(haveUV ? UV2{uvs[(size_t)k * 2], uvs[(size_t)k * 2 + 1]} : UV2{0, 0});
        }
    }
    if (material > st.highestMaterial) st.highestMaterial = material;
    Import_AddPolygon(st.im, (const int32_t(*)[4])corners.data(), n, material);
    if ((int64_t)st.im.faces.size() > Import_MaxFaces() || (int64_t)st.im.uvs.size() > Import_MaxPositions())
        return IMPORT_TOO_MANY;
    return IMPORT_OK;
}

IMPORT_RESULT ReadObject(TextLines& lines, int32_t object, MQO_STATE& st)
{
    IMPORT_MODEL& im = st.im;
    const int32_t base = (int32_t)im.positions.size();
    int32_t vertexCount = 0;
    int level = 1;
    bool stopped = false;   // after "BVertex" the object's lines are only passed over
    std::string line;
    while (level > 0) {
        if (!lines.Next(line)) return IMPORT_DAMAGED;
        std::vector<std::string> tokens = Tokens(line);
        if (tokens.empty()) continue;
        const std::string& first = tokens[0];
        if (first[0] == '}') {
            --level;
            continue;
        }
        if (OpensLevel(line)) ++level;
        if (stopped) continue;
        if (first == "BVertex") {
            stopped = true;
        } else if (first == "mirror") {
            if (object < kModel3Groups) {
                im.groups[(size_t)object].mirror = 1;
                if (object > st.highestMirror) st.highestMirror = object;
            }
        } else if ((first == "vertex" || first == "face") && level == 2) {
            int32_t count = 0;
            if (tokens.size() < 2 || !Import_ParseInt(tokens[1].c_str(), count) || count < 0) return IMPORT_DAMAGED;
            for (int32_t i = 0; i < count; ++i) {
                if (!lines.Next(line)) return IMPORT_DAMAGED;
                std::vector<std::string> t = Tokens(line);
                if (first == "vertex") {
                    XYZ p;
                    if (t.size() != 3 || !Import_ParseFloat(t[0].c_str(), p.x) || !Import_ParseFloat(t[1].c_str(), p.y) ||
                        !Import_ParseFloat(t[2].c_str(), p.z))
                        return IMPORT_DAMAGED;
                    if ((int64_t)im.positions.size() >= Import_MaxPositions()) {
                        im.askedPositions = (int64_t)im.positions.size() + (count - i);
                        return IMPORT_TOO_MANY;
                    }
                    im.positions.push_back(XYZ{0.1f * p.x, 0.1f * p.y, -0.1f * p.z});
                    ++vertexCount;
                } else {
                    IMPORT_RESULT r = ReadFace(t, base, vertexCount, st);
                    if (r != IMPORT_OK) return r;
                }
            }
        }
    }
    return IMPORT_OK;
}

bool HeaderLine(TextLines& lines, const char* a, const char* b)
{
    std::string line;
    if (!lines.Next(line)) return false;
    return line == a || (b && line == b);
}

} // namespace

IMPORT_RESULT Mqo_Read(const uint8_t* data, size_t size, IMPORT_MODEL& im)
{
    TextLines lines(data, size);
    // Line ends of either kind; version 1.1 adds nothing the importer reads.
    if (!HeaderLine(lines, "Metasequoia Document", nullptr) ||
        !HeaderLine(lines, "Format Text Ver 1.0", "Format Text Ver 1.1"))
        return IMPORT_DAMAGED;
    im.colors.assign(1, RGBA{255, 255, 255, 255});
    im.uvs.assign(1, UV2{0, 0});
    MQO_STATE st{im};
    int32_t object = -1;
    std::string line;
    while (lines.Next(line)) {
        if (StartsWith(line, "Eof")) break;
        std::vector<std::string> tokens = Tokens(line);
        if (tokens.empty()) continue;
        IMPORT_RESULT r = IMPORT_OK;
        if (tokens[0] == "Material") {
            int32_t count = 0;
            if (tokens.size() < 2 || !Import_ParseInt(tokens[1].c_str(), count)) return IMPORT_DAMAGED;
            r = ReadMaterials(lines, count, st);
        } else if (tokens[0] == "Object") {
            r = ReadObject(lines, ++object, st);
        }
        if (r != IMPORT_OK) return r;
    }
    // Every group a material, a face or a mirror flag names.
    int32_t groups = st.materials;
    if (st.highestMaterial + 1 > groups) groups = st.highestMaterial + 1;
    if (st.highestMirror + 1 > groups) groups = st.highestMirror + 1;
    if (groups < 1) groups = 1;
    if (groups > kModel3Groups) groups = kModel3Groups;
    im.groupCount = groups;
    for (GROUP3& g : im.groups) g.uvMapping = 10;
    return IMPORT_OK;
}

int32_t Mqo_Import(int32_t id, const char* path)
{
    return Import_FromFile(id, path, "MQO", Mqo_Read);
}
