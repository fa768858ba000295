// Says in one line whether Wine can create a Direct3D 9 device here, so that test.sh and run.sh stop
// with the cause instead of a screen of failing tests or a studio without a device.
// Exit status: 0 a device was created, cleared and presented; 2 no Direct3D object (Wine found no
// usable OpenGL); 3 no device; 4 no window.
#include <windows.h>
#include <d3d9.h>

#include <cstdio>

int main()
{
    HINSTANCE inst = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = inst;
    wc.lpszClassName = "QvD3dCheck";
    RegisterClassA(&wc);
    // Never shown: a device needs a window on the display, not a visible one.
    HWND wnd = CreateWindowA(wc.lpszClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 128, 128, nullptr,
                             nullptr, inst, nullptr);
    if (!wnd) {
        std::printf("no window on the X display (CreateWindow error %lu)\n", GetLastError());
        return 4;
    }

    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (!d3d) {
        std::printf("Direct3DCreate9 returned null: Wine found no usable 32-bit OpenGL\n");
        return 2;
    }
    D3DADAPTER_IDENTIFIER9 id = {};
    d3d->GetAdapterIdentifier(D3DADAPTER_DEFAULT, 0, &id);

    D3DPRESENT_PARAMETERS pp = {};
    pp.Windowed = TRUE;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.BackBufferFormat = D3DFMT_UNKNOWN;
    pp.hDeviceWindow = wnd;
    pp.EnableAutoDepthStencil = TRUE;
    pp.AutoDepthStencilFormat = D3DFMT_D16;
    IDirect3DDevice9* dev = nullptr;
    HRESULT hr = d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, wnd,
                                   D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, &dev);
    if (FAILED(hr) || !dev) {
        std::printf("CreateDevice failed (0x%08lX) on \"%s\"\n", static_cast<unsigned long>(hr),
                    id.Description);
        d3d->Release();
        return 3;
    }
    // A device that cannot draw is no better than none.
    hr = dev->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_XRGB(0, 0, 255), 1.0f, 0);
    if (SUCCEEDED(hr)) hr = dev->BeginScene();
    if (SUCCEEDED(hr)) hr = dev->EndScene();
    if (SUCCEEDED(hr)) hr = dev->Present(nullptr, nullptr, nullptr, nullptr);
    dev->Release();
    d3d->Release();
    DestroyWindow(wnd);
    if (FAILED(hr)) {
        std::printf("the device does not draw (0x%08lX) on \"%s\"\n", static_cast<unsigned long>(hr),
                    id.Description);
        return 3;
    }
    std::printf("Direct3D 9 device on \"%s\"\n", id.Description);
    return 0;
}
