// Native side of the shell's platform seam (shell/ui_services.h) and of the shell's own windows:
// every call is recorded as a line in UiRec().calls.
#include "support/ui_recorder.h"

#include <cstdint>
#include <cstdarg>
#include <cstdio>

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

void UiRec_Note(const char* fmt, ...)
{
    char buf[512];
    va_list a;
    va_start(a, fmt);
    std::vsnprintf(buf, sizeof buf, fmt, a);
    va_end(a);
    UiRec().calls.push_back(buf);
}

void* Wnd_Main() { return UiRec_MainWindow(); }
void* Wnd_Active() { return UiRec().active; }
void Wnd_Activate(void* w)
{
    UiRec().active = w;
    UiRec_Note("Activate %d", Id(w));
}
void* Menu_Set(const char* name)
{
    UiRec_Note("MenuSet %s", name);
    return NewHandle();
}
void Menu_Destroy(void* m) { UiRec_Note("MenuDestroy %d", Id(m)); }
void* Wnd_CreateView()
{
    void* h = NewHandle();
    UiRec_Note("ViewCreate %d", Id(h));
    return h;
}
void Wnd_Destroy(void* w) { UiRec_Note("Destroy %d", Id(w)); }
void Wnd_Place(void* w, int l, int t, int wd, int ht) { UiRec_Note("Place %d %d %d %d %d", Id(w), l, t, wd, ht); }
void Wnd_SetText(void* w, const char* text) { UiRec_Note("Text %d %s", Id(w), text); }

// The shell's own windows, recorded.
void Main_ConfirmExit() { ++UiRec().confirmExits; }
void Options_Open() { ++UiRec().optionsOpened; }
void MainWnd_ApplyRect() { UiRec_Note("ApplyRect"); }
