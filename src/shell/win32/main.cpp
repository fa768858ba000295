// The program entry.
#include <windows.h>

#include "frame/lib.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    MessageBoxA(nullptr, "", kProductCaption, MB_OK);
    return 0;
}
