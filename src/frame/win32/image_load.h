// Picture loading into Direct3D textures: our own QVI and PSD readers, D3DX for every other type.
#pragma once
#include <d3d9.h>

#include "frame/image.h"

// The frame's device (null when there is none).
extern IDirect3DDevice9* g_Device;

// The toon ramp ("System\\Toon.JPG") and its picture information; g_ToonShading is set when it
// loaded.
extern IDirect3DTexture9* g_ToonTexture;
extern QVL::IMAGE_INFO g_ToonImageInfo;

// Releases the texture in *texture, then loads `file` (relative to the current directory unless it
// holds a folder; `folder` is not used) and sets *texture, null on failure. "qvi" and "psd" (any
// case) are read by the studio, everything else by D3DX as A8R8G8B8 with opaque black transparent.
void ImageLoad(IDirect3DTexture9** texture, const char* folder, const char* file, QVL::IMAGE_INFO* info);
void Image_LoadInCurrentDir(IDirect3DTexture9** texture, const char* file, QVL::IMAGE_INFO* info);

// A managed A8R8G8B8 texture of one level holding the picture, its sides raised by
// Image_TextureSide and filled by nearest neighbour. Null without a device or on failure.
IDirect3DTexture9* Image_CreateTexture(const QVL::BGRA_IMAGE& picture);

// Rebuilds g_PixelCopies[entry] from a loaded texture in the entry's recorded size (entry freed
// when there is no texture).
void Image_CopyTexturePixels(int entry, IDirect3DTexture9* texture, int32_t entryW, int32_t entryH);

// LibInit's pictures from the data folder: the placeholder "System\\tex_null.bmp" into the scene, and
// the toon ramp "System\\Toon.JPG" (with a device only).
void Image_LoadPlaceholder();
void Image_LoadToonRamp();
