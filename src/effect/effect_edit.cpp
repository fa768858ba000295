// The effect editor: one effect shown through one preview instance in the middle of a 640 x 480
// screen, its parts' keys on a timeline, playback, and the sample effect it starts with. The
// dialogs' windows are in effect/win32/effect_dialogs.cpp; everything they do to the effect is here.
#include "effect/effect_edit_hooks.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "edit3d/model3d_hooks.h"
#include "effect/effect_edit_dialogs.h"
#include "effect/particle.h"
#include "frame/lib.h"
#include "frame/paths.h"
#include "frame/services.h"
#include "frame/text.h"
#include "model/gpu_services.h"
#include "model/obj2.h"
#include "render/camera.h"
#include "render/frame_render.h"
#include "render/immediate.h"
#include "shell/current.h"
#include "shell/dlg_slot.h"
#include "shell/input_state.h"
#include "shell/mode_hooks.h"
#include "shell/panels.h"
#include "shell/playback.h"
#include "shell/ui_services.h"
#include "shell/views.h"

using QVL::EFFECT;
using QVL::EFFECT_INST;
using QVL::EFFECT_KEY;
using QVL::EFFECT_PART;

int32_t g_CurEffectId = -1;
int32_t g_CurEffectInstIndex = -1;

DLG_SLOT g_EffectImageListSlot, g_EffectKeyFrameSlot, g_EffectKeyInfoSlot, g_EffectParticleSlot;
DLG_SLOT* const g_EffectTimelineHost = &g_EffectKeyFrameSlot;
void* g_EffectSlider = nullptr;
int32_t g_EffectSliderMax = 0;
int32_t g_EffectSliderPos = 0;
int32_t g_EffectChosenImage = 0;
EFFECT_KEY g_EffectKeyClip;
EFFECT_TIMELINE_MOUSE g_EffectTimelineMouse;

namespace {

const char kSampleName[] = "爆発";
const char kSampleFolder[] = "Effect\\爆発";
const char kSampleObject[] = "爆発.QVA";
const char kSampleFile[] = "爆発.QVE";
const char kKeysFull[] = "キーフレームは、１パーツに１６個までしか作成できません。";
const char kLastKey[] = "パーツの最後のキーフレームは消去できません。";

int32_t ValidKeys(const EFFECT_PART* part)
{
    int32_t n = part->keyCount;
    return n < 0 ? 0 : (n > QVL::kEffectMaxKeys ? QVL::kEffectMaxKeys : n);
}

int32_t FrameCount() { return g_CurEffect ? g_CurEffect->frameCount : 0; }

int32_t Clamp(int64_t v, int64_t lo, int64_t hi)
{
    if (hi < lo) hi = lo;
    return (int32_t)(v < lo ? lo : (v > hi ? hi : v));
}

// The preview instance's state of the current part, or null.
QVL::EFFECT_INST_PART* CurrentState()
{
    EFFECT_INST* inst = g_CurEffectInst;
    if (!inst || !g_EffectEditPart || g_CurLayer < 0 || (size_t)g_CurLayer >= inst->parts.size()) return nullptr;
    return &inst->parts[(size_t)g_CurLayer];
}

// The preview instance's part states follow the effect's parts.
void SizePreviewStates()
{
    Effect_SizeInstanceStates(Effect_GetInstance(g_CurEffectInstIndex));
}

// The part's current values at the preview frame, which a new key takes.
void InterpolateCurrentPart()
{
    Effect_FindInstanceKeys(g_CurEffectInst);
    if (QVL::EFFECT_INST_PART* st = CurrentState()) Effect_InterpolatePartKey(g_CurEffectId, g_CurLayer, st->key, st->t);
}

// Loads the sample's 2D object for a part, hidden: the effect draws it itself.
int32_t LoadSampleObject()
{
    char folder[512];
    Str_Format(folder, sizeof folder, "%s\\%s", g_Lib.dataFolder, kSampleFolder);
    int32_t id = Obj2_Load(folder, kSampleObject);
    if (QVL::OBJ2* o = Obj2_GetById(id)) o->visible = 0;
    return id;
}

// Moves key k of the part to an empty frame, keeping the keys sorted; the key keeps its slot's
// neighbours in order and the count is unchanged.
void MoveKey(EFFECT_PART* part, int32_t k, int32_t frame)
{
    const int32_t n = ValidKeys(part);
    EFFECT_KEY key = part->keys[k];
    key.frame = frame;
    for (int32_t i = k; i + 1 < n; ++i) part->keys[i] = part->keys[i + 1];
    int32_t j = 0;
    while (j < n - 1 && part->keys[j].frame < frame) ++j;
    for (int32_t i = n - 1; i > j; --i) part->keys[i] = part->keys[i - 1];
    part->keys[j] = key;
}

} // namespace

// ---- mode entry, exit and frame ------------------------------------------------------------------

void EffectEdit_EnterCanvas(const char* menu)
{
    g_ModeMenu = Menu_Set(menu);
    g_ScreenGroup = 6;
    g_ModeScreenSize[0] = 640;
    g_ModeScreenSize[1] = 480;
    VIEW_REC& main = View_Row()[0];
    main.pan[0] = -160.0f;
    main.pan[1] = -120.0f;
}

void EffectEdit_Enter()
{
    EffectEdit_EnterCanvas("MENU_EFFECT");

    EffectEdit_NewEffect();
    g_CurLayer = 0;
    Mode_UpdateCurrent();
    g_EffectSliderMax = FrameCount() - 1;
    g_EffectSliderPos = 0;
    EffectDlg_Open();

    EffectEdit_BuildSample();
}

void EffectEdit_InitParticlePart(EFFECT_PART& part)
{
    Str_CopyN(part.name, sizeof part.name, "パーティクル");
    part.kind = QVL::EFFECT_PART_EMITTER;
    EFFECT_KEY& k = part.keys[0];
    k.shown = 1;
    k.blend = QVL::BLEND_ADDITIVE;
    k.scale[0] = k.scale[1] = 1.0f;
    k.color[0] = k.color[1] = k.color[2] = 255.0f;
    k.color[3] = 128.0f;
    k.emitInterval = 3;
    k.speed[1] = -2.0f;
    k.speedRange[0] = 1.0f;
    // A key created later in the second slot keeps these.
    EFFECT_KEY& next = part.keys[1];
    next.scale[0] = next.scale[1] = 1.0f;
    next.texture = 1;
    next.emitInterval = 10;
}

void EffectEdit_SampleRecord(EFFECT& e)
{
    Effect_InitData(e);
    struct SAMPLE_PART {
        int32_t frame;
        float rotation, scale, color[4], origin[2];
    };
    static const SAMPLE_PART kParts[3] = {
        {0, 0.0f, 0.0f, {0, 0, 0, 0}, {0, 0}},
        {8, 1.0f, 1.0f, {255, 0, 0, 255}, {30, 20}},
        {16, 0.0f, 0.0f, {0, 255, 0, 255}, {-10, 30}},
    };
    for (const SAMPLE_PART& s : kParts) {
        EFFECT_PART& part = e.parts[(size_t)Effect_PartCreate(&e)];
        Str_CopyN(part.name, sizeof part.name, kSampleName);
        part.kind = QVL::EFFECT_PART_OBJ2;
        Str_CopyN(part.folder, sizeof part.folder, kSampleFolder);
        Str_CopyN(part.file, sizeof part.file, kSampleObject);
        EFFECT_KEY& k = part.keys[0];
        k.frame = s.frame;
        k.shown = 1;
        k.blend = QVL::BLEND_ADDITIVE;
        k.rotation[2] = s.rotation;
        k.scale[0] = k.scale[1] = s.scale;
        for (int a = 0; a < 4; ++a) k.color[a] = s.color[a];
        part.origin[0] = s.origin[0];
        part.origin[1] = s.origin[1];
    }
    for (const char* name : {"box.bmp", "爆発.png", "pupu.bmp"}) Effect_AddTexture(&e, "", name);
    e.frameCount = 60;
    EffectEdit_InitParticlePart(e.parts[(size_t)Effect_PartCreate(&e)]);
}

void EffectEdit_BuildSample()
{
    g_CurEffectId = Effect_DataCreate();
    EFFECT* e = Effect_GetData(g_CurEffectId);
    EffectEdit_SampleRecord(*e);
    // Its file lies in the data folder, against which its parts name their 2D objects.
    Str_CopyN(e->folder, sizeof e->folder, g_Lib.dataFolder);
    Str_CopyN(e->file, sizeof e->file, kSampleFile);
    for (size_t i = 0; i < e->parts.size(); ++i) {
        if (e->parts[i].kind != QVL::EFFECT_PART_OBJ2) continue;
        const int32_t object = LoadSampleObject();
        e = Effect_GetData(g_CurEffectId);
        e->parts[i].object = object;
    }
    for (QVL::EFFECT_TEX& t : e->textures) {
        char path[1024];
        Str_Format(path, sizeof path, "%s\\%s\\%s", g_Lib.dataFolder, t.folder, t.file);
        t.texture = Tex_Load(path);
    }

    g_CurEffectInstIndex = Effect_CreateInstance(0);
    Effect_InitInstance(Effect_GetInstance(g_CurEffectInstIndex), g_CurEffectId, 320.0f, 240.0f);
    Mode_UpdateCurrent();
    Effect_BuildPartTimeTables(g_CurEffect);
    g_MoviePlayEnd = FrameCount();
    EffectEdit_RefreshDialogs();
}

void EffectEdit_Exit()
{
    g_PlayFlag = 0;
    Effect_EraseAllInstances();
    Mode_UpdateCurrent();
    ParticleDlg_Close();
    EffectDlg_Close();
}

void EffectEdit_Frame()
{
    Mode_UpdateCurrent();
    Lib_SetClearColor(64, 64, 64);
    Particle_StepAll(g_FrameStep);
    // Particles move on every pass: the canvas shows them only when it is drawn again.
    if (!g_Particles.particles.empty()) View_RequestRedraw();
    const int32_t frame = g_CurEffectInst ? g_CurEffectInst->frame : 0;
    if (frame != g_EffectSliderPos) {
        if (g_EffectSlider) EffectDlg_SetSlider(frame, g_EffectSliderMax);
        g_EffectSliderPos = frame;
    }
    Render_SetCameraEye(0.0f, 0.0f, -30.0f);
    Render_SetCameraTarget(0.0f, 0.0f, 0.0f);
}

void EffectEdit_Draw()
{
    Draw_Line2DSimple(319, 0, 319, 479, 0, 0, 0, 32);
    Draw_Line2DSimple(0, 239, 639, 239, 0, 0, 0, 32);
}

void EffectEdit_Command(int id)
{
    switch (id) {
    case 56: EffectEdit_AddImagePart(); break;
    case 57: EffectEdit_AddParticlePart(); break;
    case 40086: EffectEdit_NewEffect(); break;
    default: break;
    }
}

void EffectEdit_MouseMove(int32_t)
{
    const int32_t* held = g_Lib.mouse.held;
    if (!g_EffectEditPart || !held[0] || held[1] || held[2]) return;
    EFFECT_PART* part = g_EffectEditPart;
    const int32_t k = EffectPart_FindKey(part, EffectEdit_PreviewFrame());
    if (k >= 0) {
        EFFECT_KEY& key = part->keys[k];
        const float dx = g_MouseDelta.x, dy = g_MouseDelta.y;
        switch (g_DragTool) {
        case 0:
            key.position[0] += dx;
            key.position[1] += dy;
            break;
        case 1:
            key.rotation[2] += 0.5f * dx;
            key.rotation[2] -= 0.5f * dy;
            break;
        case 2:
            key.scale[0] += 0.005f * dx;
            key.scale[1] -= 0.005f * dy;
            break;
        default: break;
        }
    }
    EffectEdit_RefreshDialogs();
}

// ---- effects and parts ---------------------------------------------------------------------------

void EffectEdit_NewEffect()
{
    Effect_EraseAllData();
    Effect_EraseAllInstances();
    g_CurEffectInstIndex = Effect_CreateInstance(0);
    g_CurEffectId = Effect_DataCreate();
    // The preview instance shows the new effect in the middle of the screen, as a loaded one.
    Effect_InitInstance(Effect_GetInstance(g_CurEffectInstIndex), g_CurEffectId, 320.0f, 240.0f);
    Mode_UpdateCurrent();
    File_SetDialogDir(g_Lib.dataFolder);
    if (EFFECT* e = Effect_GetData(g_CurEffectId))
        if (!Svc_GetCurrentDirectory(e->folder, sizeof e->folder)) e->folder[0] = 0;
    g_DragTool = 0;
    g_TimelineLabelWidth = 150;
    g_TimelineTop = 84;
    EffectEdit_RefreshDialogs();
}

void EffectEdit_EffectOpened()
{
    g_EffectSliderMax = FrameCount() - 1;
    g_EffectSliderPos = EffectEdit_PreviewFrame();
    EffectDlg_SetSlider(g_EffectSliderPos, g_EffectSliderMax);
    EffectEdit_RefreshDialogs();
}

void EffectEdit_AddImagePart()
{
    EFFECT* e = Effect_GetData(g_CurEffectId);
    if (!e) return;
    // The part first: a refused part loads no object.
    const int32_t index = Effect_PartCreate(e);
    if (index < 0) return;
    const int32_t object = LoadSampleObject();
    e = Effect_GetData(g_CurEffectId);
    EFFECT_PART& part = e->parts[(size_t)index];
    Str_CopyN(part.name, sizeof part.name, kSampleName);
    part.kind = QVL::EFFECT_PART_IMAGE;
    Str_CopyN(part.folder, sizeof part.folder, kSampleFolder);
    Str_CopyN(part.file, sizeof part.file, kSampleObject);
    part.object = object;
    EFFECT_KEY& k = part.keys[0];
    k.shown = 1;
    k.scale[0] = k.scale[1] = 1.0f;
    k.color[0] = 255.0f;
    k.color[3] = 255.0f;
    part.origin[0] = 30.0f;
    part.origin[1] = 20.0f;
    SizePreviewStates();
    Effect_BuildPartTimeTables(e);
    Mode_UpdateCurrent();
    Mode_RefreshAll();
}

void EffectEdit_AddParticlePart()
{
    EFFECT* e = Effect_GetData(g_CurEffectId);
    if (!e) return;
    const int32_t index = Effect_PartCreate(e);
    if (index < 0) return;
    EffectEdit_InitParticlePart(e->parts[(size_t)index]);
    SizePreviewStates();
    Mode_UpdateCurrent();
    Mode_RefreshAll();
}

void EffectEdit_RefreshDialogs()
{
    g_EffectImageListSlot.dirty = 1;
    EffectDlg_FillImageList();
    g_EffectKeyFrameSlot.dirty = 1;
    g_EffectKeyInfoSlot.dirty = 1;
    g_EffectParticleSlot.dirty = 1;
    View_RequestRedraw();
}

// ---- frames and keys -----------------------------------------------------------------------------

int32_t EffectEdit_PreviewFrame() { return g_CurEffectInst ? g_CurEffectInst->frame : 0; }

void EffectEdit_SetFrame(int32_t frame)
{
    if (g_CurEffectInst) g_CurEffectInst->frame = frame;
}

int32_t EffectEdit_PrevKeyFrame(int32_t frame) { return EffectPart_PrevKeyFrame(g_EffectEditPart, frame); }
int32_t EffectEdit_NextKeyFrame(int32_t frame) { return EffectPart_NextKeyFrame(g_EffectEditPart, frame); }

void EffectEdit_WheelKey(int dir)
{
    const int32_t f = EffectEdit_PreviewFrame();
    EffectEdit_SetFrame(dir < 0 ? EffectEdit_PrevKeyFrame(f) : EffectEdit_NextKeyFrame(f));
    Effect_FindInstanceKeys(g_CurEffectInst);
    g_EffectKeyFrameSlot.dirty = 1;
    g_EffectKeyInfoSlot.dirty = 1;
    EffectEdit_RefreshDialogs();
}

EFFECT_KEY* EffectEdit_CurrentKey()
{
    Effect_FindInstanceKeys(g_CurEffectInst);
    QVL::EFFECT_INST_PART* st = CurrentState();
    if (!st || st->key < 0 || st->key >= ValidKeys(g_EffectEditPart)) return nullptr;
    return &g_EffectEditPart->keys[st->key];
}

void EffectEdit_CreateKey()
{
    EFFECT_PART* part = g_EffectEditPart;
    if (!part) return;
    InterpolateCurrentPart();
    if (EffectPart_CreateKey(part, EffectEdit_PreviewFrame()) == EFFECT_KEY_FULL) Lib_MessageBox(kKeysFull);
    // A key before the first one moves the part's start.
    Effect_BuildPartTimeTables(g_CurEffect);
}

void EffectEdit_DeleteKey()
{
    EFFECT_PART* part = g_EffectEditPart;
    if (!part) return;
    if (EffectPart_DeleteKey(part, EffectEdit_PreviewFrame()) == EFFECT_KEY_LAST) Lib_MessageBox(kLastKey);
    Effect_BuildPartTimeTables(g_CurEffect);
}

void EffectEdit_CopyKey()
{
    if (const EFFECT_KEY* k = EffectEdit_CurrentKey()) g_EffectKeyClip = *k;
}

void EffectEdit_CutKey()
{
    EffectEdit_CopyKey();
    EffectEdit_DeleteKey();
}

void EffectEdit_PasteKey()
{
    EFFECT_PART* part = g_EffectEditPart;
    if (!part) return;
    const int32_t f = EffectEdit_PreviewFrame();
    if (EffectPart_PasteKey(part, f, g_EffectKeyClip) == EFFECT_KEY_FULL) Lib_MessageBox(kKeysFull);
    Effect_FindInstanceKeys(g_CurEffectInst);
    Effect_BuildPartTimeTables(g_CurEffect);
}

// ---- the timeline --------------------------------------------------------------------------------

void EffectEdit_PickTimeline(int32_t x, int32_t y)
{
    const int32_t L = g_TimelineLabelWidth, T = g_TimelineTop;
    if (y <= T) return;
    if (x > L) {
        const int64_t z = g_KeyTimeScale;
        EffectEdit_SetFrame(Clamp(((int64_t)x - g_KeyScrollX - L) * z / 10, 0, (int64_t)FrameCount() - 1));
    }
    const int32_t row = (y - T) / kTimelineRowHeight;
    if (row < Effect_GetPartCount(g_CurEffect)) {
        g_CurLayer = row;
        Mode_UpdateCurrent();
    }
    EffectEdit_RefreshDialogs();
}

void EffectEdit_DragKey(int32_t dx)
{
    EFFECT_PART* part = g_EffectEditPart;
    const int32_t F = EffectEdit_PreviewFrame();
    const int32_t k = EffectPart_FindKey(part, F);
    if (k >= 0) {
        int64_t l = (int64_t)dx * g_KeyTimeScale / 12;
        if (l == 0) l = dx > 0 ? 1 : (dx < 0 ? -1 : 0);
        const int32_t f = Clamp((int64_t)F + l, 0, (int64_t)FrameCount() - 1);
        if (EffectPart_FindKey(part, f) < 0) {
            // Moved as cut and paste would: the clipboard holds the moved key.
            MoveKey(part, k, f);
            g_EffectKeyClip = part->keys[EffectPart_FindKey(part, f)];
            EffectEdit_SetFrame(f);
            Effect_FindInstanceKeys(g_CurEffectInst);
        }
    }
    Effect_BuildPartTimeTables(g_CurEffect);
}

void EffectEdit_PanTimeline(int32_t dx, int32_t dy)
{
    g_KeyScrollX += 2 * dx;
    if (g_KeyScrollX > 0) g_KeyScrollX = 0;
    g_KeyScrollY += 2 * dy;
    if (g_KeyScrollY > 0) g_KeyScrollY = 0;
}

void EffectEdit_TimelineMouseMove(int32_t x, int32_t y)
{
    if (x > 10000) x -= 65535;
    if (y > 10000) y -= 65535;
    EFFECT_TIMELINE_MOUSE& m = g_EffectTimelineMouse;
    if (x != m.x || y != m.y) {
        const int32_t dx = x - m.x, dy = y - m.y;
        m.x = x;
        m.y = y;
        if (m.left) {
            if (!m.middle && !m.right) EffectEdit_PickTimeline(x, y);
        } else if (m.middle && !m.right) {
            EffectEdit_DragKey(dx);
        } else if (m.right && !m.middle) {
            EffectEdit_PanTimeline(dx, dy);
        }
    }
    g_PanelDirtyEffect = 1;
}

void EffectEdit_ZoomOut()
{
    int32_t z = g_KeyTimeScale * 2;
    if (z > 62 && z != 64) z = 64;
    g_KeyTimeScale = z;
}

void EffectEdit_ZoomIn()
{
    g_KeyTimeScale /= 2;
    if (g_KeyTimeScale == 0) g_KeyTimeScale = 1;
}

// ---- playback and frame controls -----------------------------------------------------------------

void EffectEdit_Play(bool startValid, uint32_t start, bool endValid, uint32_t end, bool loop)
{
    if (!startValid) return;
    g_MoviePlayStart = start > (uint32_t)INT32_MAX ? INT32_MAX : (int32_t)start;
    if (!endValid) return;
    g_MoviePlayEnd = Clamp(end, 1, FrameCount());
    g_LoopPlay = loop ? 1 : 0;
    g_SavedFrame = EffectEdit_PreviewFrame();
    g_PlayFlag = 1;
    g_ScreenGroup = 6;
    g_EffectKeyFrameSlot.dirty = 1;
    Lib_ResetFrameTimer();
}

void EffectEdit_Stop()
{
    g_PlayFlag = 0;
    g_ScreenGroup = 6;
    EffectEdit_SetFrame(g_SavedFrame);
    View_RequestRedraw();
    Lib_ResetFrameTimer();
}

void EffectEdit_ApplyFrameCount(int64_t typed)
{
    EFFECT* e = g_CurEffect;
    if (!e) return;
    const int32_t n = Effect_ClampFrameCount(typed);
    if (n == e->frameCount) return;
    e->frameCount = n;
    g_MoviePlayEnd = n;
    if (g_MoviePlayStart > n - 1) g_MoviePlayStart = n - 1;
    g_EffectSliderMax = n;
    EffectDlg_SetSlider(EffectEdit_PreviewFrame(), n);
    g_EffectSliderPos = EffectEdit_PreviewFrame();
    // Parts run over the new length at once, not only after the next key move.
    Effect_BuildPartTimeTables(e);
    g_EffectKeyFrameSlot.dirty = 1;
}

int32_t EffectEdit_SliderScroll(int request, int32_t current, int32_t thumb)
{
    int64_t pos = current;
    switch (request) {
    case EFFECT_SLIDE_LINE_LEFT: pos -= 1; break;
    case EFFECT_SLIDE_LINE_RIGHT: pos += 1; break;
    case EFFECT_SLIDE_PAGE_LEFT: pos -= 60; break;
    case EFFECT_SLIDE_PAGE_RIGHT: pos += 60; break;
    case EFFECT_SLIDE_THUMB: pos = thumb; break;
    default: break;
    }
    const int32_t p = Clamp(pos, 0, g_EffectSliderMax);
    EffectEdit_SetFrame(p);
    return p;
}

void EffectEdit_FrameButton(int id)
{
    const int32_t f = EffectEdit_PreviewFrame();
    switch (id) {
    case 1403: EffectEdit_SetFrame(0); break;
    case 1404: EffectEdit_SetFrame(EffectEdit_PrevKeyFrame(f)); break;
    case 1405: EffectEdit_SetFrame(f > 0 ? f - 1 : 0); break;
    case 1406: EffectEdit_SetFrame(f < INT32_MAX ? f + 1 : f); break;
    case 1407: EffectEdit_SetFrame(EffectEdit_NextKeyFrame(f)); break;
    default: return;
    }
    EffectEdit_RefreshDialogs();
}

// ---- dialog fields -------------------------------------------------------------------------------

bool EffectEdit_ImageListLine(int32_t i, char* out, int32_t cap)
{
    const EFFECT* e = Effect_GetData(g_CurEffectId);
    if (!e || i < 0 || (size_t)i >= e->textures.size()) return false;
    Str_Format(out, (size_t)cap, "%2d : %s", i, e->textures[(size_t)i].file);
    return true;
}

void EffectEdit_AssignImage()
{
    if (Effect_GetPartCount(g_CurEffect) == 0) return;
    if (EFFECT_KEY* k = EffectEdit_CurrentKey()) k->texture = g_EffectChosenImage;
    View_RequestRedraw();
}

bool EffectEdit_KeyInfoText(int id, char* out, int32_t cap)
{
    const EFFECT_KEY* k = EffectEdit_CurrentKey();
    if (!k) return false;
    float v;
    switch (id) {
    case 82: v = k->position[0]; break;
    case 83: v = k->position[1]; break;
    case 84: v = k->rotation[2]; break;
    case 85: v = k->scale[0]; break;
    case 86: v = k->scale[1]; break;
    case 1298:
    case 1300:
    case 1301:
    case 1302: {
        const float c = k->color[id == 1298 ? 0 : id - 1299];
        // Truncated towards zero; values beyond int stop at its ends.
        const double t = std::trunc((double)c);
        const int32_t n = t != t ? 0 : (t > 2147483647.0 ? INT32_MAX : (t < -2147483648.0 ? INT32_MIN : (int32_t)t));
        Str_Format(out, (size_t)cap, "%d", n);
        return true;
    }
    default: return false;
    }
    Str_Format(out, (size_t)cap, "%3.3f", (double)v);
    return true;
}

void EffectEdit_KeyInfoApply(const float values[9])
{
    if (Effect_GetPartCount(g_CurEffect) == 0) return;
    EFFECT_KEY* k = EffectEdit_CurrentKey();
    if (!k) return;
    k->position[0] = values[0];
    k->position[1] = values[1];
    k->rotation[2] = values[2];
    k->scale[0] = values[3];
    k->scale[1] = values[4];
    for (int a = 0; a < 4; ++a) k->color[a] = values[5 + a];
    View_RequestRedraw();
}

// The emitter value behind control 90 + i of the particle dialog.
static float* ParticleValue(EFFECT_KEY& k, int i)
{
    switch (i) {
    case 0: return &k.speedRange[0];
    case 1: return &k.speed[0];
    case 2: return &k.speed[1];
    case 3: return &k.speedRange[1];
    case 4: return &k.rotSpeed[2];
    case 5: return &k.rotSpeedRange[2];
    case 6: return &k.scaleSpeed[0];
    case 7: return &k.scaleSpeed[1];
    case 8: return &k.scaleSpeedRange[0];
    case 9: return &k.scaleSpeedRange[1];
    default:
        if (i >= 10 && i < 18) return (i & 1) ? &k.colorSpeedRange[(i - 10) / 2] : &k.colorSpeed[(i - 10) / 2];
        return nullptr;
    }
}

static void ParticleTextOf(EFFECT_KEY& k, int id, char* out, int32_t cap)
{
    if (id == 89) {
        Str_Format(out, (size_t)cap, "%d", k.emitInterval);
        return;
    }
    Str_Format(out, (size_t)cap, "%3.3f", (double)*ParticleValue(k, id - 90));
}

bool EffectEdit_ParticleText(int id, char* out, int32_t cap)
{
    if (id < 89 || id > 107) return false;
    EFFECT_KEY* k = EffectEdit_CurrentKey();
    if (!k) return false;
    ParticleTextOf(*k, id, out, cap);
    return true;
}

void EffectEdit_ParticleApply(int32_t interval, const float v[18])
{
    if (Effect_GetPartCount(g_CurEffect) == 0) return;
    EFFECT_KEY* k = EffectEdit_CurrentKey();
    if (!k) return;
    k->emitInterval = interval;
    for (int i = 0; i < 18; ++i) *ParticleValue(*k, i) = v[i];
    g_EffectParticleSlot.dirty = 1;
}

void EffectEdit_ParticleApplyTexts(const char* const texts[19])
{
    if (Effect_GetPartCount(g_CurEffect) == 0) return;
    EFFECT_KEY* k = EffectEdit_CurrentKey();
    if (!k) return;
    // The fields show three decimals: a field left as the refresh wrote it keeps the exact value,
    // or every 決定 would round the emitter a little more.
    auto unchanged = [&](int id) {
        char shown[64];
        ParticleTextOf(*k, id, shown, sizeof shown);
        return std::strcmp(shown, texts[id - 89]) == 0;
    };
    int32_t interval = k->emitInterval;
    if (!unchanged(89)) {
        long long n = std::strtoll(texts[0], nullptr, 10);
        interval = n > INT32_MAX ? INT32_MAX : (n < INT32_MIN ? INT32_MIN : (int32_t)n);
    }
    float v[18];
    for (int i = 0; i < 18; ++i)
        v[i] = unchanged(90 + i) ? *ParticleValue(*k, i) : (float)std::strtod(texts[i + 1], nullptr);
    EffectEdit_ParticleApply(interval, v);
}

// The mode record: enter, exit, frame, command, key down and up; the mouse buttons and move; the
// two draw passes.
const MODE_HOOKS kEffectEditMode = {
    EffectEdit_Enter, EffectEdit_Exit, EffectEdit_Frame, EffectEdit_Command, nullptr, nullptr,
    Mode_StoreDragStart, nullptr, Mode_StoreDragStart, nullptr, Poly3D_StoreDragStart, nullptr, EffectEdit_MouseMove,
    EffectEdit_Draw, nullptr};
