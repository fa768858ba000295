// The studio's side of the 3D model resources of the platform seam. Render data, textures and sounds
// of model slots come with the renderer; until then a model's resources are none.
#include <windows.h>

#include "frame/lib.h"
#include "frame/services.h"

void Svc_Model3Event(int32_t, int) {}

bool Svc_PumpMessage()
{
    MSG msg;
    // An inactive studio waits for its next message, but never past the next check of the load:
    // a load that ends posts nothing.
    if (!App_IsActive()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}
