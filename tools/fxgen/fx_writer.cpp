#include "fx_writer.h"

#include <cstring>

namespace fxgen {

namespace {

// The binary is a tag, the size of the data area, the data area (names, type records and values,
// found by their offsets from its start), then the tables that point into it and the objects'
// contents (shader bytecode, names of the textures that samplers read).
class Writer {
public:
    std::vector<uint8_t> Write(const FxEffect& fx)
    {
        m_nextObject = 1;  // object 0 stays unused, as in compiled effects
        std::vector<uint32_t> paramRecords;
        for (size_t i = 0; i < fx.params.size(); ++i) {
            const FxParam& p = fx.params[i];
            paramRecords.push_back(Typedef(p.type, p.cls, p.name, p.elements, p.rows, p.columns));
            paramRecords.push_back(Value(p, (uint32_t)i));
            paramRecords.push_back(0);  // flags
            paramRecords.push_back(0);  // annotations
        }
        std::vector<uint32_t> techRecords;
        for (size_t t = 0; t < fx.techniques.size(); ++t) {
            const FxTechnique& tech = fx.techniques[t];
            techRecords.push_back(Name(tech.name));
            techRecords.push_back(0);
            techRecords.push_back((uint32_t)tech.passes.size());
            for (size_t p = 0; p < tech.passes.size(); ++p) {
                const FxPass& pass = tech.passes[p];
                techRecords.push_back(Name(pass.name));
                techRecords.push_back(0);
                techRecords.push_back((uint32_t)pass.states.size());
                for (size_t s = 0; s < pass.states.size(); ++s) {
                    std::vector<uint32_t> st = State(pass.states[s]);
                    techRecords.insert(techRecords.end(), st.begin(), st.end());
                    if (pass.states[s].kind == FxState::VERTEX_SHADER || pass.states[s].kind == FxState::PIXEL_SHADER) {
                        Resource r = {(uint32_t)t, (uint32_t)p, 0, (uint32_t)s, 0, {}};
                        const std::vector<uint32_t>& code = pass.states[s].shader;
                        for (uint32_t w : code)
                            for (int k = 0; k < 4; ++k) r.data.push_back((uint8_t)(w >> (8 * k)));
                        m_resources.push_back(r);
                    }
                }
            }
        }

        std::vector<uint8_t> out;
        U32(out, 0xFEFF0901u);
        U32(out, (uint32_t)m_data.size());
        out.insert(out.end(), m_data.begin(), m_data.end());
        U32(out, (uint32_t)fx.params.size());
        U32(out, (uint32_t)fx.techniques.size());
        U32(out, 0);
        U32(out, m_nextObject);
        for (uint32_t w : paramRecords) U32(out, w);
        for (uint32_t w : techRecords) U32(out, w);
        U32(out, 0);  // no string objects
        U32(out, (uint32_t)m_resources.size());
        for (const Resource& r : m_resources) {
            U32(out, r.technique);
            U32(out, r.index);
            U32(out, r.element);
            U32(out, r.state);
            U32(out, r.usage);
            U32(out, (uint32_t)r.data.size());
            out.insert(out.end(), r.data.begin(), r.data.end());
            while (out.size() % 4) out.push_back(0);
        }
        return out;
    }

private:
    struct Resource {
        uint32_t technique, index, element, state, usage;
        std::vector<uint8_t> data;
    };

    static void U32(std::vector<uint8_t>& b, uint32_t v)
    {
        for (int i = 0; i < 4; ++i) b.push_back((uint8_t)(v >> (8 * i)));
    }

    uint32_t Here() const { return (uint32_t)m_data.size(); }

    // A name: its length with the terminator, then its bytes padded to whole words; an empty
    // name is a zero length.
    uint32_t Name(const std::string& s)
    {
        uint32_t at = Here();
        if (s.empty()) {
            U32(m_data, 0);
            return at;
        }
        U32(m_data, (uint32_t)s.size() + 1);
        m_data.insert(m_data.end(), s.begin(), s.end());
        m_data.push_back(0);
        while (m_data.size() % 4) m_data.push_back(0);
        return at;
    }

    uint32_t Typedef(int type, int cls, const std::string& name, int elements, int rows, int columns)
    {
        uint32_t nameAt = Name(name);
        uint32_t semanticAt = Name("");
        uint32_t at = Here();
        U32(m_data, (uint32_t)type);
        U32(m_data, (uint32_t)cls);
        U32(m_data, nameAt);
        U32(m_data, semanticAt);
        U32(m_data, (uint32_t)elements);
        if (cls == PC_VECTOR) {
            U32(m_data, (uint32_t)columns);
            U32(m_data, (uint32_t)rows);
        } else if (cls != PC_OBJECT) {
            U32(m_data, (uint32_t)rows);
            U32(m_data, (uint32_t)columns);
        }
        return at;
    }

    // A state record (operation, index, type, value); a sampler's texture names its parameter
    // through a resource, a pass's shader carries its bytecode in one.
    std::vector<uint32_t> State(const FxState& s)
    {
        uint32_t type, value;
        if (s.kind == FxState::VALUE) {
            type = Typedef(PT_INT, PC_SCALAR, "", 0, 1, 1);
            value = Here();
            U32(m_data, s.value);
        } else {
            int t = s.kind == FxState::VERTEX_SHADER ? PT_VERTEXSHADER
                  : s.kind == FxState::PIXEL_SHADER ? PT_PIXELSHADER : PT_TEXTURE;
            type = Typedef(t, PC_OBJECT, "", 0, 0, 0);
            value = Here();
            U32(m_data, m_nextObject++);
        }
        return {(uint32_t)s.op, 0, type, value};
    }

    uint32_t Value(const FxParam& p, uint32_t index)
    {
        if (p.cls == PC_OBJECT && p.type == PT_SAMPLER2D) {
            std::vector<uint32_t> states;
            for (size_t i = 0; i < p.sampler.size(); ++i) {
                std::vector<uint32_t> st = State(p.sampler[i]);
                states.insert(states.end(), st.begin(), st.end());
                if (p.sampler[i].kind == FxState::TEXTURE_PARAM) {
                    Resource r = {0xFFFFFFFFu, index, 0xFFFFFFFFu, (uint32_t)i, 1, {}};
                    r.data.assign(p.sampler[i].param.begin(), p.sampler[i].param.end());
                    r.data.push_back(0);
                    m_resources.push_back(r);
                }
            }
            uint32_t at = Here();
            U32(m_data, (uint32_t)p.sampler.size());
            for (uint32_t w : states) U32(m_data, w);
            return at;
        }
        uint32_t at = Here();
        if (p.cls == PC_OBJECT) {
            U32(m_data, m_nextObject++);
            return at;
        }
        size_t count = (size_t)(p.elements ? p.elements : 1) * p.rows * p.columns;
        for (size_t i = 0; i < count; ++i) {
            float f = i < p.init.size() ? p.init[i] : 0.0f;
            uint32_t bits;
            if (p.type == PT_FLOAT) std::memcpy(&bits, &f, 4);
            else bits = (uint32_t)(int32_t)f;
            U32(m_data, bits);
        }
        return at;
    }

    std::vector<uint8_t> m_data;
    std::vector<Resource> m_resources;
    uint32_t m_nextObject = 1;
};

} // namespace

std::vector<uint8_t> Fx_Write(const FxEffect& effect)
{
    Writer w;
    return w.Write(effect);
}

FxParam Fx_Matrix(const std::string& name, int elements)
{
    FxParam p = {name, PC_MATRIX_ROWS, PT_FLOAT, 4, 4, elements, {}, {}};
    // Identity, so an effect drawn before its matrices are set still puts vertices somewhere sane.
    for (int e = 0; e < (elements ? elements : 1); ++e)
        for (int i = 0; i < 16; ++i) p.init.push_back(i % 5 == 0 ? 1.0f : 0.0f);
    return p;
}

FxParam Fx_Vector(const std::string& name, float x, float y, float z, float w)
{
    return FxParam{name, PC_VECTOR, PT_FLOAT, 1, 4, 0, {x, y, z, w}, {}};
}

FxParam Fx_Float(const std::string& name, float v)
{
    return FxParam{name, PC_SCALAR, PT_FLOAT, 1, 1, 0, {v}, {}};
}

FxParam Fx_Bool(const std::string& name, bool v)
{
    return FxParam{name, PC_SCALAR, PT_BOOL, 1, 1, 0, {v ? 1.0f : 0.0f}, {}};
}

FxParam Fx_Texture(const std::string& name)
{
    return FxParam{name, PC_OBJECT, PT_TEXTURE, 0, 0, 0, {}, {}};
}

FxParam Fx_Sampler(const std::string& name, const std::string& texture, uint32_t address, bool linear)
{
    FxParam p = {name, PC_OBJECT, PT_SAMPLER2D, 0, 0, 0, {}, {}};
    FxState tex = {ST_TEXTURE, FxState::TEXTURE_PARAM, 0, {}, texture};
    p.sampler.push_back(tex);
    uint32_t filter = linear ? 2u : 1u;  // D3DTEXF_LINEAR, D3DTEXF_POINT
    p.sampler.push_back(Fx_Value(ST_MINFILTER, filter));
    p.sampler.push_back(Fx_Value(ST_MAGFILTER, filter));
    p.sampler.push_back(Fx_Value(ST_MIPFILTER, linear ? 2u : 0u));
    p.sampler.push_back(Fx_Value(ST_ADDRESSU, address));
    p.sampler.push_back(Fx_Value(ST_ADDRESSV, address));
    return p;
}

FxState Fx_Shader(bool pixel, const std::vector<uint32_t>& tokens)
{
    return FxState{pixel ? ST_PIXELSHADER : ST_VERTEXSHADER, pixel ? FxState::PIXEL_SHADER : FxState::VERTEX_SHADER,
                   0, tokens, ""};
}

FxState Fx_Value(int op, uint32_t value)
{
    return FxState{op, FxState::VALUE, value, {}, ""};
}

} // namespace fxgen
