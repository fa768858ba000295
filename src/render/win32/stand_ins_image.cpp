// Stand-ins for what the frame provides, until it lands (removed at merge).
#include <d3d9.h>

IDirect3DDevice9* g_Device = nullptr;
