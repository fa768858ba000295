// Normal-mapped models: a decal and a normal map per material, the tangent carried by the vertex.
// BumpMap.fxo is the same effect compiled.

float4x4 mWVP;
float4 vLightDir = {0, 0, -1, 0.8};  // towards the light, model space; w is the diffuse share
float4 vEyePos;
texture DecaleTex;
texture NormalMap;

sampler DecaleSampler = sampler_state { Texture = <DecaleTex>; MinFilter = LINEAR; MagFilter = LINEAR; MipFilter = LINEAR; AddressU = WRAP; AddressV = WRAP; };
sampler NormalSampler = sampler_state { Texture = <NormalMap>; MinFilter = LINEAR; MagFilter = LINEAR; MipFilter = LINEAR; AddressU = WRAP; AddressV = WRAP; };

struct BumpOut {
    float4 pos : POSITION;
    float2 uv : TEXCOORD0;
    float4 light : TEXCOORD1;  // tangent space; w the diffuse share
};

BumpOut BumpVS(float4 pos : POSITION, float3 normal : NORMAL, float3 tangent : TANGENT, float2 uv : TEXCOORD0)
{
    BumpOut o;
    o.pos = mul(pos, mWVP);
    o.uv = uv;
    float3 n = normalize(normal);
    float3 t = normalize(tangent);
    float3 b = cross(n, t);
    o.light = float4(dot(vLightDir.xyz, t), dot(vLightDir.xyz, b), dot(vLightDir.xyz, n), vLightDir.w);
    return o;
}

float4 BumpPS(BumpOut i) : COLOR0
{
    float4 decal = tex2D(DecaleSampler, i.uv);
    float3 raw = tex2D(NormalSampler, i.uv).rgb;
    // A missing normal map reads black, which no normal encodes: the flat normal stands in.
    float3 n = dot(raw, raw) > 0 ? normalize(raw * 2 - 1) : float3(0, 0, 1);
    float diffuse = saturate(dot(n, normalize(i.light.xyz)));
    return float4(decal.rgb * (1 + i.light.w * (diffuse - 1)), decal.a);
}

technique BumpMapDraw { pass P0 { VertexShader = compile vs_2_0 BumpVS(); PixelShader = compile ps_2_0 BumpPS(); } }
