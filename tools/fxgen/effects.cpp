#include "effects.h"

#include "fx_writer.h"
#include "shader_asm.h"

namespace fxgen {

namespace {

// ---- Shaders ------------------------------------------------------------------------------------
// Matrices are uploaded by rows (row-vector convention, as D3DX builds them), so a point p becomes
// p.x * row0 + p.y * row1 + p.z * row2 + row3.

// HLSL_3D: the scene passes. Inputs are the material draw's vertices (position, normal, diffuse,
// texture coordinates). World c0-c3, WVProj c4-c7, LightVProj c8-c11, Ambient c12, vLightDir c13.
const char kVsScene[] = R"(vs_2_0
dcl_position v0
dcl_normal v1
dcl_color v2
dcl_texcoord v3
def c20, 0, 1, 0.5, -0.5
// world position
mul r0, v0.x, c0
mad r0, v0.y, c1, r0
mad r0, v0.z, c2, r0
add r0, r0, c3
// clip position
mul r1, r0.x, c4
mad r1, r0.y, c5, r1
mad r1, r0.z, c6, r1
mad r1, r0.w, c7, r1
mov oPos, r1
// light clip position, turned into shadow-map coordinates before the division:
// (x/2 + w/2, -y/2 + w/2, z, w)
mul r2, r0.x, c8
mad r2, r0.y, c9, r2
mad r2, r0.z, c10, r2
mad r2, r0.w, c11, r2
mul r3, r2.w, c20.z
mad oT1.x, r2.x, c20.z, r3.x
mad oT1.y, r2.y, c20.w, r3.y
mov oT1.zw, r2
// diffuse light: ambient plus the world normal against the light direction
mul r4, v1.x, c0
mad r4, v1.y, c1, r4
mad r4, v1.z, c2, r4
nrm r5.xyz, r4
dp3 r6.x, r5, c13
max r6.x, r6.x, c20.x
add r7, r6.x, c12
min r7, r7, c20.y
mul oD0.xyz, v2, r7
mov oD0.w, v2.w
mov oT0.xy, v3
// eye distance for the focus
mov oT2, r1.w
)";

// Shadow-map pass: the light's clip position. World c0-c3, LightVProj c8-c11.
const char kVsLight[] = R"(vs_2_0
dcl_position v0
mul r0, v0.x, c0
mad r0, v0.y, c1, r0
mad r0, v0.z, c2, r0
add r0, r0, c3
mul r1, r0.x, c8
mad r1, r0.y, c9, r1
mad r1, r0.z, c10, r1
mad r1, r0.w, c11, r1
mov oPos, r1
mov oT0, r1
)";

// The shadow map holds 1 - depth, so that its clear colour (black) means "nothing in front".
const char kPsDepth[] = R"(ps_2_0
dcl t0
def c0, 1, 0, 0, 1
rcp r0.w, t0.w
mul r0.x, t0.z, r0.w
add r1, c0.x, -r0.x
mov oC0, r1
)";

// Shadowed scene: stage 0 holds the material's texture (set by the material draw). LightColor c0,
// Margin c1, bTex c2; the shadow map on s1.
const char kPsShadowed[] = R"(ps_2_0
dcl v0
dcl t0.xy
dcl t1
dcl_2d s0
dcl_2d s1
def c10, 1, 0, 0, 0
texld r0, t0, s0
mul r0, r0, v0
lrp r1, c2.x, r0, v0
texldp r2, t1, s1
rcp r3.w, t1.w
mul r3.x, t1.z, r3.w
// depth - margin - (depth of the nearest caster): above 0 lies in shadow
add r3.x, r3.x, -c1.x
add r3.x, r3.x, r2.x
add r3.x, r3.x, -c10.x
lrp r4, c0.w, c0, r1
mov r4.w, r1.w
cmp r5, -r3.x, r1, r4
mov oC0, r5
)";

// The material's colour alone (the glowing materials of the bloom). bTex c2.
const char kPsPlain[] = R"(ps_2_0
dcl v0
dcl t0.xy
dcl_2d s0
texld r0, t0, s0
mul r0, r0, v0
lrp r1, c2.x, r0, v0
mov oC0, r1
)";

// Depth-of-field pass: how far out of focus each pixel is, 0 (sharp) to 1, in all channels.
const char kPsFocus[] = R"(ps_2_0
dcl t2
def c0, -60, 0.004, 1, 0
add r0, t2.x, c0.x
abs r0, r0
mul_sat r0, r0, c0.y
mov r0.w, c0.z
mov oC0, r0
)";

// Bloom: a nine-tap box over Tex1 (s0), doubled.
const char kPsBloom[] = R"(ps_2_0
dcl t0
dcl_2d s0
def c0, 0.0029296875, 0, 0, 0
def c1, -0.0029296875, 0, 0, 0
def c2, 0, 0.0029296875, 0, 0
def c3, 0, -0.0029296875, 0, 0
def c4, 0.0029296875, 0.0029296875, 0, 0
def c5, -0.0029296875, -0.0029296875, 0, 0
def c6, 0.0029296875, -0.0029296875, 0, 0
def c7, -0.0029296875, 0.0029296875, 0, 0
def c8, 0.22222222, 1, 0, 0
add r1, t0, c0
add r2, t0, c1
add r3, t0, c2
add r4, t0, c3
add r5, t0, c4
add r6, t0, c5
add r7, t0, c6
add r8, t0, c7
texld r0, t0, s0
texld r1, r1, s0
texld r2, r2, s0
texld r3, r3, s0
texld r4, r4, s0
texld r5, r5, s0
texld r6, r6, s0
texld r7, r7, s0
texld r8, r8, s0
add r0, r0, r1
add r0, r0, r2
add r0, r0, r3
add r0, r0, r4
add r0, r0, r5
add r0, r0, r6
add r0, r0, r7
add r0, r0, r8
mul r0, r0, c8.x
mov r0.w, c8.y
mov oC0, r0
)";

// Final blend: the sharp scene Tex2 (s1) blurred where the focus map Tex1 (s0) says so, plus the
// bloom Tex3 (s2) while bBloom (c0) is on.
const char kPsBlend[] = R"(ps_2_0
dcl t0
dcl_2d s0
dcl_2d s1
dcl_2d s2
def c1, 0.001953125, 0.001953125, 0, 0
def c2, -0.001953125, -0.001953125, 0, 0
def c3, 0.001953125, -0.001953125, 0, 0
def c4, -0.001953125, 0.001953125, 0, 0
def c5, 0.25, 1, 0, 0
add r2, t0, c1
add r3, t0, c2
add r4, t0, c3
add r5, t0, c4
texld r0, t0, s0
texld r1, t0, s1
texld r2, r2, s1
texld r3, r3, s1
texld r4, r4, s1
texld r5, r5, s1
texld r8, t0, s2
add r6, r2, r3
add r6, r6, r4
add r6, r6, r5
mul r6, r6, c5.x
lrp r7, r0.x, r6, r1
mad r7, r8, c0.x, r7
mov r7.w, c5.y
mov oC0, r7
)";

// HLSL_2D: the blended picture (stage 0, set by the caller) times the quad's colour.
const char kPs2D[] = R"(ps_2_0
dcl v0
dcl t0
dcl_2d s0
texld r0, t0, s0
mul r0, r0, v0
mov oC0, r0
)";

// Bone: the skin vertex (position, weight of bone A, bone bytes A and B, diffuse, UV) blended
// between two palette matrices. matWorld c0-c127 (32 matrices), mViewProj c128-c131. A bone number
// past the palette reads its last matrix rather than the registers behind it.
const char kVsBone[] = R"(vs_2_0
dcl_position v0
dcl_blendweight v1
dcl_blendindices v2
dcl_color v3
dcl_texcoord v4
def c200, 4, 124, 0, 0
mul r0, v2, c200.x
min r0, r0, c200.y
mova a0.x, r0.x
mul r1, v0.x, c[a0.x + 0]
mad r1, v0.y, c[a0.x + 1], r1
mad r1, v0.z, c[a0.x + 2], r1
add r1, r1, c[a0.x + 3]
mova a0.x, r0.y
mul r2, v0.x, c[a0.x + 0]
mad r2, v0.y, c[a0.x + 1], r2
mad r2, v0.z, c[a0.x + 2], r2
add r2, r2, c[a0.x + 3]
lrp r3, v1.x, r1, r2
mul r4, r3.x, c128
mad r4, r3.y, c129, r4
mad r4, r3.z, c130, r4
mad r4, r3.w, c131, r4
mov oPos, r4
mov oD0, v3
mov oT0.xy, v4
)";

// BumpMap: the bump vertex (position, normal, tangent, UV). mWVP c0-c3, vLightDir c4 (towards the
// light in model space; w is the diffuse share). The light goes to the pixel in tangent space.
const char kVsBumpMap[] = R"(vs_2_0
dcl_position v0
dcl_normal v1
dcl_tangent v2
dcl_texcoord v3
mul r0, v0.x, c0
mad r0, v0.y, c1, r0
mad r0, v0.z, c2, r0
add r0, r0, c3
mov oPos, r0
mov oT0.xy, v3
nrm r1.xyz, v1
nrm r2.xyz, v2
crs r3.xyz, r1, r2
dp3 r4.x, c4, r2
dp3 r4.y, c4, r3
dp3 r4.z, c4, r1
mov r4.w, c4.w
mov oT1, r4
)";

// BumpGround: the ground mesh (position, normal, UV) placed by g_mWorld, then
// g_mWorldViewProjection c0-c3; g_mWorld c4-c7; vLightDir c8, the direction the light travels in
// mesh space. The tangent follows the x axis across an upward surface.
const char kVsGround[] = R"(vs_2_0
dcl_position v0
dcl_normal v1
dcl_texcoord v2
def c20, 0, 0, 1, 0.7
mul r0, v0.x, c4
mad r0, v0.y, c5, r0
mad r0, v0.z, c6, r0
add r0, r0, c7
mul r1, r0.x, c0
mad r1, r0.y, c1, r1
mad r1, r0.z, c2, r1
mad r1, r0.w, c3, r1
mov oPos, r1
mov oT0.xy, v2
nrm r2.xyz, v1
crs r3.xyz, r2, c20
nrm r4.xyz, r3
crs r5.xyz, r2, r4
dp3 r6.x, -c8, r4
dp3 r6.y, -c8, r5
dp3 r6.z, -c8, r2
mov r6.w, c20.w
mov oT1, r6
)";

// Normal-mapped colour for both bump effects: decal s0, normal map s1, tangent-space light in t1
// (w the diffuse share). A missing normal map reads black, which no normal encodes: the flat
// normal stands in.
const char kPsBump[] = R"(ps_2_0
dcl t0.xy
dcl t1
dcl_2d s0
dcl_2d s1
def c0, 2, -1, 0, 1
def c1, 0, 0, 1, 0
texld r0, t0, s0
texld r1, t0, s1
mad r2, r1, c0.x, c0.y
dp3 r3.x, r1, r1
cmp r2, -r3.x, c1, r2
nrm r4.xyz, r2
nrm r5.xyz, t1
dp3_sat r6.x, r4, r5
add r6.x, r6.x, c0.y
mad r6.x, r6.x, t1.w, c0.w
mul r0.xyz, r0, r6.x
mov oC0, r0
)";

const std::vector<ShaderText> kTexts = {
    {"HLSL_3D.vs_scene", kVsScene}, {"HLSL_3D.vs_light", kVsLight}, {"HLSL_3D.ps_depth", kPsDepth},
    {"HLSL_3D.ps_shadowed", kPsShadowed}, {"HLSL_3D.ps_plain", kPsPlain}, {"HLSL_3D.ps_focus", kPsFocus},
    {"HLSL_3D.ps_bloom", kPsBloom}, {"HLSL_3D.ps_blend", kPsBlend}, {"HLSL_2D.ps", kPs2D},
    {"Bone.vs", kVsBone}, {"BumpMap.vs", kVsBumpMap}, {"BumpGround.vs", kVsGround}, {"Bump.ps", kPsBump},
};

// ---- Constant-table entries ---------------------------------------------------------------------

ShaderConstant CMat(const char* name, int reg, int elements = 1)
{
    return {name, RS_FLOAT4, reg, 4 * elements, PC_MATRIX_ROWS, PT_FLOAT, 4, 4, elements};
}
ShaderConstant CVec(const char* name, int reg) { return {name, RS_FLOAT4, reg, 1, PC_VECTOR, PT_FLOAT, 1, 4, 1}; }
ShaderConstant CFloat(const char* name, int reg) { return {name, RS_FLOAT4, reg, 1, PC_SCALAR, PT_FLOAT, 1, 1, 1}; }
ShaderConstant CBool(const char* name, int reg) { return {name, RS_FLOAT4, reg, 1, PC_SCALAR, PT_BOOL, 1, 1, 1}; }
ShaderConstant CSampler(const char* name, int reg)
{
    return {name, RS_SAMPLER, reg, 1, PC_OBJECT, PT_SAMPLER2D, 1, 1, 1};
}

// Assembles one shader into a pass state; an error leaves a message and an empty state.
class Builder {
public:
    explicit Builder(std::string& error) : m_error(error) {}

    FxState Shader(const char* text, const std::vector<ShaderConstant>& constants)
    {
        std::vector<uint32_t> tokens;
        std::string why;
        if (!Asm_Assemble(text, constants, tokens, why) && m_error.empty()) m_error = why;
        bool pixel = std::string(text).compare(0, 2, "ps") == 0;
        return Fx_Shader(pixel, tokens);
    }

    std::vector<uint8_t> Finish(const FxEffect& fx) { return m_error.empty() ? Fx_Write(fx) : std::vector<uint8_t>(); }

private:
    std::string& m_error;
};

FxState NoShader(bool pixel) { return Fx_Shader(pixel, {}); }

// The passes that draw a screen quad of pre-transformed vertices: no vertex shader, no depth test,
// no blending (the quad replaces the target's picture).
std::vector<FxState> QuadStates(FxState pixelShader)
{
    return {NoShader(false), pixelShader, Fx_Value(ST_ZENABLE, 0), Fx_Value(ST_ALPHABLENDENABLE, 0)};
}

FxTechnique OnePass(const char* name, std::vector<FxState> states)
{
    return FxTechnique{name, {FxPass{"P0", states}}};
}

const float kLightDir[4] = {-0.40824829f, 0.81649658f, -0.40824829f, 0};  // normalise (-0.25, 0.5, -0.25)

std::vector<uint8_t> BuildHlsl3D(std::string& error)
{
    Builder b(error);
    FxEffect fx;
    fx.params = {
        Fx_Matrix("World"), Fx_Matrix("WVProj"), Fx_Vector("Ambient", 0.2f, 0.2f, 0.2f, 1.0f),
        Fx_Matrix("LightVProj"), Fx_Texture("ShadowTex"), Fx_Vector("LightColor", 0, 0, 0, 0.2f),
        Fx_Float("Margin", 0.001f), Fx_Vector("vLightDir", kLightDir[0], kLightDir[1], kLightDir[2], kLightDir[3]),
        Fx_Texture("g_txScene"), Fx_Float("g_fTime"), Fx_Bool("bTex", true), Fx_Texture("Tex1"), Fx_Texture("Tex2"),
        Fx_Texture("Tex3"), Fx_Bool("bBloom", false),
        Fx_Sampler("ShadowSampler", "ShadowTex", 3, false), Fx_Sampler("Tex1Sampler", "Tex1", 3),
        Fx_Sampler("Tex2Sampler", "Tex2", 3), Fx_Sampler("Tex3Sampler", "Tex3", 3),
    };
    const std::vector<ShaderConstant> sceneVs = {CMat("World", 0), CMat("WVProj", 4), CMat("LightVProj", 8),
                                                 CVec("Ambient", 12), CVec("vLightDir", 13)};
    FxState vsScene = b.Shader(kVsScene, sceneVs);
    FxState vsLight = b.Shader(kVsLight, {CMat("World", 0), CMat("LightVProj", 8)});
    FxState psDepth = b.Shader(kPsDepth, {});
    FxState psShadowed = b.Shader(kPsShadowed, {CVec("LightColor", 0), CFloat("Margin", 1), CBool("bTex", 2),
                                                CSampler("ShadowSampler", 1)});
    FxState psPlain = b.Shader(kPsPlain, {CBool("bTex", 2)});
    FxState psFocus = b.Shader(kPsFocus, {});
    FxState psBloom = b.Shader(kPsBloom, {CSampler("Tex1Sampler", 0)});
    FxState psBlend = b.Shader(kPsBlend, {CBool("bBloom", 0), CSampler("Tex1Sampler", 0), CSampler("Tex2Sampler", 1),
                                          CSampler("Tex3Sampler", 2)});
    fx.techniques = {
        OnePass("ShadowMapTex", {vsLight, psDepth}),
        OnePass("ShadowMapDraw", {vsScene, psShadowed}),
        OnePass("DepthOfFieldTex", {vsScene, psFocus}),
        OnePass("SpecularDraw", {vsScene, psPlain}),
        OnePass("BloomDraw", QuadStates(psBloom)),
        OnePass("RenderBlend", QuadStates(psBlend)),
    };
    return b.Finish(fx);
}

std::vector<uint8_t> BuildHlsl2D(std::string& error)
{
    Builder b(error);
    FxEffect fx;
    fx.params = {Fx_Float("g_fTime")};
    fx.techniques = {OnePass("Render2D", QuadStates(b.Shader(kPs2D, {})))};
    return b.Finish(fx);
}

// The pixels stay with the fixed-function stages, which the skinned draw sets up itself
// (material texture, toon ramp).
std::vector<uint8_t> BuildBone(std::string& error)
{
    Builder b(error);
    FxEffect fx;
    fx.params = {Fx_Matrix("matWorld", 32), Fx_Matrix("mViewProj"), Fx_Float("fTime")};
    fx.techniques = {OnePass("BoneRender", {b.Shader(kVsBone, {CMat("matWorld", 0, 32), CMat("mViewProj", 128)}),
                                            NoShader(true)})};
    return b.Finish(fx);
}

std::vector<uint8_t> BuildBumpMap(std::string& error)
{
    Builder b(error);
    FxEffect fx;
    fx.params = {
        Fx_Matrix("mWVP"), Fx_Vector("vLightDir", 0, 0, -1, 0.8f), Fx_Vector("vEyePos"), Fx_Texture("DecaleTex"),
        Fx_Texture("NormalMap"), Fx_Sampler("DecaleSampler", "DecaleTex", 1), Fx_Sampler("NormalSampler", "NormalMap", 1),
    };
    fx.techniques = {OnePass("BumpMapDraw", {b.Shader(kVsBumpMap, {CMat("mWVP", 0), CVec("vLightDir", 4)}),
                                             b.Shader(kPsBump, {CSampler("DecaleSampler", 0), CSampler("NormalSampler", 1)})})};
    return b.Finish(fx);
}

std::vector<uint8_t> BuildBumpGround(std::string& error)
{
    Builder b(error);
    FxEffect fx;
    fx.params = {
        Fx_Float("g_fTime"), Fx_Matrix("g_mWorldViewProjection"), Fx_Matrix("g_mWorld"), Fx_Matrix("g_mWorldInv"),
        Fx_Vector("vLightDir", 0, -0.19611614f, -0.98058068f, -0.3f), Fx_Vector("vLightInv", 0, -0.19611614f, -0.98058068f, -0.3f),
        Fx_Vector("vEyePos"), Fx_Texture("g_txScene"), Fx_Texture("g_tex_nor"),
        Fx_Sampler("SceneSampler", "g_txScene", 1), Fx_Sampler("NormalSampler", "g_tex_nor", 1),
    };
    fx.techniques = {OnePass("RenderScene",
                             {b.Shader(kVsGround, {CMat("g_mWorldViewProjection", 0), CMat("g_mWorld", 4), CVec("vLightDir", 8)}),
                              b.Shader(kPsBump, {CSampler("SceneSampler", 0), CSampler("NormalSampler", 1)})})};
    return b.Finish(fx);
}

} // namespace

const std::vector<EffectFile>& Fxgen_Files()
{
    // "BumpGround.fx" has no compiled fallback in the studio, so the binary takes the .fx name
    // (D3DX reads a compiled effect whatever the file is called); its source is BumpGround.hlsl.
    static const std::vector<EffectFile> files = {
        {"data/System/HLSL/HLSL_3D.fxo", BuildHlsl3D},       {"data/System/HLSL/HLSL_2D.fxo", BuildHlsl2D},
        {"data/System/HLSL/Bone.fxo", BuildBone},            {"data/System/HLSL/BumpMap.fxo", BuildBumpMap},
        {"data/System/HLSL/BumpGround.fx", BuildBumpGround},
    };
    return files;
}

const std::vector<ShaderText>& Fxgen_ShaderTexts()
{
    return kTexts;
}

} // namespace fxgen
