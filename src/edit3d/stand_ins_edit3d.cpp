// Stand-in for the group dialog's list, which is not built yet. It goes when that piece lands.
#include "edit3d/model3d_hooks.h"

void Group3D_FillList() {}
