// The effect generator: its assembler's token encoding, the binaries' layout walked the way D3DX
// reads it (every offset inside the file, every shader constant bound to a parameter of the
// effect), and the committed files being exactly what the generator makes, every time.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "frame/bytes.h"
#include "../../tools/fxgen/effects.h"
#include "../../tools/fxgen/fx_writer.h"
#include "../../tools/fxgen/shader_asm.h"

using namespace fxgen;

namespace {

// ---- The assembler ------------------------------------------------------------------------------

// Instruction tokens of a one-shader text, with the version and the constant table left out.
std::vector<uint32_t> Body(const std::string& text)
{
    std::vector<uint32_t> t;
    std::string error;
    EXPECT_TRUE(Asm_Assemble(text, {}, t, error)) << error;
    std::vector<uint32_t> out;
    for (size_t i = 1; i < t.size(); ++i) {
        if ((t[i] & 0xFFFF) == 0xFFFE) {
            i += t[i] >> 16;
            continue;
        }
        if (t[i] == 0x0000FFFF) break;
        out.push_back(t[i]);
    }
    return out;
}

TEST(FxgenAssembler, EncodesTheTokenFormat)
{
    struct Case {
        const char* text;
        std::vector<uint32_t> tokens;
    } cases[] = {
        // opcode | length << 24; destination: bit 31, type bits 28-30, mask bits 16-19
        {"vs_2_0\nmov oPos, v0", {0x02000001, 0xC00F0000, 0x90E40000}},
        {"vs_2_0\nmov oT1.zw, r2", {0x02000001, 0xE00C0001, 0x80E40002}},
        {"vs_2_0\nmad oD0.xyz, v2, r7.x, -c12.w",
         {0x04000004, 0xD0070000, 0x90E40002, 0x80000007, 0xA1FF000C}},
        // an indexed constant takes a second token naming the address register's component
        {"vs_2_0\nmul r1, v0.x, c[a0.x + 3]", {0x04000005, 0x800F0001, 0x90000000, 0xA0E42003, 0xB0000000}},
        {"vs_2_0\ndcl_texcoord1 v4", {0x0200001F, 0x80010005, 0x900F0004}},
        {"vs_2_0\ndcl_blendindices v2", {0x0200001F, 0x80000002, 0x900F0002}},
        {"ps_2_0\ndcl_2d s1", {0x0200001F, 0x90000000, 0xA00F0801}},
        {"ps_2_0\ndcl t0.xy", {0x0200001F, 0x80000000, 0xB0030000}},
        {"ps_2_0\ndef c3, 1, 0.5, 0, -2", {0x05000051, 0xA00F0003, 0x3F800000, 0x3F000000, 0x00000000, 0xC0000000}},
        // texldp is texld with the projection control bit; _sat is the destination's bit 20
        {"ps_2_0\ntexldp r2, t1, s1", {0x03010042, 0x800F0002, 0xB0E40001, 0xA0E40801}},
        {"ps_2_0\nmul_sat r0, r0, c0.y", {0x03000005, 0x801F0000, 0x80E40000, 0xA0550000}},
        {"ps_2_0\nmov oC0, r5 // comment", {0x02000001, 0x800F0800, 0x80E40005}},
    };
    for (const Case& c : cases) EXPECT_EQ(Body(c.text), c.tokens) << c.text;
}

TEST(FxgenAssembler, VersionAndConstantTable)
{
    std::vector<uint32_t> t;
    std::string error;
    ASSERT_TRUE(Asm_Assemble("ps_2_0\nmov oC0, c4", {{"Colour", RS_FLOAT4, 4, 1, PC_VECTOR, PT_FLOAT, 1, 4, 1}}, t, error));
    EXPECT_EQ(t.front(), 0xFFFF0200u);
    EXPECT_EQ(t.back(), 0x0000FFFFu);
    ASSERT_EQ(t[1] & 0xFFFF, 0xFFFEu);
    EXPECT_EQ(t[2], 0x42415443u);  // "CTAB"
    const uint8_t* table = (const uint8_t*)&t[3];
    size_t size = ((t[1] >> 16) - 1) * 4;
    uint32_t header[7];
    std::memcpy(header, table, sizeof header);
    EXPECT_EQ(header[0], 28u);
    EXPECT_EQ(header[2], 0xFFFF0200u);
    EXPECT_EQ(header[3], 1u);
    ASSERT_LT(header[4] + 20, size);
    uint32_t nameAt;
    std::memcpy(&nameAt, table + header[4], 4);
    ASSERT_LT(nameAt, size);
    EXPECT_STREQ((const char*)table + nameAt, "Colour");
    uint16_t regs[3];
    std::memcpy(regs, table + header[4] + 4, 6);
    EXPECT_EQ(regs[0], RS_FLOAT4);
    EXPECT_EQ(regs[1], 4);
    EXPECT_EQ(regs[2], 1);
    EXPECT_STREQ((const char*)table + header[6], "ps_2_0");
}

TEST(FxgenAssembler, RejectsWhatItDoesNotKnowNamingTheLine)
{
    const char* bad[] = {
        "vs_3_0\nmov oPos, v0",           // version it does not write
        "vs_2_0\nmov oPos",               // operand missing
        "vs_2_0\nfoo r0, r1",             // unknown instruction
        "vs_2_0\nmov r0, t0",             // t registers belong to pixel shaders
        "ps_2_0\nmov r0, c[a0.x + 1]",    // no indexing in pixel shaders
        "vs_2_0\nmov r0.q, v0",           // bad mask
        "vs_2_0\ndcl_colour v0",          // unknown usage
        "ps_2_0\ndef c0, 1, 2, x, 4",     // bad number
        "",                               // nothing at all
    };
    for (const char* text : bad) {
        std::vector<uint32_t> t;
        std::string error;
        EXPECT_FALSE(Asm_Assemble(text, {}, t, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
        EXPECT_TRUE(t.empty()) << text;
    }
    std::vector<uint32_t> t;
    std::string error;
    EXPECT_FALSE(Asm_Assemble("vs_2_0\nmov oPos, v0\n\nmov oD0, q1", {}, t, error));
    EXPECT_EQ(error.compare(0, 7, "line 4:"), 0) << error;
}

// ---- The effect binaries, walked as D3DX reads them ---------------------------------------------

struct Walked {
    std::vector<std::string> params;
    std::vector<std::string> techniques;
    std::set<std::string> shaderConstants;  // every name in every shader's constant table
    std::set<std::string> samplerTextures;  // every texture a sampler names
    int shaders = 0;
};

class Walker {
public:
    explicit Walker(const std::vector<uint8_t>& file) : m_f(file) {}

    bool Walk(Walked& w)
    {
        size_t pos = 0;
        uint32_t tag, dataSize;
        if (!U32(pos, tag) || tag != 0xFEFF0901u || !U32(pos + 4, dataSize)) return Fail("header");
        m_dataEnd = 8 + (size_t)dataSize;
        pos = m_dataEnd;
        uint32_t paramCount, techCount, unknown, objects;
        if (!U32(pos, paramCount) || !U32(pos + 4, techCount) || !U32(pos + 8, unknown) || !U32(pos + 12, objects))
            return Fail("counts");
        m_objects = objects;
        pos += 16;
        for (uint32_t i = 0; i < paramCount; ++i) {
            uint32_t type, value, flags, annotations;
            if (!U32(pos, type) || !U32(pos + 4, value) || !U32(pos + 8, flags) || !U32(pos + 12, annotations)) return Fail("param");
            pos += 16;
            std::string name;
            int cls, ptype;
            if (!Typedef(type, name, cls, ptype) || name.empty() || annotations != 0) return Fail("param type");
            if (!Value(value, cls, ptype, m_lastBytes, w)) return Fail("param value " + name);
            w.params.push_back(name);
        }
        std::vector<std::vector<int>> stateKinds;  // per technique and pass, flattened
        for (uint32_t t = 0; t < techCount; ++t) {
            uint32_t nameAt, annotations, passes;
            if (!U32(pos, nameAt) || !U32(pos + 4, annotations) || !U32(pos + 8, passes) || annotations) return Fail("technique");
            pos += 12;
            std::string name;
            if (!Name(nameAt, name) || name.empty()) return Fail("technique name");
            w.techniques.push_back(name);
            for (uint32_t p = 0; p < passes; ++p) {
                uint32_t passName, passAnn, states;
                if (!U32(pos, passName) || !U32(pos + 4, passAnn) || !U32(pos + 8, states) || passAnn) return Fail("pass");
                pos += 12;
                std::string pn;
                if (!Name(passName, pn)) return Fail("pass name");
                for (uint32_t s = 0; s < states; ++s, pos += 16)
                    if (!State(pos, w)) return Fail("pass state");
            }
        }
        uint32_t strings, resources;
        if (!U32(pos, strings) || !U32(pos + 4, resources) || strings != 0) return Fail("resource counts");
        pos += 8;
        for (uint32_t r = 0; r < resources; ++r) {
            uint32_t head[6];
            for (int k = 0; k < 6; ++k)
                if (!U32(pos + 4 * k, head[k])) return Fail("resource");
            pos += 24;
            uint32_t size = head[5];
            if (pos + size > m_f.size()) return Fail("resource size");
            const uint8_t* data = m_f.data() + pos;
            if (head[4] == 1) {
                if (size == 0 || data[size - 1] != 0) return Fail("sampler texture name");
                w.samplerTextures.insert((const char*)data);
            } else if (size) {
                if (!Shader(data, size, w)) return Fail("shader");
                ++w.shaders;
            }
            pos += (size + 3) & ~3u;
        }
        if (pos != m_f.size()) return Fail("trailing bytes");
        return true;
    }

    std::string error;

private:
    bool Fail(const std::string& what)
    {
        if (error.empty()) error = what;
        return false;
    }

    bool U32(size_t at, uint32_t& v) const
    {
        if (at + 4 > m_f.size()) return false;
        std::memcpy(&v, m_f.data() + at, 4);
        return true;
    }

    // Offsets into the data area count from its start, just after the header.
    bool Data(uint32_t off, size_t bytes) const { return 8 + (size_t)off + bytes <= m_dataEnd; }

    bool Name(uint32_t off, std::string& s)
    {
        uint32_t size;
        if (!Data(off, 4) || !U32(8 + off, size)) return false;
        if (size == 0) {
            s.clear();
            return true;
        }
        if (!Data(off + 4, size) || m_f[8 + off + 4 + size - 1] != 0) return false;
        s.assign((const char*)m_f.data() + 8 + off + 4);
        return true;
    }

    bool Typedef(uint32_t off, std::string& name, int& cls, int& type)
    {
        uint32_t v[7];
        for (int i = 0; i < 5; ++i)
            if (!Data(off + 4 * i, 4) || !U32(8 + off + 4 * i, v[i])) return false;
        type = (int)v[0];
        cls = (int)v[1];
        std::string semantic;
        if (!Name(v[2], name) || !Name(v[3], semantic)) return false;
        size_t count = v[4] ? v[4] : 1;
        m_lastBytes = 0;
        if (cls == PC_OBJECT) return true;
        if (!Data(off + 20, 8) || !U32(8 + off + 20, v[5]) || !U32(8 + off + 24, v[6])) return false;
        m_lastBytes = count * v[5] * v[6] * 4;
        return v[5] >= 1 && v[5] <= 4 && v[6] >= 1 && v[6] <= 4;
    }

    bool Value(uint32_t off, int cls, int type, size_t bytes, Walked& w)
    {
        if (cls != PC_OBJECT) return Data(off, bytes);
        uint32_t v;
        if (!Data(off, 4) || !U32(8 + off, v)) return false;
        if (type != PT_SAMPLER2D) return v > 0 && v < m_objects;
        for (uint32_t s = 0; s < v; ++s)
            if (!State(8 + off + 4 + 16 * s, w)) return false;
        return Data(off, 4 + 16 * v);
    }

    bool State(size_t at, Walked& w)
    {
        uint32_t op, index, type, value;
        if (!U32(at, op) || !U32(at + 4, index) || !U32(at + 8, type) || !U32(at + 12, value)) return false;
        if (op > 0xB2) return false;  // past the last state of the table
        std::string name;
        int cls, ptype;
        if (!Typedef(type, name, cls, ptype)) return false;
        return Value(value, cls, ptype, m_lastBytes, w);
    }

    bool Shader(const uint8_t* data, size_t size, Walked& w)
    {
        if (size % 4 || size < 8) return false;
        std::vector<uint32_t> t(size / 4);
        std::memcpy(t.data(), data, size);
        if (t[0] != 0xFFFE0200u && t[0] != 0xFFFF0200u) return false;
        if (t.back() != 0x0000FFFFu) return false;
        for (size_t i = 1; i < t.size(); ++i) {
            if ((t[i] & 0xFFFF) != 0xFFFE) continue;
            size_t words = t[i] >> 16;
            if (i + words >= t.size()) return false;
            if (t[i + 1] == 0x42415443u) {
                const uint8_t* table = (const uint8_t*)&t[i + 2];
                size_t tsize = (words - 1) * 4;
                uint32_t count, infoAt;
                std::memcpy(&count, table + 12, 4);
                std::memcpy(&infoAt, table + 16, 4);
                if (infoAt + 20 * count > tsize) return false;
                for (uint32_t c = 0; c < count; ++c) {
                    uint32_t nameAt;
                    std::memcpy(&nameAt, table + infoAt + 20 * c, 4);
                    if (nameAt >= tsize || !std::memchr(table + nameAt, 0, tsize - nameAt)) return false;
                    w.shaderConstants.insert((const char*)table + nameAt);
                }
            }
            i += words;
        }
        return true;
    }

    const std::vector<uint8_t>& m_f;
    size_t m_dataEnd = 0;
    uint32_t m_objects = 0;
    size_t m_lastBytes = 0;
};

struct Expected {
    const char* path;
    std::vector<std::string> techniques;
    std::vector<std::string> params;  // those the drawing code sets by name
};

const std::vector<Expected> kExpected = {
    {"data/System/HLSL/HLSL_3D.fxo",
     {"ShadowMapTex", "ShadowMapDraw", "DepthOfFieldTex", "SpecularDraw", "BloomDraw", "RenderBlend"},
     {"World", "WVProj", "Ambient", "LightVProj", "ShadowTex", "LightColor", "Margin", "vLightDir", "g_txScene", "g_fTime",
      "bTex", "Tex1", "Tex2", "Tex3", "bBloom"}},
    {"data/System/HLSL/HLSL_2D.fxo", {"Render2D"}, {"g_fTime"}},
    {"data/System/HLSL/Bone.fxo", {"BoneRender"}, {"matWorld", "mViewProj", "fTime"}},
    {"data/System/HLSL/BumpMap.fxo", {"BumpMapDraw"}, {"mWVP", "vLightDir", "vEyePos", "DecaleTex", "NormalMap"}},
    {"data/System/HLSL/BumpGround.fx",
     {"RenderScene"},
     {"g_fTime", "g_mWorldViewProjection", "g_mWorld", "g_mWorldInv", "vLightDir", "vLightInv", "vEyePos", "g_txScene",
      "g_tex_nor"}},
};

TEST(FxgenEffects, EveryFileHasTheNamesTheCodeUsesAndBindsItsShaders)
{
    ASSERT_EQ(Fxgen_Files().size(), kExpected.size());
    for (size_t i = 0; i < kExpected.size(); ++i) {
        const Expected& e = kExpected[i];
        SCOPED_TRACE(e.path);
        EXPECT_STREQ(Fxgen_Files()[i].path, e.path);
        std::string error;
        std::vector<uint8_t> bytes = Fxgen_Files()[i].build(error);
        ASSERT_TRUE(error.empty()) << error;
        Walker walker(bytes);
        Walked w;
        ASSERT_TRUE(walker.Walk(w)) << walker.error;
        EXPECT_EQ(w.techniques, e.techniques);
        std::set<std::string> params(w.params.begin(), w.params.end());
        EXPECT_EQ(params.size(), w.params.size()) << "a parameter name twice";
        for (const std::string& p : e.params) EXPECT_TRUE(params.count(p)) << p;
        // A constant or texture name that matches no parameter would leave its registers unset.
        for (const std::string& c : w.shaderConstants) EXPECT_TRUE(params.count(c)) << c;
        for (const std::string& t : w.samplerTextures) EXPECT_TRUE(params.count(t)) << t;
        EXPECT_GT(w.shaders, 0);
    }
}

TEST(FxgenEffects, EveryShaderAssembles)
{
    for (const ShaderText& s : Fxgen_ShaderTexts()) {
        std::vector<uint32_t> t;
        std::string error;
        EXPECT_TRUE(Asm_Assemble(s.text, {}, t, error)) << s.name << ": " << error;
    }
}

TEST(FxgenEffects, OutputIsDeterministicAndMatchesTheCommittedFiles)
{
    for (const EffectFile& f : Fxgen_Files()) {
        SCOPED_TRACE(f.path);
        std::string e1, e2;
        std::vector<uint8_t> a = f.build(e1), b = f.build(e2);
        ASSERT_FALSE(a.empty());
        EXPECT_EQ(a, b);
        std::vector<uint8_t> committed;
        std::string path = std::string(QV_SOURCE_DIR) + "/" + f.path;
        ASSERT_TRUE(QVL::File_ReadAll(path.c_str(), committed)) << path;
        EXPECT_TRUE(committed == a) << path << " differs from its generator: run qv_datagen";
    }
}

// The packer on its own: a sampler's texture and a pass's shader each become an object with a
// resource, which a walk finds again.
TEST(FxgenEffects, PackerWritesObjectsAndResources)
{
    std::vector<uint32_t> ps;
    std::string error;
    ASSERT_TRUE(Asm_Assemble("ps_2_0\ndcl t0.xy\ndcl_2d s0\ntexld r0, t0, s0\nmov oC0, r0",
                             {{"Samp", RS_SAMPLER, 0, 1, PC_OBJECT, PT_SAMPLER2D, 1, 1, 1}}, ps, error));
    FxEffect fx;
    fx.params = {Fx_Texture("Pic"), Fx_Sampler("Samp", "Pic", 3), Fx_Vector("Tint", 1, 2, 3, 4)};
    fx.techniques = {FxTechnique{"T", {FxPass{"P0", {Fx_Shader(false, {}), Fx_Shader(true, ps), Fx_Value(ST_ZENABLE, 0)}}}}};
    std::vector<uint8_t> bytes = Fx_Write(fx);
    Walker walker(bytes);
    Walked w;
    ASSERT_TRUE(walker.Walk(w)) << walker.error;
    EXPECT_EQ(w.params, (std::vector<std::string>{"Pic", "Samp", "Tint"}));
    EXPECT_EQ(w.techniques, std::vector<std::string>{"T"});
    EXPECT_EQ(w.samplerTextures, std::set<std::string>{"Pic"});
    EXPECT_EQ(w.shaderConstants, std::set<std::string>{"Samp"});
    EXPECT_EQ(w.shaders, 1);  // the empty vertex shader carries no bytecode
    // A cut-off file is caught.
    bytes.resize(bytes.size() - 4);
    Walker cut(bytes);
    Walked w2;
    EXPECT_FALSE(cut.Walk(w2));
}

} // namespace
