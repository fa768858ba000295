// The platform seam: everything platform-free code needs from outside. The studio implements it in
// frame/win32/services.cpp; native programs link the recorder in tests/support/. Nothing else crosses.
#pragma once
#include <cstdint>
#include <vector>

// A message box with the product caption; the frame timer is reset after it (the box stops time).
void Lib_MessageBox(const char* text);

// One finished line for the log window (dropped while the window does not exist).
void Svc_LogLine(const char* line);
// Opens the log window ("LogWin"), once per run; the program editor's entry does.
void Log_CreateWindow();

// Replaces dst by src in one step, so a reader never sees a half-written file.
bool Svc_ReplaceFile(const char* src, const char* dst);

// The process's current directory; loaders join it with the file names the dialogs return.
bool Svc_GetCurrentDirectory(char* buf, int size);
bool Svc_SetCurrentDirectory(const char* path);
bool Svc_FileExists(const char* path);

// The shell's windows and menus, as opaque handles (null: none). The studio works on real windows;
// native programs record the calls.
void* Svc_MainWindow();
void* Svc_ActiveWindow();
void Svc_ActivateWindow(void* window);
// Loads the named menu resource and sets it on the main window; null when there is none.
void* Svc_MenuSet(const char* name);
void Svc_MenuDestroy(void* menu);
// A new, hidden view window ("View", menu MENU_WIN) owned by the main window.
void* Svc_ViewWindowCreate();
void Svc_WindowDestroy(void* window);
// Moves the window to the rectangle (repainting) and shows it normally.
void Svc_WindowPlace(void* window, int left, int top, int width, int height);
void Svc_WindowSetText(void* window, const char* text);

// Milliseconds of a monotonic clock, and a sleep.
uint32_t Svc_TimeMs();
void Svc_Sleep(int ms);

// Dispatches one waiting window message of the calling thread; false when none waited. A wait for a
// background load pumps messages through it so the program stays responsive.
bool Svc_PumpMessage();

// A thread and a lock for the background loader.
struct SVC_THREAD;
struct SVC_LOCK;
SVC_THREAD* Svc_ThreadStart(void (*fn)(void*), void* arg);
void Svc_ThreadJoin(SVC_THREAD* thread);
SVC_LOCK* Svc_LockCreate();
void Svc_LockDestroy(SVC_LOCK* lock);
void Svc_Lock(SVC_LOCK* lock);
void Svc_Unlock(SVC_LOCK* lock);

// Texture slots: the studio loads pictures into Direct3D textures; native programs record the names.
// Tex_Load returns the slot's handle, or -1 when the picture did not load.
int32_t Tex_Load(const char* file);
int32_t Tex_LoadFile(int32_t* handle, const char* file);
// The slot's picture size in pixels; (0, 0) and false when the handle is -1 or not in use.
bool Tex_GetSize(int32_t handle, float* width, float* height);
// The slot's texture, top level, as B, G, R, A bytes row by row without padding (texW x texH
// texels); false and an empty vector when the handle has no texture.
bool Tex_ReadTexels(int32_t handle, std::vector<uint8_t>& texels, int32_t* texW, int32_t* texH);

// Platform resources of 3D model slots, by model ID: render data, GPU objects, textures, sounds.
enum {
    SVC_MODEL3_CREATED = 0,  // a slot was made or reused: its render data is cleared and sized
    SVC_MODEL3_READ = 1,     // a load filled the record: its render data is sized to it
    SVC_MODEL3_MEDIA = 2,    // a QVP load: the pictures of the used texture entries (the model's folder
                             // joined with the entry's path; sizes go into the entries) and the sound
                             // names from 1 up are loaded
    SVC_MODEL3_FREED = 3,    // the record is about to be freed: its GPU objects are released
};
// Runs on the loader thread for queued loads (READ, MEDIA), and under the loader's lock for FREED.
void Svc_Model3Event(int32_t id, int event);
// The graphics buffers of a model's render kind 2, 3, 4, 5 or 8 (displacement), built from its
// faces into its render data; false when the kind's data could not be made.
bool Svc_GpuBuildBuffers(int32_t id, int32_t kind);
// Rewrites the first vertices of the vertex buffer of material `group` of the model: `count`
// positions (3 floats each) and, when `normals` is not null, as many normals, into vertices of the
// buffers' 36-byte layout; never more vertices than the buffer holds. False without such a buffer.
bool Svc_GpuWriteVertices(int32_t id, int32_t group, const float* positions, const float* normals, int32_t count);
// Sound and media playback (frame/win32/sound.cpp, media.cpp); native programs record the calls.
// Plays global sound 0..99; false when that number holds no loaded sound or it could not play.
bool Wave_PlayGlobalSound(int32_t index);
// Plays a media file from the start; the file already playing is left alone. False when it cannot play.
bool MediaPlay(const char* path, int32_t loop);
void Media_Stop();
// Releases a texture the studio loaded; null does nothing (native programs never hold one).
struct IDirect3DTexture9;
void Svc_ReleaseTexture(IDirect3DTexture9* texture);

// The effect editor's four modeless dialogs with the frame slider, and the particle mode's parameter
// dialog (effect/win32/); native programs record the calls. Open creates each dialog that is not
// open yet (the slider ranged 0 .. g_EffectSliderMax at 0); Close destroys those open.
void Svc_EffectDialogsOpen();
void Svc_EffectDialogsClose();
// Refills the image list from EffectEdit_ImageListLine and selects its first line.
void Svc_EffectImageListFill();
// Ranges the frame slider 0 .. max and moves it to pos.
void Svc_EffectSliderSet(int32_t pos, int32_t max);
void Svc_ParticleDialogOpen();
void Svc_ParticleDialogClose();
