#include "shell/frame_update.h"

#include <cstdint>
#include <cstring>

#include "frame/lib.h"
#include "frame/math3d.h"
#include "frame/text.h"
#include "model/gpu_update.h"
#include "model/model2.h"
#include "model/motion3.h"
#include "model/obj3.h"
#include "render/camera.h"
#include "scene/scene_edit_hooks.h"
#include "shell/app_state.h"
#include "shell/current.h"
#include "shell/dlg_slot.h"
#include "shell/input_state.h"
#include "shell/main_loop.h"
#include "shell/mode_hooks.h"
#include "shell/navigation.h"
#include "shell/panels.h"
#include "shell/playback.h"
#include "shell/ui_services.h"
#include "shell/views.h"

int32_t g_TitleCounter = 0;
char g_TitleText[256];

void Play_AdvanceWrap(int32_t* frame, float* fraction, float step, int32_t length, void (*perFrame)())
{
    // The key search starts afresh from the frame, so one call after the jump does for all frames.
    if (Anim_AdvanceFrames(frame, fraction, step) && perFrame) perFrame();
    if (*frame >= length) *frame -= length;
}

void Play_AdvanceReset(int32_t* frame, float* fraction, float step, int32_t frameCount)
{
    Anim_AdvanceFrames(frame, fraction, step);
    if (*frame >= frameCount) *frame = 0;
}

void Play_TickObj2()
{
    QVL::OBJ2* o = g_CurObj2;
    if (!o) return;
    QVL::OBJ2_MOTION* motion = o->motion >= 0 && (size_t)o->motion < o->motions.size() ? &o->motions[(size_t)o->motion] : nullptr;
    g_CurObj2Motion = motion;
    Play_AdvanceWrap(&o->frame, &o->fraction, g_FrameStep, motion ? motion->length : 0,
                     [] { Obj2_UpdateKeyIndices(g_CurLayer); });
    g_PlayFlag = 1;
}

// The 2D model comes with its editor; until then there is nothing to play.
void Play_TickModel2() { Panel_FlagAllDirty(); }

// The object of row 0 plays its current motion once, or round while the loop flag is set.
void Play_TickObj3()
{
    Panel_FlagAllDirty();
    QVL::OBJ3* o = g_CurObj3;
    if (!o) return;
    const int32_t length = o->motion >= 0 && o->motion < QVL::kObj3Motions ? o->motions[o->motion].length : 0;
    const int32_t before = o->frame;
    Play_AdvanceWrap(&o->frame, &o->fraction, g_FrameStep, length, [] { Obj3_UpdateKeyIndex(0); });
    if (o->frame < before && !g_LoopPlay) {
        o->frame = length > 0 ? length - 1 : 0;
        Obj3_UpdateKeyIndex(0);
        return;
    }
    g_PlayFlag = 1;
}

void Play_TickModel3()
{
    Panel_FlagAllDirty();
    QVL::MODEL3* m = g_CurModel3;
    if (!m) return;
    int32_t i = m->currentMotion;
    g_CurMotion3 = i >= 0 && (size_t)i < m->motions.size() ? &m->motions[(size_t)i] : nullptr;
    Play_AdvanceWrap(&m->currentFrame, &m->frameFraction, g_FrameStep, g_CurMotion3 ? g_CurMotion3->length : 0,
                     [] { Motion3_UpdateKeyIndex(g_CurModel3); });
    g_PlayFlag = 1;
}

void Play_TickEffect()
{
    Panel_FlagAllDirty();
    QVL::EFFECT_INST* inst = g_CurEffectInst;
    if (!inst) return;
    Play_AdvanceReset(&inst->frame, &inst->fraction, g_FrameStep, g_CurEffect ? g_CurEffect->frameCount : INT32_MAX);
    g_PlayFlag = 1;
}

void Play_TickMovie()
{
    if (!Lib_IsDrawAllowed()) return;
    MOVIE_PLAY& m = g_MovieData;
    if (g_ScreenGroup == 9) {
        m.frame += m.recordStep;
    } else {
        Anim_AdvanceFrames(&m.frame, &m.fraction, g_FrameStep);
    }
    if (m.frame < m.endFrame) {
        Movie_ApplyFrame();
        View_RequestRedraw();
        return;
    }
    if (m.nextOn == 1 && m.nextFile[0]) {
        Str_CopyN(m.curFile, sizeof m.curFile, m.nextFile);
        MovieLoad(m.curFile);
        g_MoviePlayState = 1;
        m.frame = 0;
        MovieEdit_RefreshDialogs();
        MovieEdit_FillMessageList();
        Lib_ResetFrameTimer();
        Lib_ResetFrameTimer();
    } else if (m.loop && g_ScreenGroup == 7) {
        m.frame = m.loopStart;
        Lib_ResetFrameTimer();
    } else {
        MovieEdit_StopPlayback();
        Lib_ResetFrameTimer();
    }
    View_RequestRedraw();
}

void Title_Format(char* out, size_t cap, const char* name, int32_t version, int withVersion)
{
    if (!name) Str_Format(out, cap, " %s", kProductCaption);
    else if (!withVersion) Str_Format(out, cap, " %s   %s", kProductCaption, name);
    else Str_Format(out, cap, " %s   %s ( Ver %4.3f )", kProductCaption, name, version / 1000.0);
}

bool Title_Build(char* out, size_t cap)
{
    switch (g_Mode) {
    case MODE_PREVIEW:
        if (g_CurModel3 && g_CurModel3->faceCount != 0) {
            const char* file = g_CurModel3->file;
            Title_Format(out, cap, file, g_CurModel3->version, Shell_IsQvpName(file));
        } else {
            Title_Format(out, cap, nullptr, 0, 0);
        }
        return true;
    case MODE_2D_EDIT:
        if (g_Screen == SCREEN_2D_OBJECT && g_CurObj2) {
            Title_Format(out, cap, g_CurObj2->file, g_CurObj2->version, 1);
            return true;
        }
        return false;
    case MODE_3D_EDIT:
        if (g_Screen >= SCREEN_3D_POLYGON && g_Screen <= SCREEN_3D_MOTION && g_CurModel3) {
            Title_Format(out, cap, g_CurModel3->file, g_CurModel3->version, 1);
            return true;
        }
        return false;
    case MODE_EFFECT_EDIT:
        if (g_CurEffect) {
            QVL::EFFECT& e = *g_CurEffect;
            Str_Format(e.path, sizeof e.path, "%s\\%s", e.folder, e.file);
            Title_Format(out, cap, e.path, e.version, 1);
            return true;
        }
        return false;
    case MODE_MOVIE:
        Title_Format(out, cap, g_MovieData.curFile, g_MovieData.version, 1);
        return true;
    case MODE_PARTICLE: case MODE_MAP_EDIT: case MODE_COLLISION_EDIT: case MODE_PROGRAM:
        Title_Format(out, cap, nullptr, 0, 0);
        return true;
    default:
        return false;
    }
}

void View_Navigate()
{
    VIEW_REC& v = *g_CurView;
    const int32_t* held = g_Lib.mouse.held;
    bool L = held[0] != 0, M = held[1] != 0, R = held[2] != 0;
    if ((M && !L && !R) || (L && R && !M)) {
        POINT32 cur = g_PressPoint;
        g_DragCurrent = cur;
        float dx = (float)(cur.x - g_DragStart.x), dy = (float)(cur.y - g_DragStart.y);
        int mode = g_Mode >= 0 && g_Mode < kModeCount ? g_Mode : 0;
        float zoom = v.zoom != 0.0f ? v.zoom : kNewViewZoom;
        if (g_Mode2DScreen[mode] == 1) {
            v.pan[0] += g_MouseDelta.x;
            v.pan[1] += g_MouseDelta.y;
            float W2 = (float)g_HalfMonitorW, H2 = (float)g_HalfMonitorH;
            if (v.pan[0] < 321 - W2) v.pan[0] = 321 - W2;
            if (v.pan[1] < 241 - H2) v.pan[1] = 241 - H2;
            if (v.pan[0] > W2 - 322) v.pan[0] = W2 - 322;
            if (v.pan[1] > H2 - 164) v.pan[1] = H2 - 164;
        } else if (v.type == VIEW_FRONT) {
            v.pan[0] -= dx / zoom * 0.025f;
            v.pan[1] += dy / zoom * 0.025f;
        } else if (v.type == VIEW_TOP) {
            v.pan[0] -= dx / zoom * 0.025f;
            v.pan[2] -= dy / zoom * 0.025f;
        } else if (v.type == VIEW_SIDE) {
            v.pan[2] += dx / zoom * 0.025f;
            v.pan[1] += dy / zoom * 0.025f;
        } else if (g_Mode == MODE_MOVIE) {
            v.pan[0] += dx;
            v.pan[1] += dy;
        } else {
            QVL::MATRIX m;
            Math_MatrixWorld(&m, 0, 0, 0, -g_OrbitYaw, g_OrbitPitch, 0, 1, 1, 1);
            QVL::VEC3 o;
            Math_TransformPoint(&o, dx, dy, 0, m);
            float k = v.zoom * 0.013f;
            v.pan[0] -= o.x * k;
            v.pan[1] += o.y * k;
            v.pan[2] += o.z * k;
        }
        g_DragStart = cur;
    } else if (R && !L && !M) {
        g_DragCurrent = g_PressPoint;
        if (v.type == VIEW_MAIN && !g_Lib.keys[0x11]) {
            g_OrbitYaw += g_MouseDelta.x * 0.2f;
            g_OrbitPitch += g_MouseDelta.y * 0.2f;
            if (g_OrbitPitch > 90.0f) g_OrbitPitch = 89.9f;
            if (g_OrbitPitch < -90.0f) g_OrbitPitch = -89.9f;
        }
    }
}

static void ZoomWithZ()
{
    VIEW_REC& v = *g_CurView;
    const int32_t* held = g_Lib.mouse.held;
    g_App.prevZHeld = g_App.zHeld;
    if (!g_App.zHeld) return;
    float s = v.zoom * 0.01667f * g_FrameStep;
    bool model3 = g_Mode == MODE_PREVIEW || g_Screen == SCREEN_3D_OBJECT || (g_Screen >= SCREEN_3D_POLYGON && g_Screen <= SCREEN_3D_MOTION);
    for (int pass = 0; pass < 2; ++pass) {
        bool on = pass == 0 ? held[0] != 0 : held[2] != 0;
        if (!on) continue;
        float sign = pass == 0 ? -1.0f : 1.0f;  // left: main view nearer; right: away
        if (v.type == VIEW_MAIN) {
            if (model3) v.zoom += sign * s;
            else g_Zoom2D += sign * s;
        } else {
            v.zoom -= sign * s;
        }
        View_RequestRedraw();
    }
}

void Mode_Frame()
{
    Mode_UpdateCurrent();
    View_UpdateCurrent();
    int s = g_Screen >= 0 && g_Screen < kScreenCount ? g_Screen : 0;
    if ((V_SyncGet() != 0) != (g_App.vsyncByScreen[s] != 0)) V_SyncSet(g_App.vsyncByScreen[s]);
    if ((CPU_PossessionGet() != 0) != (g_App.cpuByScreen[s] != 0)) CPU_PossessionSet(g_App.cpuByScreen[s]);
    if (g_RedrawPending == 1) {
        g_RedrawPending = 0;
        View_RequestRedraw();
    }
    // The shadow option never selects the preview model's shadow (its stored values are not the
    // shadow kinds): the preview model casts none.
    if (g_Mode == MODE_PREVIEW && g_CurModel3) g_CurModel3->shadowKind = 0;
    View_Navigate();
    if (g_PlayFlag == 1) {
        View_RequestRedraw();
        g_PlayFlag = 0;
        switch (g_ScreenGroup) {
        case 1: Play_TickObj2(); break;
        case 2: Play_TickModel2(); break;
        case 3: Play_TickObj3(); break;
        case 4: Play_TickModel3(); break;
        case 6: Play_TickEffect(); break;
        default: break;
        }
    }
    if (g_MoviePlayState == 1) Play_TickMovie();
    if (++g_TitleCounter > 60) {
        g_TitleCounter = 0;
        char title[256];
        if (Title_Build(title, sizeof title)) Str_CopyN(g_TitleText, sizeof g_TitleText, title);
        Wnd_SetText(Wnd_Main(), g_TitleText[0] ? g_TitleText : kProductCaption);
    }
    if (MODE_FN fn = Mode_Hooks(g_Mode).frame) fn();
    ZoomWithZ();
    Obj2_AnimateAll();
    Model2_SkinAll();
    Anim_UpdateModels();
    Obj3_UpdatePoses();
    bool camera = !(g_Mode == MODE_PROGRAM || g_Mode == MODE_MOVIE || (g_Mode == MODE_PREVIEW && g_PrevMode == MODE_MOVIE));
    if (camera) {
        VIEW_REC& main = View_Row()[0];
        float eye[3];
        View_MainEye(main.pan, main.zoom, g_OrbitYaw, g_OrbitPitch, eye);
        Render_SetCameraEye(eye[0], eye[1], eye[2]);
        Render_SetCameraTarget(main.pan[0], main.pan[1], main.pan[2]);
        Light_SetPos(eye[0], eye[1], eye[2]);
    }
    if (g_Mode == MODE_COLLISION_EDIT || g_Mode == MODE_MOVIE) Light_SetPos(-500, 500, -500);
    if (g_App.toonActive) Light_SetPos(-125, 125, -500);
    Light_SetColor(1, 1, 1);
    Light_SetAmbient(0.25f, 0.25f, 0.25f);
    Lib_SetShadowColor(0, 0, 0, 0.12f);
    Mode_RefreshDialogFields();
    g_MouseDelta.x = g_MouseDelta.y = 0.0f;
}

void Mode_FrameCallback() { Mode_Frame(); }
