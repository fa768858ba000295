// The file commands' dialogs over the main window, and the texture panels' pixel copies.
#include <windows.h>

#include "frame/win32/app_frame.h"
#include "frame/win32/file_dialog.h"
#include "frame/win32/image_load.h"
#include "model/win32/model_textures.h"
#include "shell/file_asks.h"
#include "shell/file_commands.h"

const char* FileCmd_AskOpen(const char* extension, const char* title, const char* initialName)
{
    return File_OpenDialog(g_MainWnd, extension, title, initialName);
}

const char* FileCmd_AskOpenFilter(const char* filter, const char* title)
{
    return File_OpenDialogFilter(g_MainWnd, filter, title, "");
}

const char* FileCmd_AskSave(const char* extension, const char* initialName)
{
    return File_SaveDialog(g_MainWnd, extension, "名前を付けてファイルに保存", initialName);
}

void FileCmd_CopyModelPixels(int32_t id) { Image_CopyModel3Pixels(id); }
