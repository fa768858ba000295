#include "render/screens.h"

QVL::SCREEN g_Screens[kScreenSlots];

void Render_MarkScreenDirty(int screen)
{
    if (screen >= 0 && screen < kScreenSlots) g_Screens[screen].redraw = 1;
}
