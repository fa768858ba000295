#include "shader_asm.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

namespace fxgen {

namespace {

// Register types of the token format (D3DSHADER_PARAM_REGISTER_TYPE).
enum {
    REG_TEMP = 0, REG_INPUT = 1, REG_CONST = 2, REG_ADDR = 3, REG_TEXTURE = 3, REG_RASTOUT = 4, REG_ATTROUT = 5,
    REG_TEXCRDOUT = 6, REG_COLOROUT = 8, REG_DEPTHOUT = 9, REG_SAMPLER = 10
};

struct Op {
    const char* name;
    uint32_t code;
    int sources;  // operands after the destination
};

const Op kOps[] = {
    {"mov", 1, 1},   {"add", 2, 2},   {"sub", 3, 2},    {"mad", 4, 3},   {"mul", 5, 2},   {"rcp", 6, 1},
    {"rsq", 7, 1},   {"dp3", 8, 2},   {"dp4", 9, 2},    {"min", 10, 2},  {"max", 11, 2},  {"slt", 12, 2},
    {"sge", 13, 2},  {"exp", 14, 1},  {"log", 15, 1},   {"lrp", 18, 3},  {"frc", 19, 1},  {"m4x4", 20, 2},
    {"m4x3", 21, 2}, {"m3x3", 23, 2}, {"pow", 32, 2},   {"crs", 33, 2},  {"abs", 35, 1},  {"nrm", 36, 1},
    {"mova", 46, 1}, {"texld", 66, 2}, {"texldp", 66, 2}, {"cmp", 88, 3}, {"dp2add", 90, 3},
};

const char* const kUsages[] = {"position", "blendweight", "blendindices", "normal", "psize", "texcoord", "tangent",
                               "binormal", "tessfactor", "positiont", "color", "fog", "depth"};

uint32_t RegBits(int type, int number)
{
    return ((uint32_t)(type & 7) << 28) | ((uint32_t)(type & 0x18) << 8) | (uint32_t)(number & 0x7FF);
}

std::string Trim(const std::string& s)
{
    size_t a = 0, b = s.size();
    while (a < b && std::isspace((unsigned char)s[a])) ++a;
    while (b > a && std::isspace((unsigned char)s[b - 1])) --b;
    return s.substr(a, b - a);
}

std::vector<std::string> SplitOperands(const std::string& s)
{
    std::vector<std::string> out;
    std::string cur;
    int depth = 0;
    for (char ch : s) {
        if (ch == '[') ++depth;
        if (ch == ']') --depth;
        if (ch == ',' && depth == 0) {
            out.push_back(Trim(cur));
            cur.clear();
        } else {
            cur += ch;
        }
    }
    if (!Trim(cur).empty()) out.push_back(Trim(cur));
    return out;
}

class Assembler {
public:
    Assembler(std::vector<uint32_t>& out, std::string& error) : m_out(out), m_error(error) {}

    bool Version(const std::string& s)
    {
        if (s == "vs_2_0") m_pixel = false;
        else if (s == "ps_2_0") m_pixel = true;
        else return Fail("expected vs_2_0 or ps_2_0");
        m_version = (m_pixel ? 0xFFFF0000u : 0xFFFE0000u) | 0x0200u;
        m_out.push_back(m_version);
        return true;
    }

    bool Statement(const std::string& line)
    {
        size_t sp = line.find_first_of(" \t");
        std::string mnemonic = line.substr(0, sp);
        std::vector<std::string> ops = SplitOperands(sp == std::string::npos ? "" : line.substr(sp + 1));
        if (mnemonic.compare(0, 3, "dcl") == 0) return Dcl(mnemonic, ops);
        if (mnemonic == "def") return Def(ops);

        uint32_t modifiers = 0;
        for (;;) {
            size_t us = mnemonic.rfind('_');
            if (us == std::string::npos) break;
            std::string tail = mnemonic.substr(us + 1);
            if (tail == "sat") modifiers |= 1u << 20;
            else if (tail == "pp") modifiers |= 2u << 20;
            else break;
            mnemonic.erase(us);
        }
        const Op* op = nullptr;
        for (const Op& o : kOps)
            if (mnemonic == o.name) op = &o;
        if (!op) return Fail("unknown instruction " + mnemonic);
        if ((int)ops.size() != op->sources + 1) return Fail("wrong operand count for " + mnemonic);

        std::vector<uint32_t> params;
        uint32_t dest;
        if (!DestToken(ops[0], dest)) return false;
        params.push_back(dest | modifiers);
        for (int i = 1; i <= op->sources; ++i)
            if (!SourceTokens(ops[i], params)) return false;
        uint32_t control = mnemonic == "texldp" ? 1u : 0u;
        m_out.push_back(op->code | (control << 16) | ((uint32_t)params.size() << 24));
        m_out.insert(m_out.end(), params.begin(), params.end());
        return true;
    }

    bool Fail(const std::string& why)
    {
        m_error = why;
        return false;
    }

private:
    bool Dcl(const std::string& mnemonic, const std::vector<std::string>& ops)
    {
        if (ops.size() != 1) return Fail("dcl takes one register");
        uint32_t usage = 0x80000000u;
        std::string kind = mnemonic.size() > 4 ? mnemonic.substr(4) : "";
        if (kind == "2d") {
            usage |= 2u << 27;
        } else if (!kind.empty()) {
            size_t digits = kind.find_first_of("0123456789");
            std::string name = kind.substr(0, digits);
            int index = digits == std::string::npos ? 0 : std::atoi(kind.c_str() + digits);
            int u = -1;
            for (int i = 0; i < (int)(sizeof kUsages / sizeof kUsages[0]); ++i)
                if (name == kUsages[i]) u = i;
            if (u < 0) return Fail("unknown usage " + kind);
            usage |= (uint32_t)u | ((uint32_t)index << 16);
        }
        uint32_t dest;
        if (!DestToken(ops[0], dest)) return false;
        m_out.push_back(31u | (2u << 24));
        m_out.push_back(usage);
        m_out.push_back(dest);
        return true;
    }

    bool Def(const std::vector<std::string>& ops)
    {
        if (ops.size() != 5) return Fail("def takes a register and four numbers");
        uint32_t dest;
        if (!DestToken(ops[0], dest)) return false;
        m_out.push_back(81u | (5u << 24));
        m_out.push_back(dest);
        for (int i = 1; i < 5; ++i) {
            char* end = nullptr;
            float f = std::strtof(ops[i].c_str(), &end);
            if (!end || *end) return Fail("bad number " + ops[i]);
            uint32_t bits;
            std::memcpy(&bits, &f, 4);
            m_out.push_back(bits);
        }
        return true;
    }

    // Parses a register name such as r3, c12, oPos, oT1, s0 into its type and number.
    bool Register(const std::string& s, int& type, int& number)
    {
        struct Named {
            const char* prefix;
            int type;
            bool pixel;  // which shader kind has it
            bool vertex;
        };
        const Named names[] = {
            {"oPos", REG_RASTOUT, false, true},   {"oFog", REG_RASTOUT, false, true},
            {"oDepth", REG_DEPTHOUT, true, false}, {"oD", REG_ATTROUT, false, true},
            {"oT", REG_TEXCRDOUT, false, true},    {"oC", REG_COLOROUT, true, false},
            {"r", REG_TEMP, true, true},           {"v", REG_INPUT, true, true},
            {"c", REG_CONST, true, true},          {"a", REG_ADDR, false, true},
            {"t", REG_TEXTURE, true, false},       {"s", REG_SAMPLER, true, false},
        };
        for (const Named& n : names) {
            size_t len = std::strlen(n.prefix);
            if (s.compare(0, len, n.prefix) != 0) continue;
            if (m_pixel ? !n.pixel : !n.vertex) continue;
            std::string rest = s.substr(len);
            if (std::strcmp(n.prefix, "oPos") == 0 || std::strcmp(n.prefix, "oFog") == 0 ||
                std::strcmp(n.prefix, "oDepth") == 0) {
                if (!rest.empty()) continue;
                type = n.type;
                number = std::strcmp(n.prefix, "oFog") == 0 ? 1 : 0;
                return true;
            }
            if (rest.empty() || rest.find_first_not_of("0123456789") != std::string::npos) continue;
            type = n.type;
            number = std::atoi(rest.c_str());
            return true;
        }
        return Fail("unknown register " + s);
    }

    bool DestToken(const std::string& s, uint32_t& token)
    {
        size_t dot = s.find('.');
        int type, number;
        if (!Register(s.substr(0, dot), type, number)) return false;
        uint32_t mask = 0xF;
        if (dot != std::string::npos) {
            mask = 0;
            for (char ch : s.substr(dot + 1)) {
                const char* p = std::strchr("xyzw", ch);
                const char* q = std::strchr("rgba", ch);
                if (!p && !q) return Fail("bad write mask " + s);
                mask |= 1u << (p ? p - "xyzw" : q - "rgba");
            }
        }
        token = 0x80000000u | RegBits(type, number) | (mask << 16);
        return true;
    }

    bool Swizzle(const std::string& s, uint32_t& bits)
    {
        if (s.empty() || s.size() > 4) return Fail("bad swizzle ." + s);
        int comp[4];
        for (size_t i = 0; i < 4; ++i) {
            char ch = s[i < s.size() ? i : s.size() - 1];
            const char* p = std::strchr("xyzw", ch);
            const char* q = std::strchr("rgba", ch);
            if (!p && !q) return Fail("bad swizzle ." + s);
            comp[i] = (int)(p ? p - "xyzw" : q - "rgba");
        }
        bits = (uint32_t)(comp[0] | comp[1] << 2 | comp[2] << 4 | comp[3] << 6) << 16;
        return true;
    }

    // A source operand: [-]reg[.swizzle], or a constant indexed by the address register,
    // written c[a0.x + n]; the indexed form takes a second token naming a0's component.
    bool SourceTokens(std::string s, std::vector<uint32_t>& out)
    {
        uint32_t modifier = 0;
        if (!s.empty() && s[0] == '-') {
            modifier = 1u << 24;
            s = Trim(s.substr(1));
        }
        std::string swz;
        size_t close = s.find(']');
        size_t dot = s.find('.', close == std::string::npos ? 0 : close);
        if (dot != std::string::npos) {
            swz = s.substr(dot + 1);
            s.erase(dot);
        }
        uint32_t swizzle = 0xE4u << 16;
        if (!swz.empty() && !Swizzle(swz, swizzle)) return false;

        size_t open = s.find('[');
        if (open != std::string::npos) {
            if (m_pixel || s.substr(0, open) != "c" || close == std::string::npos) return Fail("bad indexed operand " + s);
            std::string inside = s.substr(open + 1, close - open - 1);
            std::string addr = inside, offset = "0";
            size_t plus = inside.find('+');
            if (plus != std::string::npos) {
                addr = Trim(inside.substr(0, plus));
                offset = Trim(inside.substr(plus + 1));
            }
            addr = Trim(addr);
            if (addr.compare(0, 3, "a0.") != 0 || addr.size() != 4) return Fail("bad address register " + addr);
            uint32_t addrSwz;
            if (!Swizzle(addr.substr(3), addrSwz)) return false;
            out.push_back(0x80000000u | RegBits(REG_CONST, std::atoi(offset.c_str())) | (1u << 13) | swizzle | modifier);
            out.push_back(0x80000000u | RegBits(REG_ADDR, 0) | addrSwz);
            return true;
        }
        int type, number;
        if (!Register(s, type, number)) return false;
        out.push_back(0x80000000u | RegBits(type, number) | swizzle | modifier);
        return true;
    }

public:
    bool m_pixel = false;
    uint32_t m_version = 0;

private:
    std::vector<uint32_t>& m_out;
    std::string& m_error;
};

void PutU16(std::vector<uint8_t>& b, size_t at, uint16_t v)
{
    b[at] = (uint8_t)v;
    b[at + 1] = (uint8_t)(v >> 8);
}

void PutU32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i) b[at + i] = (uint8_t)(v >> (8 * i));
}

uint32_t AddString(std::vector<uint8_t>& b, const std::string& s)
{
    uint32_t at = (uint32_t)b.size();
    b.insert(b.end(), s.begin(), s.end());
    b.push_back(0);
    return at;
}

// The constant table: header, one entry and one type record per constant, then the strings.
std::vector<uint32_t> ConstantTable(const std::vector<ShaderConstant>& constants, uint32_t version, bool pixel)
{
    const size_t n = constants.size();
    std::vector<uint8_t> b(28 + n * 20 + n * 16, 0);
    PutU32(b, 0, 28);
    PutU32(b, 8, version);
    PutU32(b, 12, (uint32_t)n);
    PutU32(b, 16, 28);
    for (size_t i = 0; i < n; ++i) {
        const ShaderConstant& c = constants[i];
        size_t info = 28 + i * 20, type = 28 + n * 20 + i * 16;
        PutU16(b, info + 4, (uint16_t)c.regSet);
        PutU16(b, info + 6, (uint16_t)c.regIndex);
        PutU16(b, info + 8, (uint16_t)c.regCount);
        PutU32(b, info + 12, (uint32_t)type);
        PutU16(b, type + 0, (uint16_t)c.cls);
        PutU16(b, type + 2, (uint16_t)c.type);
        PutU16(b, type + 4, (uint16_t)c.rows);
        PutU16(b, type + 6, (uint16_t)c.columns);
        PutU16(b, type + 8, (uint16_t)c.elements);
    }
    for (size_t i = 0; i < n; ++i) PutU32(b, 28 + i * 20, AddString(b, constants[i].name));
    PutU32(b, 4, AddString(b, "QV fxgen"));
    PutU32(b, 24, AddString(b, pixel ? "ps_2_0" : "vs_2_0"));
    while (b.size() % 4) b.push_back(0);

    std::vector<uint32_t> words;
    words.push_back(0xFFFEu | (uint32_t)((b.size() / 4 + 1) << 16));
    words.push_back(0x42415443u);  // "CTAB"
    for (size_t i = 0; i < b.size(); i += 4)
        words.push_back((uint32_t)b[i] | (uint32_t)b[i + 1] << 8 | (uint32_t)b[i + 2] << 16 | (uint32_t)b[i + 3] << 24);
    return words;
}

} // namespace

bool Asm_Assemble(const std::string& text, const std::vector<ShaderConstant>& constants, std::vector<uint32_t>& tokens,
                  std::string& error)
{
    tokens.clear();
    Assembler as(tokens, error);
    bool first = true;
    int lineNo = 0;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t eol = text.find('\n', pos);
        if (eol == std::string::npos) eol = text.size();
        std::string line = text.substr(pos, eol - pos);
        pos = eol + 1;
        ++lineNo;
        size_t comment = std::min(line.find("//"), line.find(';'));
        if (comment != std::string::npos) line.erase(comment);
        line = Trim(line);
        if (line.empty()) continue;
        bool ok;
        if (first) {
            ok = as.Version(line);
            if (ok) {
                std::vector<uint32_t> ctab = ConstantTable(constants, as.m_version, as.m_pixel);
                tokens.insert(tokens.end(), ctab.begin(), ctab.end());
            }
            first = false;
        } else {
            ok = as.Statement(line);
        }
        if (!ok) {
            error = "line " + std::to_string(lineNo) + ": " + error;
            tokens.clear();
            return false;
        }
    }
    if (first) {
        error = "no shader version";
        return false;
    }
    tokens.push_back(0x0000FFFFu);
    return true;
}

} // namespace fxgen
