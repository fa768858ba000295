// The shader path's scene passes. The studio loads this source first; HLSL_3D.fxo is the same
// effect compiled (made by tools/fxgen from the shader assembly written after this source).

float4x4 World;
float4x4 WVProj;
float4 Ambient = {0.2, 0.2, 0.2, 1.0};
float4x4 LightVProj;
texture ShadowTex;
float4 LightColor = {0, 0, 0, 0.2};
float Margin = 0.001;
float4 vLightDir = {-0.40824829, 0.81649658, -0.40824829, 0};
texture g_txScene;
float g_fTime;
bool bTex = true;
texture Tex1;
texture Tex2;
texture Tex3;
bool bBloom = false;

// The material's texture is the one the material draw puts on stage 0.
sampler MaterialSampler : register(s0);
sampler ShadowSampler = sampler_state { Texture = <ShadowTex>; MinFilter = POINT; MagFilter = POINT; MipFilter = NONE; AddressU = CLAMP; AddressV = CLAMP; };
sampler Tex1Sampler = sampler_state { Texture = <Tex1>; MinFilter = LINEAR; MagFilter = LINEAR; MipFilter = LINEAR; AddressU = CLAMP; AddressV = CLAMP; };
sampler Tex2Sampler = sampler_state { Texture = <Tex2>; MinFilter = LINEAR; MagFilter = LINEAR; MipFilter = LINEAR; AddressU = CLAMP; AddressV = CLAMP; };
sampler Tex3Sampler = sampler_state { Texture = <Tex3>; MinFilter = LINEAR; MagFilter = LINEAR; MipFilter = LINEAR; AddressU = CLAMP; AddressV = CLAMP; };

struct SceneOut {
    float4 pos : POSITION;
    float4 colour : COLOR0;
    float2 uv : TEXCOORD0;
    float4 shadow : TEXCOORD1;  // shadow-map coordinates before the division
    float eye : TEXCOORD2;      // eye distance, for the focus
};

SceneOut SceneVS(float4 pos : POSITION, float3 normal : NORMAL, float4 colour : COLOR0, float2 uv : TEXCOORD0)
{
    SceneOut o;
    float4 world = mul(pos, World);
    o.pos = mul(world, WVProj);
    float4 light = mul(world, LightVProj);
    o.shadow = float4(0.5 * (light.x + light.w), 0.5 * (light.w - light.y), light.z, light.w);
    float3 n = normalize(mul(normal, (float3x3)World));
    float4 lit = min(Ambient + max(dot(n, vLightDir.xyz), 0), 1);
    o.colour = float4(colour.rgb * lit.rgb, colour.a);
    o.uv = uv;
    o.eye = o.pos.w;
    return o;
}

float4 LightVS(float4 pos : POSITION, out float4 depth : TEXCOORD0) : POSITION
{
    float4 p = mul(mul(pos, World), LightVProj);
    depth = p;
    return p;
}

// The map holds 1 - depth, so that its clear colour (black) means "nothing in front".
float4 DepthPS(float4 depth : TEXCOORD0) : COLOR0
{
    return 1 - depth.z / depth.w;
}

float4 MaterialColour(float4 colour, float2 uv)
{
    return bTex ? tex2D(MaterialSampler, uv) * colour : colour;
}

float4 ShadowedPS(SceneOut i) : COLOR0
{
    float4 c = MaterialColour(i.colour, i.uv);
    float nearest = 1 - tex2Dproj(ShadowSampler, i.shadow).r;
    if (i.shadow.z / i.shadow.w - Margin > nearest)
        c.rgb = lerp(c.rgb, LightColor.rgb, LightColor.a);
    return c;
}

float4 PlainPS(SceneOut i) : COLOR0
{
    return MaterialColour(i.colour, i.uv);
}

// How far out of focus (60 units from the eye), 0 sharp to 1 at 250 units away.
float4 FocusPS(SceneOut i) : COLOR0
{
    return float4(saturate(abs(i.eye - 60) * 0.004).xxx, 1);
}

float4 BloomPS(float2 uv : TEXCOORD0) : COLOR0
{
    const float d = 3.0 / 1024;
    float4 sum = 0;
    for (int y = -1; y <= 1; ++y)
        for (int x = -1; x <= 1; ++x)
            sum += tex2D(Tex1Sampler, uv + float2(x, y) * d);
    return float4(sum.rgb * (2.0 / 9), 1);
}

float4 BlendPS(float2 uv : TEXCOORD0) : COLOR0
{
    const float d = 2.0 / 1024;
    float focus = tex2D(Tex1Sampler, uv).r;
    float4 sharp = tex2D(Tex2Sampler, uv);
    float4 blurred = 0.25 * (tex2D(Tex2Sampler, uv + float2(d, d)) + tex2D(Tex2Sampler, uv - float2(d, d)) +
                             tex2D(Tex2Sampler, uv + float2(d, -d)) + tex2D(Tex2Sampler, uv + float2(-d, d)));
    float4 c = lerp(sharp, blurred, focus);
    if (bBloom) c += tex2D(Tex3Sampler, uv);
    return float4(c.rgb, 1);
}

technique ShadowMapTex { pass P0 { VertexShader = compile vs_2_0 LightVS(); PixelShader = compile ps_2_0 DepthPS(); } }
technique ShadowMapDraw { pass P0 { VertexShader = compile vs_2_0 SceneVS(); PixelShader = compile ps_2_0 ShadowedPS(); } }
technique DepthOfFieldTex { pass P0 { VertexShader = compile vs_2_0 SceneVS(); PixelShader = compile ps_2_0 FocusPS(); } }
technique SpecularDraw { pass P0 { VertexShader = compile vs_2_0 SceneVS(); PixelShader = compile ps_2_0 PlainPS(); } }
// Screen quads of pre-transformed vertices: no vertex shader, no depth test, no blending.
technique BloomDraw { pass P0 { VertexShader = NULL; PixelShader = compile ps_2_0 BloomPS(); ZEnable = false; AlphaBlendEnable = false; } }
technique RenderBlend { pass P0 { VertexShader = NULL; PixelShader = compile ps_2_0 BlendPS(); ZEnable = false; AlphaBlendEnable = false; } }
