// Loaded into the studio through a window hook, so a dialog's texts are measured inside the process
// that owns its fonts: a font handle from WM_GETFONT means nothing in another process.
// The drive test sends the registered message to a dialog; the hook measures every child and the
// caption and writes one line per item into the shared section the test made.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

const wchar_t kSection[] = L"QvDialogProbe";
const DWORD kSectionBytes = 256 * 1024;

// The text a control draws: one '&' marks a mnemonic and is not drawn, "&&" draws one.
std::wstring Drawn(const std::wstring& text)
{
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

std::wstring Text(HWND wnd)
{
    wchar_t buf[1024];
    int n = GetWindowTextW(wnd, buf, 1024);
    return std::wstring(buf, n > 0 ? n : 0);
}

// Fields are tab-separated; a text never holds a tab or a line break here, but is cleaned anyway.
std::wstring Clean(std::wstring s)
{
    for (wchar_t& c : s)
        if (c == L'\t' || c == L'\n' || c == L'\r') c = L' ';
    return s;
}

struct Measure {
    SIZE extent = {};      // the whole text on one line
    int wrappedW = 0;      // the text broken into lines at the client width, as a static draws it
    int wrappedH = 0;
    int zeroHalf = 0;      // half the width of '0': a check box's gap before its text
};

Measure MeasureIn(HWND wnd, HFONT font, const std::wstring& text, int width)
{
    Measure m;
    HDC dc = GetDC(wnd);
    if (!dc) return m;
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    GetTextExtentPoint32W(dc, text.c_str(), (int)text.size(), &m.extent);
    RECT r = {0, 0, width, 0};
    DrawTextW(dc, text.c_str(), (int)text.size(), &r, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    m.wrappedW = r.right - r.left;
    m.wrappedH = r.bottom - r.top;
    INT zero = 0;
    GetCharWidth32W(dc, L'0', L'0', &zero);
    m.zeroHalf = zero / 2;
    if (old) SelectObject(dc, old);
    ReleaseDC(wnd, dc);
    return m;
}

struct Writer {
    wchar_t* at;
    wchar_t* end;
    int checkBox;  // the check box glyph's width, as the button draws it at this resolution
    void Line(const std::wstring& s)
    {
        size_t n = s.size();
        if (at + n + 1 >= end) return;
        std::wmemcpy(at, s.c_str(), n);
        at += n;
        *at = 0;
    }
};

BOOL CALLBACK Child(HWND wnd, LPARAM p)
{
    Writer* w = (Writer*)p;
    if (!IsWindowVisible(wnd)) return TRUE;
    wchar_t cls[64] = L"";
    GetClassNameW(wnd, cls, 64);
    RECT c = {};
    GetClientRect(wnd, &c);
    HFONT font = (HFONT)SendMessageW(wnd, WM_GETFONT, 0, 0);
    const std::wstring text = Drawn(Text(wnd));
    Measure m = MeasureIn(wnd, font, text, c.right - c.left);
    wchar_t line[256];
    std::swprintf(line, 256, L"C\t%d\t%ls\t%lx\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t", GetDlgCtrlID(wnd), cls,
                  (unsigned long)GetWindowLongW(wnd, GWL_STYLE), font != nullptr ? 1 : 0, (int)m.extent.cx,
                  (int)m.extent.cy, m.wrappedW, m.wrappedH, m.zeroHalf, (int)(c.right - c.left),
                  (int)(c.bottom - c.top), w->checkBox);
    w->Line(line + Clean(text) + L"\n");
    return TRUE;
}

void Probe(HWND dlg)
{
    HANDLE section = OpenFileMappingW(FILE_MAP_WRITE, FALSE, kSection);
    if (!section) return;
    wchar_t* view = (wchar_t*)MapViewOfFile(section, FILE_MAP_WRITE, 0, 0, kSectionBytes);
    if (view) {
        HDC screen = GetDC(nullptr);
        const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
        if (screen) ReleaseDC(nullptr, screen);
        Writer w = {view, view + kSectionBytes / sizeof(wchar_t), 12 * dpi / 96 + 1};
        *view = 0;
        // The caption in the caption font of the non-client metrics, against the window's width.
        NONCLIENTMETRICSW ncm = {};
        ncm.cbSize = sizeof ncm;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
        HFONT captionFont = CreateFontIndirectW(&ncm.lfCaptionFont);
        const std::wstring caption = Text(dlg);
        Measure m = MeasureIn(dlg, captionFont, caption, 10000);
        DeleteObject(captionFont);
        RECT r = {};
        GetWindowRect(dlg, &r);
        wchar_t line[256];
        std::swprintf(line, 256, L"T\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%lx\t", (int)m.extent.cx, (int)m.extent.cy,
                      (int)(r.right - r.left), (int)ncm.iCaptionWidth, (int)ncm.iCaptionHeight,
                      GetSystemMetrics((GetWindowLongW(dlg, GWL_STYLE) & WS_THICKFRAME) ? SM_CXSIZEFRAME
                                                                                          : SM_CXFIXEDFRAME),
                      GetSystemMetrics(SM_CXSMICON), (unsigned long)GetWindowLongW(dlg, GWL_STYLE));
        w.Line(line + Clean(caption) + L"\n");
        EnumChildWindows(dlg, Child, (LPARAM)&w);
        UnmapViewOfFile(view);
    }
    CloseHandle(section);
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK DialogProbe_Hook(int code, WPARAM wParam, LPARAM lParam)
{
    static const UINT probe = RegisterWindowMessageW(L"QvDialogProbe");
    const CWPSTRUCT* cwp = (const CWPSTRUCT*)lParam;
    if (code == HC_ACTION && cwp && cwp->message == probe) Probe(cwp->hwnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
