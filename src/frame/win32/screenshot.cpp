// Screenshots: the back buffer saved as a BMP file in the program's folder.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "frame/lib.h"
#include "frame/log.h"
#include "frame/text.h"
#include "frame/win32/app_frame.h"

void App_SaveScreenshot(const char* file)
{
    if (!g_Device || !file) return;
    char path[512];
    // A cut path would write some other file.
    if (!Str_Format(path, sizeof path, "%s\\%s", g_Lib.exeFolder, file)) {
        Log_Printf("screenshot: name too long: %s", file);
        return;
    }
    IDirect3DSurface9* back = nullptr;
    if (FAILED(g_Device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back)) || !back) {
        Log_Printf("screenshot: no back buffer");
        return;
    }
    back->GetDesc(&g_BackBufferDesc);
    const HRESULT hr = D3DXSaveSurfaceToFileA(path, D3DXIFF_BMP, back, nullptr, nullptr);
    back->Release();
    if (FAILED(hr)) Log_Printf("screenshot: cannot write %s (0x%08lx)", path, (unsigned long)hr);
}
