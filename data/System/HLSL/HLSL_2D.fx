// The shader path's last step: the blended picture (stage 0, set by the caller) on the back buffer.
// HLSL_2D.fxo is the same effect compiled.

float g_fTime;

sampler PictureSampler : register(s0);

float4 PicturePS(float4 colour : COLOR0, float2 uv : TEXCOORD0) : COLOR0
{
    return tex2D(PictureSampler, uv) * colour;
}

technique Render2D { pass P0 { VertexShader = NULL; PixelShader = compile ps_2_0 PicturePS(); ZEnable = false; AlphaBlendEnable = false; } }
