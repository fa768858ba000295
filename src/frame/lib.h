// The library object: the engine state every subsystem reads, its switches, and the studio-wide
// globals that belong to it. Platform-free: handles the platform owns are held as opaque pointers.
#pragma once
#include <cstdint>

#include "frame/cpu_info.h"
#include "frame/mode_ids.h"

namespace QVL {

// int32 index of a texture slot; -1 none. Slots are never freed.
typedef int32_t TEX_HANDLE;

struct MOUSE_STATE {
    int32_t held[3];             // left, middle, right: 1 while down
    int32_t x, y;                // last move
    int32_t leftUpX, leftUpY, leftDownX, leftDownY;
    int32_t middleUpX, middleUpY, middleDownX, middleDownY;
    int32_t rightUpX, rightUpY, rightDownX, rightDownY;
};

// Colour table entry of the 2D editors.
struct COLOR_REC {
    int32_t values[7];
    float r, g, b, a;
};

struct MOVIE_RENDER_SETTINGS {
    char outputName[256];
    int32_t interval;
    int32_t firstFrame;
    int32_t lastFrame;
};

struct DEVICE_CAPS_COPY {
    int32_t maxVertexBlendMatrices;
    int32_t maxVertexBlendMatrixIndex;
    int32_t maxPrimitiveCount;
    int32_t maxVertexIndex;
};

// State of the effect library (its functions are the Effect_* operations); zero at construction.
struct EFFECT_LIB {
    int32_t reserved;
};

struct LIB {
    int32_t keys[256];           // 1 while the virtual key is down
    MOUSE_STATE mouse;
    void* music;                 // the DirectMusic performance (platform object)
    EFFECT_LIB Effect;
    COLOR_REC colors[128];
    int32_t layoutFlag;          // 1: present into the picked view's own window, main window at 4:3
    void* instance;              // HINSTANCE
    char exeFolder[256];
    char dataFolder[256];
    int32_t osClass;
    uint8_t antiAlias;
    uint8_t antiAlias4Supported;
    int16_t chipClass;           // 0, 1, 3, 5, 6 or 8
    int16_t vertexShaderMajor;
    int16_t pixelShaderMajor;
    DEVICE_CAPS_COPY caps;
    int32_t maxPolygons;         // sizes the work arrays
    uint8_t stencilShadowSwitch;
    uint8_t toonRampSwitch;
    uint8_t renderSwitch[2];
    float textScale;
    int32_t allocArrays;         // consumed by the next model record allocation
    int32_t monitorWidth, monitorHeight;
    int32_t windowWidth, windowHeight;   // configured (back-buffer) size
    char downloadPage[256];
    int32_t clearColor[3];       // r, g, b 0..255
    // Work arrays of the mesh, GPU builders and model drawing, sized by maxPolygons.
    uint8_t* workPositions;      // n * 12 bytes
    uint8_t* workIndices;        // 4n * 4 bytes
    uint8_t* workDraw;           // n * 240 bytes
    int32_t ready;               // set at the very end of LibInit
    CPU_INFO cpu;                // logged only
    // The library's frame timer: time a modal box stops is not counted.
    uint32_t frameTimeBase;      // timeGetTime() of the last reset
    float frameTime;             // accumulated frame time, seconds

    LIB();
    ~LIB();
};

} // namespace QVL

extern QVL::LIB g_Lib;

// The product caption: the main window's title and every message box's.
extern const char* const kProductCaption;

// Studio-wide state kept with the library object.
extern float g_FadeLevel;                 // 0..1
extern float g_FadeStep;                  // per idle pass
extern QVL::TEX_HANDLE g_TexTable[1024];  // each -1 at start
extern int32_t g_Mode;
extern int32_t g_ScreenGroup;
extern int32_t g_Screen;
extern float g_LightAmbient[3];
extern int32_t g_LightOption;             // 1: model drawing is lit
extern QVL::MOVIE_RENDER_SETTINGS g_MovieRenderSettings;
extern int32_t g_MoviePlayState;          // 0 stopped, 1 playing, 2 finished
extern int32_t g_StudioFlag;              // 1 while the studio runs the engine
extern int32_t g_ModeModelFlags[kModeCount];
extern int32_t g_Mode2DScreen[kModeCount];
// Engine limits published by LibInit from the maximum polygon count.
extern int32_t g_PolyLimit;               // 65000 unless the settings change it
extern int32_t g_VertexLimit;             // four times the polygon limit
// Render switches.
extern uint8_t g_ShaderMode;
extern uint8_t g_StencilShadows;
extern uint8_t g_Bloom;
extern uint8_t g_ToonShading;
extern uint8_t g_Draw3DScene;

const char* Lib_GetVersion();
int Lib_IsReady();
int Lib_GetWindowWidth();
int Lib_GetWindowHeight();
void Lib_SetFadeStep(float step);
void Lib_SetFadeLevel(float level);
void Lib_SetClearColor(int r, int g, int b);
void Lib_SetFrameSkip(int flag);
int Lib_IsDrawAllowed();
// Zeroes the library's frame time and takes the clock as its new base; run after every modal
// dialog, message box, file dialog, activation and media start or stop.
void Lib_ResetFrameTimer();
// The executable folder of a module path: cut at its last '\\' (CP932-aware), the whole path
// when it has none.
void Lib_ExeFolderOf(const char* modulePath, char* out, int size);
void CPU_PossessionSet(int flag);
int CPU_PossessionGet();
int V_SyncGet();

// Switches and frame operations that need the device (frame/win32).
struct HINSTANCE__;
bool LibInit(HINSTANCE__* instance);
void WindowSize();
void V_SyncSet(int flag);
void Lib_SetAntiAlias(int flag);
void Lib_SetShadowColor(float r, float g, float b, float a);
void Lib_ShellOpen(const char* file);
void Lib_ReleaseFrameFont();
int App_IsActive();
