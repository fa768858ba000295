// Native side of the effect editor's platform seam (effect/effect_edit_dialogs.h): the dialog slots
// get handles as windows would, and every call is recorded in UiRec().calls (a particle dialog
// field as "ParticleField <id> <text>").
#include <cstdint>
#include <string>

#include "effect/effect_edit_dialogs.h"
#include "effect/effect_edit_hooks.h"
#include "support/ui_recorder.h"

namespace {

void* Handle() { return (void*)((uintptr_t)UiRec().nextHandle++ * 16); }

void Open(DLG_SLOT& slot, const char* name)
{
    if (slot.window) return;
    slot.window = Handle();
    slot.dirty = 1;
    UiRec().calls.push_back(std::string("DialogOpen ") + name);
}

void Close(DLG_SLOT& slot, const char* name)
{
    if (!slot.window) return;
    slot.window = nullptr;
    UiRec().calls.push_back(std::string("DialogClose ") + name);
}

} // namespace

void EffectDlg_Open()
{
    Open(g_EffectImageListSlot, "140");
    if (!g_EffectKeyFrameSlot.window) {
        Open(g_EffectKeyFrameSlot, "60");
        g_EffectSlider = Handle();
        g_EffectKeyFrameSlot.extra[0] = 1008;
        g_EffectKeyFrameSlot.extra[1] = 274;
        UiRec().calls.push_back("Slider 0 " + std::to_string(g_EffectSliderMax));
    }
    Open(g_EffectKeyInfoSlot, "59");
    Open(g_EffectParticleSlot, "139");
}

void EffectDlg_Close()
{
    Close(g_EffectImageListSlot, "140");
    Close(g_EffectKeyFrameSlot, "60");
    g_EffectSlider = nullptr;
    Close(g_EffectKeyInfoSlot, "59");
    Close(g_EffectParticleSlot, "139");
}

void EffectDlg_FillImageList()
{
    std::string line = "ImageList";
    char text[300];
    for (int32_t i = 0; EffectEdit_ImageListLine(i, text, sizeof text); ++i) line += std::string("|") + text;
    UiRec().calls.push_back(line);
}

void EffectDlg_SetSlider(int32_t pos, int32_t max)
{
    UiRec().calls.push_back("Slider " + std::to_string(pos) + " " + std::to_string(max));
}

void EffectDlg_SetParticleField(int id, const char* text)
{
    UiRec().calls.push_back("ParticleField " + std::to_string(id) + " " + text);
}

void ParticleDlg_Open() { Open(g_ParticleModeSlot, "107"); }
void ParticleDlg_Close() { Close(g_ParticleModeSlot, "107"); }
