// The file commands of the menus: each asks for a file, runs one reader or writer and refreshes the
// editors. Readers open the names the dialogs return relative to the current directory, which the
// dialogs leave at the chosen file's folder. Formats whose readers and writers are not built yet
// answer that they are not available instead of doing nothing.
#pragma once
#include <cstddef>
#include <cstdint>

#include "shell/file_asks.h"

// The generic model loader of the load commands, dropped files and the command line: a file of the
// current directory becomes the current model. The current model is released only once the new one
// has loaded; a file that does not load leaves the model and the editor as they were.
void FileCmd_LoadModelFile(const char* name);
// A full or relative path: the current directory moves to its folder, then FileCmd_LoadModelFile.
// False (with a message) when the folder or the name does not fit their 256-byte fields.
bool FileCmd_OpenPath(const char* path);
// Splits a path at its last '\\' (CP932-aware): "C:\\a\\b.qvp" gives "C:\\a" and "b.qvp", a root
// keeps its separator ("C:\\"), a bare name gives an empty folder. False when either part does not
// fit its buffer.
bool FileCmd_SplitPath(const char* path, char* folder, size_t folderCap, char* name, size_t nameCap);

// How the generic loader treats a file name, by its extension.
enum FILECMD_MODEL_KIND {
    FILECMD_MODEL_READY,    // QVP, or an importer that exists
    FILECMD_MODEL_MISSING,  // an importer whose format is not built yet
    FILECMD_MODEL_UNKNOWN,  // not a model file
};
FILECMD_MODEL_KIND FileCmd_ModelKind(const char* name);

// The message of a format that this build cannot read or write yet.
void FileCmd_ShowNotAvailable(const char* format);

// State the load commands reset for the editors.
extern int32_t g_Group2DListCache;    // the 2D group dialog's cached list position; -1 refills it
extern int32_t g_PixelCopyCacheIndex; // the texture panels' cached pixel copy; -1 rebuilds it

// The commands of the menu-command table.
void FileCmd_LoadMAP2();
void FileCmd_SaveMAP2();
void FileCmd_LoadQVP();
void FileCmd_SaveQVP();
void FileCmd_LoadQVO();
// Loads the QVO into row 0 (nothing on an empty name), then makes part 1 current and refreshes the
// object's lists, poses and views.
void FileCmd_OpenQVOByName(const char* name);
void FileCmd_SaveQVO();
void FileCmd_ImportLWO();
void FileCmd_LoadQVV();
void FileCmd_SaveQVV();
void FileCmd_ImportMX();
void FileCmd_ExportMX();
void FileCmd_ImportDXF();
void FileCmd_ImportROK();
void FileCmd_ExportLWO();
void FileCmd_ImportX();
void FileCmd_ExportX();
void FileCmd_NewModel3();
void FileCmd_ImportMQO();
void FileCmd_LoadQVC();
void FileCmd_SaveQVC();
void FileCmd_LoadColiModel();
void FileCmd_LoadBackgroundModel();
void FileCmd_LoadQVM();
void FileCmd_LoadQVE();
void FileCmd_SaveQVE();
void FileCmd_LoadAny();
void FileCmd_LoadQVB();
void FileCmd_SaveQVB();
void FileCmd_SaveQVM();
void FileCmd_New2DObject();
void FileCmd_LoadQVA();
void FileCmd_SaveQVA();
