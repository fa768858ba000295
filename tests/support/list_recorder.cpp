// Native side of shell/list_controls.h: the handles are ListRecCtl records of the test.
#include "support/list_recorder.h"

#include <cstdint>

#include "shell/list_controls.h"

static ListRecCtl* Ctl(void* c) { return (ListRecCtl*)c; }
// Tree items are the item's index + 1, so null stays "none".
static void* Item(int32_t i) { return (void*)(intptr_t)(i + 1); }
static int32_t Index(void* item) { return (int32_t)(intptr_t)item - 1; }

void ListCtl_Reset(void* c)
{
    if (!c) return;
    Ctl(c)->rows.clear();
    Ctl(c)->multiSelected.clear();
    Ctl(c)->selected = -1;
    ++Ctl(c)->resets;
}

void ListCtl_Add(void* c, const char* text)
{
    if (c) Ctl(c)->rows.push_back(text);
}

void ListCtl_Select(void* c, int32_t row)
{
    if (c) Ctl(c)->selected = row >= 0 && (size_t)row < Ctl(c)->rows.size() ? row : -1;
}

void ListCtl_SetSel(void* c, int32_t row)
{
    if (c) Ctl(c)->multiSelected.push_back(row);
}

int32_t ListCtl_CurSel(void* c) { return c ? Ctl(c)->selected : -1; }

void TreeCtl_Clear(void* t)
{
    if (!t) return;
    Ctl(t)->rows.clear();
    Ctl(t)->treeParents.clear();
    Ctl(t)->expanded.clear();
    Ctl(t)->selected = -1;
    ++Ctl(t)->resets;
}

void* TreeCtl_Insert(void* t, void* parent, const char* text)
{
    if (!t) return nullptr;
    Ctl(t)->rows.push_back(text);
    Ctl(t)->treeParents.push_back(parent ? Index(parent) : -1);
    return Item((int32_t)Ctl(t)->rows.size() - 1);
}

void TreeCtl_Expand(void* t, void* item)
{
    if (t && item) Ctl(t)->expanded.push_back(Index(item));
}

void TreeCtl_Select(void* t, void* item)
{
    if (t && item) Ctl(t)->selected = Index(item);
}
