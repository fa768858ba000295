// A render target of kTargetSize squared in place of target 0 for a test's lifetime, with its
// pixels read back: the pictures the Wine tests probe.
#pragma once
#include <windows.h>
#include <d3d9.h>

#include <vector>

#include "frame/win32/app_frame.h"

const UINT kTargetSize = 256;

// The pixels of a square render target of size x size, 0x00RRGGBB row by row; empty when the
// surface cannot be read.
inline std::vector<DWORD> Target_ReadPixels(IDirect3DSurface9* rt, UINT size)
{
    std::vector<DWORD> px;
    IDirect3DSurface9* sys = nullptr;
    if (!rt || FAILED(g_Device->CreateOffscreenPlainSurface(size, size, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &sys, nullptr)))
        return px;
    D3DLOCKED_RECT lr;
    if (SUCCEEDED(g_Device->GetRenderTargetData(rt, sys)) && SUCCEEDED(sys->LockRect(&lr, nullptr, D3DLOCK_READONLY))) {
        px.resize((size_t)size * size);
        for (UINT y = 0; y < size; ++y)
            for (UINT x = 0; x < size; ++x)
                px[(size_t)y * size + x] = ((const DWORD*)((const BYTE*)lr.pBits + y * lr.Pitch))[x] & 0xFFFFFF;
        sys->UnlockRect();
    }
    sys->Release();
    return px;
}

// Render target 0 of the frame for the test's lifetime, with the pixels read back.
class Target {
public:
    Target()
    {
        g_Device->GetRenderTarget(0, &old_);
        if (FAILED(g_Device->CreateRenderTarget(kTargetSize, kTargetSize, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE, &rt_,
                                                nullptr)))
            rt_ = nullptr;
        if (rt_) g_Device->SetRenderTarget(0, rt_);
    }
    ~Target()
    {
        if (old_) {
            g_Device->SetRenderTarget(0, old_);
            old_->Release();
        }
        if (rt_) rt_->Release();
    }
    bool Ok() const { return rt_ != nullptr; }
    DWORD At(int x, int y)
    {
        if (px_.empty()) Read();
        if (px_.empty() || x < 0 || y < 0 || x >= (int)kTargetSize || y >= (int)kTargetSize) return 0xDEADBEEF;
        return px_[(size_t)y * kTargetSize + (size_t)x];
    }
    void Invalidate() { px_.clear(); }

private:
    void Read() { px_ = Target_ReadPixels(rt_, kTargetSize); }
    IDirect3DSurface9* old_ = nullptr;
    IDirect3DSurface9* rt_ = nullptr;
    std::vector<DWORD> px_;
};
