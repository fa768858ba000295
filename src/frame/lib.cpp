#include "frame/lib.h"

#include <cstdlib>
#include <cstring>

#include "frame/log.h"
#include "frame/scene.h"
#include "frame/services.h"
#include "frame/text.h"

const char* const kProductCaption = "QV Viduza Rozar 2009.09";

float g_FadeLevel = 0.0f;
float g_FadeStep = 0.0f;
QVL::TEX_HANDLE g_TexTable[1024];
int32_t g_Mode = MODE_PREVIEW;
int32_t g_ScreenGroup = 0;
int32_t g_Screen = SCREEN_START;
float g_LightAmbient[3] = {0.0f, 0.0f, 0.0f};
int32_t g_LightOption = 1;
QVL::MOVIE_RENDER_SETTINGS g_MovieRenderSettings;
int32_t g_MoviePlayState = 0;
int32_t g_StudioFlag = 0;
int32_t g_ModeModelFlags[kModeCount];
int32_t g_Mode2DScreen[kModeCount];
int32_t g_PolyLimit = 65000;
int32_t g_VertexLimit = 65000 * 4;
uint8_t g_ShaderMode = 0;
uint8_t g_StencilShadows = 0;
uint8_t g_Bloom = 0;
uint8_t g_ToonShading = 0;
uint8_t g_Draw3DScene = 1;

static int g_FrameSkip = 0;

namespace QVL {

LIB::LIB()
{
    std::memset(this, 0, sizeof *this);
    for (int i = 0; i < 1024; ++i) g_TexTable[i] = -1;
    for (COLOR_REC& c : colors) c.r = c.g = c.b = c.a = 1.0f;
    maxPolygons = 65000;
    textScale = 1.0f;
    // Until the settings say otherwise the window is the 2D base size (clamped to the monitor).
    windowWidth = 1280;
    windowHeight = 720;
    cpu.coreCount = 1;
    cpu.physicalCount = 1;
    Str_CopyN(g_MovieRenderSettings.outputName, sizeof g_MovieRenderSettings.outputName, "レンダリング");
    g_MovieRenderSettings.interval = 20;
    g_MovieRenderSettings.firstFrame = 0;
    g_MovieRenderSettings.lastFrame = 300;
}

LIB::~LIB()
{
    std::free(workPositions);
    std::free(workIndices);
    std::free(workDraw);
}

} // namespace QVL

const char* Lib_GetVersion() { return "2009.09"; }
int Lib_IsReady() { return g_Lib.ready; }
int Lib_GetWindowWidth() { return g_Lib.windowWidth; }
int Lib_GetWindowHeight() { return g_Lib.windowHeight; }
void Lib_SetFadeStep(float step) { g_FadeStep = step; }

void Lib_SetFadeLevel(float level)
{
    g_FadeLevel = level;
    g_FadeStep = 0.0f;
}

void Lib_SetClearColor(int r, int g, int b)
{
    g_Lib.clearColor[0] = r;
    g_Lib.clearColor[1] = g;
    g_Lib.clearColor[2] = b;
}

void Lib_SetFrameSkip(int flag) { g_FrameSkip = flag; }
int Lib_IsDrawAllowed() { return g_FrameSkip == 0; }

void Lib_ResetFrameTimer()
{
    g_Lib.frameTime = 0.0f;
    g_Lib.frameTimeBase = Svc_TimeMs();
}

void CPU_PossessionSet(int flag)
{
    g_Scene.cpuPossession = flag ? 1 : 0;
    Log_Printf(flag ? "CPU占有する QV.CPU_PossessionSet()" : "CPU占有しない QV.CPU_PossessionSet()");
}

int CPU_PossessionGet() { return g_Scene.cpuPossession; }
int V_SyncGet() { return g_Scene.vSync; }

void Lib_ExeFolderOf(const char* modulePath, char* out, int size)
{
    Str_CopyN(out, (size_t)size, modulePath);
    const char* sep = Str_FindLastChar(out, '\\');
    if (sep) out[sep - out] = 0;
}
