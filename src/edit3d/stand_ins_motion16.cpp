// Stand-in for the posing code's IK step until it lands: the frame calls it with the IK tool in a
// Side view.
#include "edit3d/motion_screen.h"

void Motion3D_IkStep() {}
