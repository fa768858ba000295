#include "frame/win32/image_load.h"

#include <cstring>

#include "frame/lib.h"
#include "frame/log.h"
#include "frame/paths.h"
#include "frame/scene.h"
#include "frame/services.h"
#include "frame/text.h"

IDirect3DTexture9* g_ToonTexture = nullptr;
D3DXIMAGE_INFO g_ToonImageInfo;

static bool HasExtension(const char* name, const char* ext)
{
    return lstrcmpiA(File_GetExtension(name), ext) == 0;
}

static void ReportLoadError(const char* file)
{
    Log_Printf("*** ERROR *** %s Loadできませんでした。", file);
}

IDirect3DTexture9* Image_CreateTexture(const QVL::BGRA_IMAGE& picture)
{
    if (!g_Device || picture.width <= 0 || picture.height <= 0) return nullptr;
    IDirect3DTexture9* tex = nullptr;
    if (FAILED(D3DXCreateTexture(g_Device, (UINT)Image_TextureSide(picture.width),
                                 (UINT)Image_TextureSide(picture.height), 1, 0, D3DFMT_A8R8G8B8,
                                 D3DPOOL_MANAGED, &tex)) ||
        !tex)
        return nullptr;
    // D3DX may have made it smaller than asked (device limits): fill the size it really has.
    D3DSURFACE_DESC desc;
    D3DLOCKED_RECT lr;
    if (FAILED(tex->GetLevelDesc(0, &desc)) || FAILED(tex->LockRect(0, &lr, nullptr, 0))) {
        tex->Release();
        return nullptr;
    }
    Image_Stretch(picture, static_cast<uint8_t*>(lr.pBits), lr.Pitch, (int32_t)desc.Width,
                  (int32_t)desc.Height);
    tex->UnlockRect(0);
    return tex;
}

static void LoadWithD3DX(IDirect3DTexture9** texture, const char* file, D3DXIMAGE_INFO* info)
{
    D3DXIMAGE_INFO di;
    std::memset(&di, 0, sizeof di);
    IDirect3DTexture9* tex = nullptr;
    if (!g_Device ||
        FAILED(D3DXCreateTextureFromFileExA(g_Device, file, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0,
                                            D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, D3DX_FILTER_POINT,
                                            D3DX_FILTER_POINT, 0xFF000000, &di, nullptr, &tex)))
        tex = nullptr;
    *texture = tex;
    if (!tex) {
        ReportLoadError(file);
        return;
    }
    if (info) *info = di;
}

void ImageLoad(IDirect3DTexture9** texture, const char* /*folder*/, const char* file, D3DXIMAGE_INFO* info)
{
    if (!texture || !file || !*file) return;
    Log_DebugPrintf("ImageLoad %s", file);
    if (*texture) {
        (*texture)->Release();
        *texture = nullptr;
    }
    if (info) std::memset(info, 0, sizeof *info);

    QVL::BGRA_IMAGE picture;
    if (HasExtension(file, "qvi")) {
        if (!Svc_FileExists(file)) return;  // a missing QVI leaves no texture and no log line
        if (!Qvi_Read(file, picture)) {
            ReportLoadError(file);
            return;
        }
    } else if (HasExtension(file, "psd")) {
        QVL::PSD_IMAGE psd;
        if (!PSD_Read(file, psd)) {
            // Not a picture we decode (16-bit, CMYK, damaged...): perhaps D3DX can.
            LoadWithD3DX(texture, file, info);
            return;
        }
        PSD_ToBgra(psd, picture);
    } else {
        LoadWithD3DX(texture, file, info);
        return;
    }
    *texture = Image_CreateTexture(picture);
    // Only the picture's own size is reported for the pictures we decode.
    if (*texture && info) {
        info->Width = (UINT)picture.width;
        info->Height = (UINT)picture.height;
    }
}

void Image_LoadInCurrentDir(IDirect3DTexture9** texture, const char* file, D3DXIMAGE_INFO* info)
{
    char dir[260];
    if (!Svc_GetCurrentDirectory(dir, sizeof dir)) dir[0] = 0;
    ImageLoad(texture, dir, file, info);
}

void Image_LoadInCurrentDir(IDirect3DTexture9** texture, const char* file, QVL::IMAGE_INFO* info)
{
    D3DXIMAGE_INFO di;
    std::memset(&di, 0, sizeof di);
    Image_LoadInCurrentDir(texture, file, &di);
    if (info)
        *info = QVL::IMAGE_INFO{di.Width, di.Height, di.Depth, di.MipLevels, (uint32_t)di.Format,
                                (uint32_t)di.ResourceType, (uint32_t)di.ImageFileFormat};
}

void Image_CopyTexturePixels(int entry, IDirect3DTexture9* texture, int32_t entryW, int32_t entryH)
{
    Image_FreePixelCopy(entry);
    if (!texture) return;
    D3DSURFACE_DESC desc;
    D3DLOCKED_RECT lr;
    if (FAILED(texture->GetLevelDesc(0, &desc)) || desc.Format != D3DFMT_A8R8G8B8 ||
        FAILED(texture->LockRect(0, &lr, nullptr, D3DLOCK_READONLY)))
        return;
    Image_BuildPixelCopy(entry, static_cast<const uint8_t*>(lr.pBits), lr.Pitch, (int32_t)desc.Width,
                         (int32_t)desc.Height, entryW, entryH);
    texture->UnlockRect(0);
}

void Image_LoadToonRamp()
{
    if (!g_Device) return;
    char path[600];
    Str_Format(path, sizeof path, "%s\\System\\Toon.JPG", g_Lib.dataFolder);
    ImageLoad(&g_ToonTexture, g_Lib.dataFolder, path, &g_ToonImageInfo);
    if (g_ToonTexture) {
        g_ToonShading = 1;
    } else {
        g_ToonImageInfo.Width = 32;
        g_ToonImageInfo.Height = 32;
    }
}
