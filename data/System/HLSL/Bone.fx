// Skinning by a bone palette: each vertex is blended between two palette matrices by the weight of
// its first bone. The pixels stay with the fixed-function stages, which the skinned draw sets up
// (material texture, toon ramp). Bone.fxo is the same effect compiled.

float4x4 matWorld[32];
float4x4 mViewProj;
float fTime;

struct SkinOut {
    float4 pos : POSITION;
    float4 colour : COLOR0;
    float2 uv : TEXCOORD0;
};

SkinOut BoneVS(float4 pos : POSITION, float weight : BLENDWEIGHT, float4 bones : BLENDINDICES,
               float4 colour : COLOR0, float2 uv : TEXCOORD0)
{
    SkinOut o;
    // A bone number past the palette reads its last matrix.
    int a = min(bones.x, 31);
    int b = min(bones.y, 31);
    float4 p = lerp(mul(pos, matWorld[b]), mul(pos, matWorld[a]), weight);
    o.pos = mul(p, mViewProj);
    o.colour = colour;
    o.uv = uv;
    return o;
}

technique BoneRender { pass P0 { VertexShader = compile vs_2_0 BoneVS(); PixelShader = NULL; } }
