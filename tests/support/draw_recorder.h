// Native stand-in for the renderer's device side of the immediate 2D drawing and the sprites: every
// call is recorded with its arguments and the blend it would have drawn with.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct DrawCall {
    std::string kind;       // "quad", "triangle", "line", "rotated", "color", "set", "apply"
    int32_t texture;        // the bound (quad) or drawn (sprites) texture handle, -1 none
    int32_t blend;          // the blend the primitive drew with
    int32_t x[4], y[4];     // corners (quad), ends (line), or the point (sprites) in x[0], y[0]
    float angle, scaleX, scaleY;
    int32_t r, g, b, a;
};

struct DrawRecorder {
    std::vector<DrawCall> calls;
    int32_t boundTexture = -1;
    void Clear()
    {
        calls.clear();
        boundTexture = -1;
    }
    // The calls of one kind, in order.
    std::vector<DrawCall> Of(const std::string& kind) const;
};

DrawRecorder& DrawRec();
