// Picture loading into Direct3D textures: our own QVI and PSD readers, D3DX for every other type.
#pragma once
#include <d3d9.h>
#include <d3dx9.h>

#include "frame/image.h"
#include "frame/win32/app_frame.h"

// The toon ramp ("System\\Toon.JPG") and its picture information; g_ToonShading is set when it
// loaded.
extern IDirect3DTexture9* g_ToonTexture;
extern D3DXIMAGE_INFO g_ToonImageInfo;

// Releases the texture in *texture, then loads `file` (relative to the current directory unless it
// holds a folder; `folder` is not used) and sets *texture, null on failure. "qvi" and "psd" (any
// case) are read by the studio, everything else by D3DX as A8R8G8B8 with opaque black transparent.
// Nothing happens for an empty name.
void ImageLoad(IDirect3DTexture9** texture, const char* folder, const char* file, D3DXIMAGE_INFO* info);
void Image_LoadInCurrentDir(IDirect3DTexture9** texture, const char* file, D3DXIMAGE_INFO* info);
// The same into the platform-free copy of the information that engine records keep.
void Image_LoadInCurrentDir(IDirect3DTexture9** texture, const char* file, QVL::IMAGE_INFO* info);

// A managed A8R8G8B8 texture of one level holding the picture, its sides raised by
// Image_TextureSide and filled by nearest neighbour. Null without a device or on failure.
IDirect3DTexture9* Image_CreateTexture(const QVL::BGRA_IMAGE& picture);

// Rebuilds g_PixelCopies[entry] from a loaded texture in the entry's recorded size (the entry is
// left without a copy when there is no texture).
void Image_CopyTexturePixels(int entry, IDirect3DTexture9* texture, int32_t entryW, int32_t entryH);

// The toon ramp from the data folder (with a device only); LibInit calls it when its switch is on.
void Image_LoadToonRamp();
