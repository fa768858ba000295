// The effect editor (mode 20) and the particle mode (19): what the shell calls, the editor's state,
// and the platform-free half of its four dialogs (the windows are in effect/win32/).
#pragma once
#include <cstdint>

#include "effect/effect.h"
#include "shell/dlg_slot.h"
#include "shell/mode_hooks.h"

// The mode records the shell application lists under their mode number.
extern const MODE_HOOKS kParticleEditMode;
extern const MODE_HOOKS kEffectEditMode;

// ---- the effect editor ---------------------------------------------------------------------------

// The four modeless dialogs; each slot's dirty flag asks it to refill its fields at its next message.
// The key-frame dialog's slot keeps its client width and height in extra[0] and extra[1].
extern DLG_SLOT g_EffectImageListSlot;   // "イメージリスト" (140)
extern DLG_SLOT g_EffectKeyFrameSlot;    // "キーフレーム" (60), the timeline's host
extern DLG_SLOT g_EffectKeyInfoSlot;     // "キーフレーム情報" (59)
extern DLG_SLOT g_EffectParticleSlot;    // "パーティクル" (139)
extern void* g_EffectSlider;             // the frame slider, a child of the key-frame dialog
extern int32_t g_EffectSliderMax;
extern int32_t g_EffectSliderPos;        // the frame the slider shows
extern int32_t g_EffectChosenImage;      // the image list's last selected line
extern QVL::EFFECT_KEY g_EffectKeyClip;

// Mouse state of the key-frame dialog's timeline.
struct EFFECT_TIMELINE_MOUSE {
    int32_t left, middle, right;   // 1 while held
    int32_t x, y;                  // last client position
};
extern EFFECT_TIMELINE_MOUSE g_EffectTimelineMouse;

void EffectEdit_Enter();
// What the effect editor and the particle mode share on entry: their menu, screen group 6 and the
// 640 x 480 canvas centred in the main view.
void EffectEdit_EnterCanvas(const char* menu);
void EffectEdit_Exit();
void EffectEdit_Frame();
void EffectEdit_Command(int id);
void EffectEdit_MouseMove(int32_t lParam);
void EffectEdit_Draw();
void EffectEdit_NewEffect();
// After the QVE open command has put a loaded effect in place of the new one: the slider spans
// its frames and the dialogs refill.
void EffectEdit_EffectOpened();
void EffectEdit_AddImagePart();
void EffectEdit_AddParticlePart();
void EffectEdit_RefreshDialogs();
int32_t EffectEdit_PrevKeyFrame(int32_t frame);
int32_t EffectEdit_NextKeyFrame(int32_t frame);
// One wheel step of the preview frame to the previous (-1) or next (1) key of the current part.
void EffectEdit_WheelKey(int dir);
// Builds the sample effect "爆発" as the current effect with its preview instance: the record of
// EffectEdit_SampleRecord with its pictures and 2D objects loaded, named "爆発.QVE" in the data folder.
void EffectEdit_BuildSample();
// The sample's record as its file holds it: three 2D-object parts "爆発", the default emitter, the
// three pictures, 60 frames.
void EffectEdit_SampleRecord(QVL::EFFECT& e);
// The default emitter "パーティクル" (interval 3, rising at 2 pixels per frame, additive).
void EffectEdit_InitParticlePart(QVL::EFFECT_PART& part);

// The preview frame (the preview instance's frame; 0 without one) and its setter.
int32_t EffectEdit_PreviewFrame();
void EffectEdit_SetFrame(int32_t frame);
// The current key: the key the last key search found for the current part in the preview
// instance; null when there is none (no parts, no instance, no state for the part).
QVL::EFFECT_KEY* EffectEdit_CurrentKey();

// Key operations on the current part at the preview frame. Create and paste refuse a part that
// holds 16 keys, delete and cut keep a part's only key; each says so in a message box.
void EffectEdit_CreateKey();
void EffectEdit_DeleteKey();
void EffectEdit_CopyKey();
void EffectEdit_CutKey();
void EffectEdit_PasteKey();

// Timeline geometry and mouse (client coordinates of the key-frame dialog).
void EffectEdit_PickTimeline(int32_t x, int32_t y);
// The middle-button drag of the key on the preview frame by dx pixels.
void EffectEdit_DragKey(int32_t dx);
// The right-button pan.
void EffectEdit_PanTimeline(int32_t dx, int32_t dy);
// A mouse move in the dialog (coordinates as the message gives them, folded above 10000).
void EffectEdit_TimelineMouseMove(int32_t x, int32_t y);
// "縮小" (out) and "拡大" (in).
void EffectEdit_ZoomOut();
void EffectEdit_ZoomIn();

// Playback: "再生" with the start and end edits (valid false when a field is not a number) and the
// loop box; "停止".
void EffectEdit_Play(bool startValid, uint32_t start, bool endValid, uint32_t end, bool loop);
void EffectEdit_Stop();
// "決定" of the frame count: at least 1 and at most the longest timeline.
void EffectEdit_ApplyFrameCount(int64_t n);
// The frame slider's scroll requests.
enum { EFFECT_SLIDE_LINE_LEFT, EFFECT_SLIDE_LINE_RIGHT, EFFECT_SLIDE_PAGE_LEFT, EFFECT_SLIDE_PAGE_RIGHT,
       EFFECT_SLIDE_THUMB, EFFECT_SLIDE_OTHER };
// The new slider position for a request from the current one (clamped to 0 .. max), which becomes
// the preview frame; a thumb drag moves it only where it ends (EFFECT_SLIDE_THUMB).
int32_t EffectEdit_SliderScroll(int request, int32_t current, int32_t thumb);
// The frame buttons 1403 to 1407.
void EffectEdit_FrameButton(int id);

// Image list: line i ("%2d : %s"); false past the end.
bool EffectEdit_ImageListLine(int32_t i, char* out, int32_t cap);
// The chosen image becomes the current key's texture (when the effect has parts).
void EffectEdit_AssignImage();

// The key-information fields: 82..86 as "%3.3f", colour 1298, 1300..1302 as "%d" truncated.
bool EffectEdit_KeyInfoText(int id, char* out, int32_t cap);
// Position x, y, rotation z, scale x, y, colour R, G, B, A into the current key.
void EffectEdit_KeyInfoApply(const float values[9]);
// The particle dialog's fields: the interval, then the 18 floats of controls 90 .. 107.
void EffectEdit_ParticleApply(int32_t interval, const float values[18]);
// Control 89 .. 107 of the particle dialog as it shows the current key: the interval "%d", the
// emitter values "%3.3f"; false without a current key.
bool EffectEdit_ParticleText(int id, char* out, int32_t cap);
// "決定" with the texts of controls 89 .. 107 (an empty field gives 0). A field still showing what
// EffectEdit_ParticleText gives keeps the key's exact value.
void EffectEdit_ParticleApplyTexts(const char* const texts[19]);

// ---- the particle mode ---------------------------------------------------------------------------

struct PARTICLE_SPRITE_COPY {
    uint8_t active;
    int32_t delay;
    float x, y;
    float alpha;
};
constexpr int32_t kParticleModeCopies = 300;
struct PARTICLE_MODE {
    PARTICLE_SPRITE_COPY copies[kParticleModeCopies];
    int32_t frames;     // one burst cycle
    int32_t count;      // copies per burst
    int32_t counter;
};
extern PARTICLE_MODE g_ParticleMode;
extern DLG_SLOT g_ParticleModeSlot;      // "パラメータ" (107)

void ParticleEdit_Enter();
void ParticleEdit_Exit();
void ParticleEdit_Frame();
void ParticleEdit_MouseMove(int32_t lParam);
void ParticleEdit_Draw();
// What the parameter dialog's WM_INITDIALOG sets.
void ParticleEdit_InitParams();
void ParticleEdit_Spawn(PARTICLE_SPRITE_COPY& c, int32_t radius, int32_t delay);
void ParticleEdit_Tick(PARTICLE_SPRITE_COPY& c);
// 0..32767, the mode's own sequence.
int32_t ParticleEdit_Random();
void ParticleEdit_SeedRandom(uint32_t seed);
