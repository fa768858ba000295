// The 3D editor hub's platform seam: its modeless dialogs, the undo list, and the model textures an
// undo step reloads. The studio implements it in edit3d/win32/model3d_dialogs.cpp; native programs
// link tests/support/model3d_ui_recorder.cpp, which records the calls.
#pragma once
#include <cstdint>

enum MODEL3D_DLG {
    MODEL3D_DLG_SCREENS = 0,  // MODEL_3D_DLG, the screen switcher
    MODEL3D_DLG_LAYER,        // LAYER_DLG
    MODEL3D_DLG_UNDO,         // UNDO_DLG
    MODEL3D_DLG_GROUP,        // 3D_GROUP_DLG
    MODEL3D_DLG_BONE_LIST,    // BONE_LIST_DLG
    MODEL3D_DLG_WEIGHT,       // 3D_WEIGHT_DLG (weight screen)
    MODEL3D_DLG_POLY,         // the polygon screen's modelling dialog (poly17)
    MODEL3D_DLG_POLY_NUM,     // POLY_NUM_DLG (poly17)
    MODEL3D_DLG_TEX,          // 3D_TEX_DLG (texture screen)
    MODEL3D_DLG_TEX_IMAGE,    // 3D_TEX_IMAGE_DLG (texture screen)
    // motion screen (edit3d/win32/motion_dialogs.cpp)
    MODEL3D_DLG_MOTION,       // 3D_MOTION_DLG
    MODEL3D_DLG_MOTION_KEYS,  // MOTION_KEY_DLG
    MODEL3D_DLG_MOTION_LIST,  // 3D_MOTION_LIST_DLG
    MODEL3D_DLG_MOTION_WAVE,  // MOTION_WAVE_DLG
};

// Creates the dialog (owner the main window, not yet shown); null when it could not be made.
// Wnd_Destroy (shell/ui_services.h) ends it.
void* Model3DDlg_Create(int which);
// Moves the dialog to the rectangle, never smaller than its template with this machine's fonts, and
// shows it.
void Model3DDlg_Place(void* dialog, int left, int top, int width, int height);
// Brings the dialog above the editor's other windows without activating it.
void Model3DDlg_Raise(void* dialog);
// The control `id` of a dialog; null when there is none.
void* Model3DDlg_Item(void* dialog, int id);
// Empties a list box and adds the rows; the row `selected` is selected (none when outside them).
void Model3DDlg_FillList(void* list, const char* const* rows, int count, int selected);
// Loads texture entry `index` of model `id` from `folder`, which becomes the current directory.
void Model3DDlg_LoadTexture(int32_t id, int32_t index, const char* folder, const char* file);
// Rebuilds the CPU pixel copies of the model's textures.
void Model3DDlg_CopyPixels(int32_t id);
// Writes "Memory %3.3f" with the free physical memory in MiB to the log.
void Model3DDlg_LogMemory();
