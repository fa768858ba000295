// The bump-mapped ground. The studio loads "BumpGround.fx", which is this effect compiled (made by
// tools/fxgen): the ground has no compiled fallback, and D3DX reads a compiled effect whatever its
// file is called.

float g_fTime;
float4x4 g_mWorldViewProjection;
float4x4 g_mWorld;
float4x4 g_mWorldInv;
float4 vLightDir;  // the way the light travels, mesh space
float4 vLightInv;
float4 vEyePos;
texture g_txScene;
texture g_tex_nor;

sampler SceneSampler = sampler_state { Texture = <g_txScene>; MinFilter = LINEAR; MagFilter = LINEAR; MipFilter = LINEAR; AddressU = WRAP; AddressV = WRAP; };
sampler NormalSampler = sampler_state { Texture = <g_tex_nor>; MinFilter = LINEAR; MagFilter = LINEAR; MipFilter = LINEAR; AddressU = WRAP; AddressV = WRAP; };

struct GroundOut {
    float4 pos : POSITION;
    float2 uv : TEXCOORD0;
    float4 light : TEXCOORD1;  // towards the light in tangent space; w the diffuse share
};

GroundOut GroundVS(float4 pos : POSITION, float3 normal : NORMAL, float2 uv : TEXCOORD0)
{
    GroundOut o;
    o.pos = mul(mul(pos, g_mWorld), g_mWorldViewProjection);
    o.uv = uv;
    // The tangent follows the x axis across an upward surface.
    float3 n = normalize(normal);
    float3 t = normalize(cross(n, float3(0, 0, 1)));
    float3 b = cross(n, t);
    float3 l = -vLightDir.xyz;
    o.light = float4(dot(l, t), dot(l, b), dot(l, n), 0.7);
    return o;
}

float4 GroundPS(GroundOut i) : COLOR0
{
    float4 decal = tex2D(SceneSampler, i.uv);
    float3 raw = tex2D(NormalSampler, i.uv).rgb;
    float3 n = dot(raw, raw) > 0 ? normalize(raw * 2 - 1) : float3(0, 0, 1);
    float diffuse = saturate(dot(n, normalize(i.light.xyz)));
    return float4(decal.rgb * (1 + i.light.w * (diffuse - 1)), decal.a);
}

technique RenderScene { pass P0 { VertexShader = compile vs_2_0 GroundVS(); PixelShader = compile ps_2_0 GroundPS(); } }
