// Stand-ins for the motion screen's refresh flags until that screen lands.
#include "edit3d/motion_pose.h"

int32_t g_Motion3DDlgDirty = 0;
int32_t g_MotionKeyPanelDirty = 0;
