// The platform the studio stands on, as Wine gives it: code page, Direct3D 9 device, read-back.
#include <windows.h>
#include <d3d9.h>

#include <gtest/gtest.h>

#include "wine/support/modal_guard.h"

TEST(Platform, AnsiCodePageIsJapanese)
{
    EXPECT_EQ(932u, GetACP());
}

TEST(Platform, HalDeviceClearsAndReadsBack)
{
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(nullptr, d3d);
    HWND w = CreateWindowA("STATIC", "probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 64, 64, nullptr, nullptr, nullptr, nullptr);
    D3DPRESENT_PARAMETERS pp = {};
    pp.Windowed = TRUE;
    pp.SwapEffect = D3DSWAPEFFECT_COPY;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.BackBufferWidth = 32;
    pp.BackBufferHeight = 32;
    pp.hDeviceWindow = w;
    IDirect3DDevice9* dev = nullptr;
    HRESULT hr = d3d->CreateDevice(0, D3DDEVTYPE_HAL, w, D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED, &pp, &dev);
    ASSERT_EQ(D3D_OK, hr);
    ASSERT_EQ(D3D_OK, dev->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF336699, 1.0f, 0));
    IDirect3DSurface9* back = nullptr;
    IDirect3DSurface9* sys = nullptr;
    ASSERT_EQ(D3D_OK, dev->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back));
    ASSERT_EQ(D3D_OK, dev->CreateOffscreenPlainSurface(32, 32, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &sys, nullptr));
    ASSERT_EQ(D3D_OK, dev->GetRenderTargetData(back, sys));
    D3DLOCKED_RECT lr;
    ASSERT_EQ(D3D_OK, sys->LockRect(&lr, nullptr, D3DLOCK_READONLY));
    DWORD px = static_cast<DWORD*>(lr.pBits)[0] & 0xFFFFFF;
    sys->UnlockRect();
    EXPECT_EQ(0x336699u, px);
    EXPECT_EQ(D3D_OK, dev->Present(nullptr, nullptr, nullptr, nullptr));
    sys->Release();
    back->Release();
    dev->Release();
    d3d->Release();
    DestroyWindow(w);
}

TEST(Platform, ModalGuardAnswersMessageBoxes)
{
    ModalGuard::Clear();
    ModalGuard::Answer(IDNO);
    int r = MessageBoxA(nullptr, "終了しても、よろしいですか？", "caption", MB_YESNO);
    EXPECT_EQ(IDNO, r);
    ASSERT_EQ(1u, ModalGuard::Seen().size());
    EXPECT_EQ("caption", ModalGuard::Seen()[0].caption);
    EXPECT_EQ("終了しても、よろしいですか？", ModalGuard::Seen()[0].text);
    ModalGuard::Clear();
}
