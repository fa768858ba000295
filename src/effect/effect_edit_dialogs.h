// The effect editor's platform seam: its four modeless dialogs with the frame slider, and the
// particle mode's parameter dialog. The studio implements it in effect/win32/effect_dialogs.cpp;
// native programs link tests/support/effect_ui_recorder.cpp, which records the calls.
#pragma once
#include <cstdint>

// Open creates each dialog that is not open yet (the slider ranged 0 .. g_EffectSliderMax at 0);
// Close destroys those open.
void EffectDlg_Open();
void EffectDlg_Close();
// Refills the image list from EffectEdit_ImageListLine and selects its first line.
void EffectDlg_FillImageList();
// Ranges the frame slider 0 .. max and moves it to pos.
void EffectDlg_SetSlider(int32_t pos, int32_t max);
// Sets the text of control `id` of the particle dialog.
void EffectDlg_SetParticleField(int id, const char* text);
void ParticleDlg_Open();
void ParticleDlg_Close();
