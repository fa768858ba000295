// The list boxes, combo boxes and tree views the hierarchy fillers write to, as opaque handles. The
// studio works on the real controls (shell/win32/list_controls.cpp); native programs link
// tests/support/list_recorder.cpp. Rows are int32 with -1 for none, never a 16-bit value.
#pragma once
#include <cstdint>

// List box or combo box alike.
void ListCtl_Reset(void* ctl);
void ListCtl_Add(void* ctl, const char* text);
void ListCtl_Select(void* ctl, int32_t row);    // the single selection; -1 clears it
void ListCtl_SetSel(void* ctl, int32_t row);    // selects a row of a multiple-selection list box
int32_t ListCtl_CurSel(void* ctl);              // -1 when none is selected

void TreeCtl_Clear(void* tree);
// Appends an item last under parentItem (null: the root level); returns its handle.
void* TreeCtl_Insert(void* tree, void* parentItem, const char* text);
void TreeCtl_Expand(void* tree, void* item);
// Makes the item visible and the caret.
void TreeCtl_Select(void* tree, void* item);
