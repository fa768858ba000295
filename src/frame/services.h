// The frame's platform seam: files, time, threads, the message pump, the message box and the log.
// The studio implements it in frame/win32/services.cpp (the log window in frame/win32/log_window.cpp);
// native programs link tests/support/services_recorder.cpp. The other seams, each owned by the side
// that needs it: the frame tick's device calls (frame/tick_services.h), sound and media playback
// (frame/sound.h), the model's GPU and texture needs (model/gpu_services.h), the shell's windows
// and menus (shell/ui_services.h) and the effect editor's dialogs (effect/effect_edit_dialogs.h).
#pragma once
#include <cstdint>

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
