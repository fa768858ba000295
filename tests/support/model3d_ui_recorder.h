// Native stand-in for the 3D editor hub's dialogs (edit3d/model3d_dialogs.h, implemented by
// model3d_ui_recorder.cpp): dialogs are handles that remember their kind, the undo list keeps its
// rows, and each call is also noted in the shared call log (support/ui_recorder.h).
#pragma once
#include <string>
#include <vector>

struct Model3DUiRecorder {
    std::vector<int> created;               // kinds made by Model3DDlg_Create, in order
    bool refuse[5] = {};                    // kinds whose creation fails
    std::vector<std::string> listRows;      // the last rows given to a list
    int listSelected = -1;
    std::vector<std::string> texturesLoaded;  // "id index folder file"
    int pixelCopies = 0;
    void Clear() { *this = Model3DUiRecorder(); }
};

Model3DUiRecorder& Model3DRec();
