// The draw pass's image draw in the studio: the texture-handle entry's picture at its natural size.
#include "frame/lib.h"
#include "render/sprite.h"
#include "script/interp.h"

namespace {

void DrawImage(int32_t image, int32_t x, int32_t y)
{
    if (image < 0 || image >= 1024) return;
    Tex_Draw(g_TexTable[image], x, y);
}

struct REGISTER {
    REGISTER() { g_VmImageDraw = DrawImage; }
} s_register;

} // namespace
