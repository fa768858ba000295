// Entry points the shell calls whose screens are built elsewhere; they do nothing until theirs land.
#include "edit2d/model2d_hooks.h"

void Obj2D_RefreshLists() {}
