// A render target of kTargetSize squared in place of target 0 for a test's lifetime, with its
// pixels read back: the pictures the Wine tests probe.
#pragma once
#include <windows.h>
#include <d3d9.h>

#include <vector>

#include "frame/win32/app_frame.h"

const UINT kTargetSize = 256;

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
    void Read()
    {
        IDirect3DSurface9* sys = nullptr;
        if (FAILED(g_Device->CreateOffscreenPlainSurface(kTargetSize, kTargetSize, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &sys,
                                                         nullptr)))
            return;
        D3DLOCKED_RECT lr;
        if (SUCCEEDED(g_Device->GetRenderTargetData(rt_, sys)) && SUCCEEDED(sys->LockRect(&lr, nullptr, D3DLOCK_READONLY))) {
            px_.resize(kTargetSize * kTargetSize);
            for (UINT y = 0; y < kTargetSize; ++y)
                for (UINT x = 0; x < kTargetSize; ++x)
                    px_[y * kTargetSize + x] = ((const DWORD*)((const BYTE*)lr.pBits + y * lr.Pitch))[x] & 0xFFFFFF;
            sys->UnlockRect();
        }
        sys->Release();
    }
    IDirect3DSurface9* old_ = nullptr;
    IDirect3DSurface9* rt_ = nullptr;
    std::vector<DWORD> px_;
};
