// Screenshots: the back buffer saved as a BMP file in the program's folder.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "frame/bytes.h"
#include "frame/lib.h"
#include "frame/log.h"
#include "frame/text.h"
#include "frame/win32/app_frame.h"
#include "frame/win32/avi_writer.h"

bool Screenshot_Write(const char* path, const RECT* rect)
{
    if (!g_Device || !path || !*path) return false;
    IDirect3DSurface9* back = nullptr;
    if (FAILED(g_Device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back)) || !back) {
        Log_Printf("screenshot: no back buffer");
        return false;
    }
    back->GetDesc(&g_BackBufferDesc);
    // Encoded in memory first: the file is then written by the one writer that checks every byte
    // and only replaces an old picture with a complete one.
    ID3DXBuffer* encoded = nullptr;
    const HRESULT hr = D3DXSaveSurfaceToFileInMemory(&encoded, D3DXIFF_BMP, back, nullptr, rect);
    back->Release();
    if (FAILED(hr) || !encoded) {
        Log_Printf("screenshot: cannot encode the back buffer (0x%08lx)", (unsigned long)hr);
        if (encoded) encoded->Release();
        return false;
    }
    const bool ok = QVL::File_WriteAll(path, encoded->GetBufferPointer(), encoded->GetBufferSize());
    encoded->Release();
    if (!ok) Log_Printf("screenshot: cannot write %s", path);
    return ok;
}

bool App_SaveScreenshotRect(const char* file, const RECT* rect)
{
    if (!file) return false;
    char path[512];
    // A cut path would write some other file.
    if (!Str_Format(path, sizeof path, "%s\\%s", g_Lib.exeFolder, file)) {
        Log_Printf("screenshot: name too long: %s", file);
        QVL::File_ReportWriteFailed(file);
        return false;
    }
    if (!Screenshot_Write(path, rect)) {
        QVL::File_ReportWriteFailed(path);
        return false;
    }
    return true;
}

bool App_SaveScreenshot(const char* file)
{
    return App_SaveScreenshotRect(file, nullptr);
}
