// The studio's side of the 3D model resources of the platform seam. Render data, textures and sounds
// of model slots come with the renderer; until then a model's resources are none.
#include <windows.h>

#include "frame/services.h"

void Svc_Model3Event(int32_t, int) {}

bool Svc_PumpMessage()
{
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}
