// Stands in for the 2D bone screen's joint refresh until it lands.
#include "edit2d/poly2d_screen.h"

void Bone2D_UpdateJoints() {}
