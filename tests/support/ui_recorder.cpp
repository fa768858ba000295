#include "support/ui_recorder.h"

#include <cstdint>
#include <cstdarg>
#include <cstdio>

#include "shell/file_commands.h"
#include "shell/ui_services.h"

UiRecorder& UiRec()
{
    static UiRecorder r;
    return r;
}

bool UiRecorder::Has(const std::string& line) const
{
    for (const std::string& c : calls)
        if (c == line) return true;
    return false;
}

static void* NewHandle() { return (void*)((uintptr_t)UiRec().nextHandle++ * 16); }
static int Id(void* h) { return (int)((uintptr_t)h / 16); }

void* UiRec_MainWindow() { return (void*)16; }

static void Note(const char* fmt, ...)
{
    char buf[512];
    va_list a;
    va_start(a, fmt);
    std::vsnprintf(buf, sizeof buf, fmt, a);
    va_end(a);
    UiRec().calls.push_back(buf);
}

void* Svc_MainWindow() { return UiRec_MainWindow(); }
void* Svc_ActiveWindow() { return UiRec().active; }
void Svc_ActivateWindow(void* w)
{
    UiRec().active = w;
    Note("Activate %d", Id(w));
}
void* Svc_MenuSet(const char* name)
{
    Note("MenuSet %s", name);
    return NewHandle();
}
void Svc_MenuDestroy(void* m) { Note("MenuDestroy %d", Id(m)); }
void* Svc_ViewWindowCreate()
{
    void* h = NewHandle();
    Note("ViewCreate %d", Id(h));
    return h;
}
void Svc_WindowDestroy(void* w) { Note("Destroy %d", Id(w)); }
void Svc_WindowPlace(void* w, int l, int t, int wd, int ht) { Note("Place %d %d %d %d %d", Id(w), l, t, wd, ht); }
void Svc_WindowSetText(void* w, const char* text) { Note("Text %d %s", Id(w), text); }

// The shell's own windows, recorded.
void Main_ConfirmExit() { ++UiRec().confirmExits; }
void Options_Open() { ++UiRec().optionsOpened; }
void MainWnd_ApplyRect() { Note("ApplyRect"); }

// The file commands' dialogs, answered from the script.
static const char* NextFileAnswer()
{
    static std::string answer;
    UiRecorder& r = UiRec();
    answer = r.fileAnswers.empty() ? std::string() : r.fileAnswers.front();
    if (!r.fileAnswers.empty()) r.fileAnswers.erase(r.fileAnswers.begin());
    return answer.c_str();
}

const char* FileCmd_AskOpen(const char* extension, const char* title, const char* initialName)
{
    Note("Open %s %s %s", extension, title, initialName);
    return NextFileAnswer();
}

const char* FileCmd_AskOpenFilter(const char*, const char* title)
{
    Note("OpenFilter %s", title);
    return NextFileAnswer();
}

const char* FileCmd_AskSave(const char* extension, const char* initialName)
{
    Note("Save %s %s", extension, initialName);
    return NextFileAnswer();
}

void FileCmd_CopyModelPixels(int32_t id) { UiRec().pixelCopies.push_back(id); }
