// Real input for the drive tests: keys and mouse buttons go in through SendInput, which Wine queues
// as hardware input, so they take the path a person's do: to the window that has the focus, through
// the message loop, IsDialogMessage, the window procedures and the studio's key latch. Keys are held
// about as long as a person holds them.
#pragma once
#include <windows.h>

#include <string>

constexpr int kKeyHoldMs = 100;

// Press, hold and release one key.
void Input_Key(WORD vk, int holdMs = kKeyHoldMs);
// A key held with a modifier (VK_SHIFT, VK_CONTROL, VK_MENU) held around it.
void Input_Chord(WORD modifier, WORD vk);
// A key held for holdMs with auto-repeat as the keyboard gives it: after a first delay the key-down
// repeats every repeatMs. The last repeat and the release come together, as they do when the
// repeat timer fires just before the key is let go.
void Input_KeyHeldWithRepeat(WORD vk, int holdMs, int repeatMs = 33);
// A tap too quick for the loop to run in between: key-down and key-up arrive together.
void Input_QuickTap(WORD vk);
// Types text character by character (Unicode key events, each held like a key).
void Input_Type(const std::wstring& text);

// Moves the cursor to a screen point and clicks the left button there.
void Input_ClickScreen(int x, int y, int holdMs = kKeyHoldMs);
// Clicks a point of a window's client area.
void Input_ClickClient(HWND wnd, int x, int y);
// Clicks the middle of a dialog's control.
bool Input_ClickItem(HWND dlg, int id);
