// The library's animation tick reaches the effects, particles, 2D models and the movie through
// g_AnimHooks; the shell fills it at start-up because the frame layer sits below all of them.
#pragma once

void Shell_RegisterAnimHooks();
