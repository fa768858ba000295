// The shell object and the options kept in the settings file.
#pragma once
#include <cstdint>

#include "frame/mode_ids.h"

struct APP_STATE {
    uint8_t vsyncByScreen[kScreenCount];
    uint8_t cpuByScreen[kScreenCount];
    int32_t shadowMode;   // 0, 20 (2D shadow) or 30 (3D shadow)
    int32_t showNormals;
    int32_t gridOn;
    uint8_t reverseWheel;
    int32_t toonOption;   // takes effect at the next start
    int32_t maxPolygons;  // takes effect at the next start
    int32_t toonActive;   // toon shading of this run
    uint8_t keyLatch;     // one key event per idle pass
    uint8_t zHeld, prevZHeld, shiftHeld;
};
extern APP_STATE g_App;

// Options kept in their own globals (stored in the settings file). The anti-alias option is the
// library's own flag, g_Lib.antiAlias, which Lib_SetAntiAlias keeps.
extern int32_t g_AutoSelect;          // 1: pick under the cursor on every mouse move
extern int32_t g_UpdateEditedViewOnly;
extern uint8_t g_AntiAliasPad[3];     // written back as read
extern int32_t g_WindowRect[4];       // left, top, width, height of the main window
extern int32_t g_SettingsReserved[8]; // kept as read

// The program editor's source folder and file, kept with the options.
struct PROG_MODE {
    char sourceFolder[256];
    char sourceFile[256];
};
extern PROG_MODE g_ProgMode;
