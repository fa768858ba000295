// The 2D editor hub's platform seam: its modeless dialogs. The studio implements it in
// edit2d/win32/model2d_dialogs.cpp; native programs link tests/support/model2d_ui_recorder.cpp.
#pragma once

enum MODEL2D_DLG {
    MODEL2D_DLG_SCREENS = 0,  // MODEL_2D_DLG, the screen switcher
    MODEL2D_DLG_BONE_LIST,    // BONE_LIST_DLG with the 2D bone procedure
    MODEL2D_DLG_GROUP,        // 2D_GROUP_DLG
};

// Creates the dialog (owner the main window, not yet shown); null when it could not be made.
// Wnd_Destroy (shell/ui_services.h) ends it; Model3DDlg_Place and Model3DDlg_Item serve it too.
void* Model2DDlg_Create(int which);
// Makes the child list box and tree view of the 2D bone list when they are missing.
void Model2DDlg_MakeBoneControls(void* dialog);
// Makes the child group list box of 2D_GROUP_DLG when it is missing; returns it.
void* Model2DDlg_MakeGroupList(void* dialog);
