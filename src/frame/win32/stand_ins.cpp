// Stand-ins for what other subsystems will provide; each goes when the real one lands.
#include <windows.h>
#include <d3d9.h>

#include "frame/lib.h"
#include "frame/win32/app_frame.h"

// g_AviWriter (AVI recorder): never recording yet.
AVI_WRITER* g_AviWriter = nullptr;
// Avi_AddFrame (AVI recorder): no writer yet.
bool Avi_AddFrame(AVI_WRITER*) { return false; }
// Avi_GetMemoryDC (AVI recorder): no writer yet.
HDC Avi_GetMemoryDC(AVI_WRITER*) { return nullptr; }
