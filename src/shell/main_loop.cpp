#include "shell/main_loop.h"

#include <cstring>

#include "edit3d/model3d_hooks.h"
#include "frame/lib.h"
#include "frame/log.h"
#include "frame/paths.h"
#include "frame/services.h"
#include "frame/text.h"
#include "model/curve.h"
#include "model/model_table.h"
#include "model/scene_object.h"
#include "render/camera.h"
#include "render/immediate.h"
#include "scene/scene_edit_hooks.h"
#include "shell/anim_hooks.h"
#include "shell/app_state.h"
#include "shell/current.h"
#include "shell/file_commands.h"
#include "shell/frame_update.h"
#include "shell/input_state.h"
#include "shell/modes.h"
#include "shell/navigation.h"
#include "shell/picking.h"
#include "shell/playback.h"
#include "shell/settings.h"
#include "shell/views.h"

FRAME_CLOCK g_FrameClock;
int32_t g_PanelPassCounter = 0;

void Shell_ParseCommandLine(const char* cmdLine, char* out, size_t cap)
{
    if (cap == 0) return;
    out[0] = 0;
    if (!cmdLine) return;
    // Leading blanks the platform may leave before the first argument.
    while (*cmdLine == ' ') ++cmdLine;
    size_t len = std::strlen(cmdLine);
    while (len > 0 && cmdLine[len - 1] == ' ') --len;
    size_t from = 0;
    if (len > 0 && cmdLine[0] == '"') from = 1;
    if (len > from && cmdLine[len - 1] == '"') --len;
    Str_CopyN(out, cap, cmdLine + from, len - from);
}

bool Shell_IsQvpName(const char* name)
{
    const char* e = File_GetExtension(name);
    return std::strlen(e) == 3 && (e[0] | 32) == 'q' && (e[1] | 32) == 'v' && (e[2] | 32) == 'p';
}

void Shell_StartEarly()
{
    g_Mode = MODE_EFFECT_EDIT;
    g_StudioFlag = 1;
    // The studio's views are drawn in their own pixels: texts and 2D primitives are not scaled.
    g_ScaleToWindow = 0;
    // Frames go into the picked view's own window.
    g_Lib.layoutFlag = 1;
    for (int i = 0; i < kModeCount; ++i) {
        // The 3D hub and the numbers of its model screens.
        g_ModeModelFlags[i] = (i == MODE_3D_EDIT || (i >= SCREEN_3D_POLYGON && i <= SCREEN_3D_MOTION)) ? 1 : 0;
        g_Mode2DScreen[i] = (i == MODE_2D_EDIT || i == MODE_PARTICLE || i == MODE_EFFECT_EDIT || i == MODE_MAP_EDIT ||
                             i == MODE_PROGRAM) ? 1 : 0;
    }
    if (g_Lib.dataFolder[0]) Svc_SetCurrentDirectory(g_Lib.dataFolder);
    Settings_Load();
    Shell_RegisterAnimHooks();
}

void Shell_StartLate()
{
    g_CurLayer = 0;
    g_PolyEditState.dragBasis = 0;
    g_PolyEditState.selectionMode = 1;
    g_PolyEditState.tool = 1;
    g_SketchShow = 1;
    g_KeyTool = 1;
    g_Zoom2D = 3.2f;
    g_LastViewZoom = g_Views[0][0].zoom;
    g_OrbitYaw = -20.0f;
    g_OrbitPitch = 20.0f;
    Sel_AllocBuffers();
    g_DefaultObjectId = ObjectCreate();
    g_DefaultModelId = Model3_Create();
    g_CurObj2Id = -1;
    g_LayerCount = 0;
    g_LayerObjectIds.clear();
    g_LayerModelIds.clear();
    g_CurLayer = 0;
    int mode = g_Mode;
    g_Mode = MODE_3D_EDIT;
    Layer_Create();
    g_Mode = mode;
    Curve_ResetTempModel();
    Mode_Enter();
    Movie_BuildMotionFrames();
    g_MovieData.listRefresh = 1;
    g_HalfMonitorW = g_Lib.monitorWidth / 2;
    g_HalfMonitorH = g_Lib.monitorHeight / 2;
    g_Motion3DState.boneSwitch = 0;
    g_Motion3DState.switch57 = 0;  // "子供も影響を受ける" starts unchecked
    Lib_SetFadeLevel(1.0f);
    Lib_ResetFrameTimer();
}

void Shell_OpenCommandLine(const char* cmdLine, const char* launchDir)
{
    // Room for any folder and name that fit their 256-byte fields, so nothing loadable is cut.
    char name[1024];
    Shell_ParseCommandLine(cmdLine, name, sizeof name);
    if (!name[0] || !Shell_IsQvpName(name)) return;
    Mode_SwitchTo3DPoly();
    // The start-up has moved the current directory to the data folder; a relative name means the
    // folder the program was started in.
    bool absolute = name[0] == '\\' || (name[0] && name[1] == ':');
    char path[1300];  // a launch folder of MAX_PATH and the whole name: never cut
    if (absolute || !launchDir || !launchDir[0]) Str_CopyN(path, sizeof path, name);
    else Str_Format(path, sizeof path, "%s\\%s", launchDir, name);
    FileCmd_OpenPath(path);
}

void Loop_Fade(float* level, float* step)
{
    *level += *step;
    if (*level < 0.0f) {
        *level = 0.0f;
        *step = 0.0f;
    } else if (*level > 1.0f) {
        *level = 1.0f;
        *step = 0.0f;
    }
}

float Loop_FrameStep(FRAME_CLOCK* clock, uint32_t now)
{
    double t = (double)now;
    if (!clock->set || clock->previous > t) {
        clock->previous = t;
        clock->set = 1;
    }
    float step = (float)((t - clock->previous) * 0.06);
    clock->previous = t;
    return step;
}

int Loop_PickView()
{
    const int32_t* held = g_Lib.mouse.held;
    int any = held[0] || held[1] || held[2];
    VIEW_REC* row = View_Row();
    int pick = View_Schedule(row, View_CountOfScreen(), g_CurViewIndex, g_UpdateEditedViewOnly, g_PlayFlag,
                             any, held[2] != 0);
    if (pick < 0) return -1;
    g_PickedView = pick;
    int type = row[pick].type;
    Render_Set3DScene(1);
    if (type != VIEW_MAIN && type != VIEW_PERS) Render_Set3DScene(0);
    if (g_Mode == MODE_MOVIE) {
        Render_Set3DScene(1);
        if (g_ScreenGroup == 9) g_PickedView = pick = 4;
        VIEW_REC& v = row[pick];
        float z = v.zoom != 0.0f ? v.zoom : kNewViewZoom;
        float tx = v.pan[0], ty = v.pan[1], tz = v.pan[2];
        float eye[3], target[3] = {tx, 10 + ty, -tz};
        switch (v.type) {
        case VIEW_FRONT: eye[0] = tx; eye[1] = 10 + ty; eye[2] = -16 / z - tz; break;
        case VIEW_TOP: eye[0] = tx; eye[1] = 21 / z + ty; eye[2] = -0.01f - tz; break;
        case VIEW_SIDE: eye[0] = 16 / z + tx; eye[1] = 10 + ty; eye[2] = -tz; break;
        default: Movie_GetCamera(eye, target); break;
        }
        Render_SetCameraEye(eye[0], eye[1], eye[2]);
        Render_SetCameraTarget(target[0], target[1], target[2]);
    }
    VIEW_REC& v = row[pick];
    v.centreX = v.width / 2 - 4;
    v.centreY = v.height / 2 - 26;
    v.redraw = 0;
    return pick;
}

bool Loop_PanelPass()
{
    g_PanelPassCounter += 1;
    if (g_ScreenGroup == 9 || g_PanelPassCounter > 3) {
        g_PanelPassCounter = 0;
        return true;
    }
    return false;
}
