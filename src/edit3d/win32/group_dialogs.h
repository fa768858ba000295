// The group dialog (3D_GROUP_DLG) and the weight dialog (3D_WEIGHT_DLG) as windows.
#pragma once

// Creates MODEL3D_DLG_GROUP or MODEL3D_DLG_WEIGHT (owner the main window, not yet shown); null for
// another kind or when it could not be made.
void* Group3DDlg_Create(int which);
