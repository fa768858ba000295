#include "wine/support/input.h"

#include <vector>

static INPUT KeyInput(WORD vk, bool up)
{
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = (WORD)MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    // The navigation keys are extended keys on a real keyboard.
    switch (vk) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
    case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT: case VK_INSERT: case VK_DELETE:
        in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
        break;
    default: break;
    }
    return in;
}

static void Send(std::vector<INPUT> inputs) { SendInput((UINT)inputs.size(), inputs.data(), sizeof(INPUT)); }

void Input_Key(WORD vk, int holdMs)
{
    Send({KeyInput(vk, false)});
    Sleep(holdMs);
    Send({KeyInput(vk, true)});
    Sleep(50);
}

void Input_Chord(WORD modifier, WORD vk)
{
    Send({KeyInput(modifier, false)});
    Sleep(50);
    Input_Key(vk);
    Send({KeyInput(modifier, true)});
    Sleep(50);
}

void Input_KeyHeldWithRepeat(WORD vk, int holdMs, int repeatMs)
{
    const int firstDelay = 500;
    DWORD start = GetTickCount();
    Send({KeyInput(vk, false)});
    Sleep(firstDelay);
    while ((int)(GetTickCount() - start) + repeatMs < holdMs) {
        Send({KeyInput(vk, false)});
        Sleep(repeatMs);
    }
    Send({KeyInput(vk, false), KeyInput(vk, true)});
    Sleep(50);
}

void Input_QuickTap(WORD vk)
{
    Send({KeyInput(vk, false), KeyInput(vk, true)});
    Sleep(50);
}

void Input_Type(const std::wstring& text)
{
    for (wchar_t c : text) {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wScan = c;
        in.ki.dwFlags = KEYEVENTF_UNICODE;
        Send({in});
        Sleep(kKeyHoldMs);
        in.ki.dwFlags |= KEYEVENTF_KEYUP;
        Send({in});
        Sleep(30);
    }
}

static INPUT MouseInput(DWORD flags, int x, int y)
{
    // Absolute positions are in 1/65536 of the primary screen.
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = (LONG)(((long long)x * 65536 + w / 2) / w);
    in.mi.dy = (LONG)(((long long)y * 65536 + h / 2) / h);
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    return in;
}

void Input_ClickScreen(int x, int y, int holdMs)
{
    Send({MouseInput(MOUSEEVENTF_MOVE, x, y)});
    Sleep(100);
    Send({MouseInput(MOUSEEVENTF_LEFTDOWN, x, y)});
    Sleep(holdMs);
    Send({MouseInput(MOUSEEVENTF_LEFTUP, x, y)});
    Sleep(100);
}

void Input_ClickClient(HWND wnd, int x, int y)
{
    POINT p = {x, y};
    ClientToScreen(wnd, &p);
    Input_ClickScreen(p.x, p.y);
}

bool Input_ClickItem(HWND dlg, int id)
{
    HWND item = GetDlgItem(dlg, id);
    RECT r;
    if (!item || !GetWindowRect(item, &r)) return false;
    Input_ClickScreen((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    return true;
}
