// The renderer's view of the world: the look-at camera of g_Scene, the projection of a world point
// to window pixels, the single light, the screen fade level and the toon lookup transform. The
// arithmetic lives here, platform-free; render/win32/camera_d3d.cpp hands the results to the device.
#pragma once
#include <cstdint>

#include "frame/math3d.h"

// The light record (in this order), then the ambient term (g_LightAmbient, frame/lib.h).
extern float g_LightPos[3];     // 0, 0, 0: a position for the fixed light, the direction towards
                                // the light for the toon lookup and the stencil shadows
extern float g_LightColor[3];   // 1, 1, 1 (0..1)
extern float g_RenderFade;      // 0 black .. 1 clear; the 2D layer darkens by 255 - level x 255

// Position (0, 0, 0), colour (1, 1, 1), fade level 0: the light record as the program starts.
void Light_InitRecord();
bool Light_SetPos(float x, float y, float z);
bool Light_SetColor(float r, float g, float b);
void Light_SetAmbient(float r, float g, float b);
// Stores the level only when it differs from the last one given (the first call always stores,
// unless it gives -1, the value the last level starts at).
void Render_SetFade(float level);
// Forgets the last level given, as at program start (tests).
void Render_ResetFadeMemory();

// The device's matrices, computed as the Direct3D extension library does.
void Camera_LookAtLH(QVL::MATRIX* out, const float eye[3], const float at[3], const float up[3]);
void Camera_PerspectiveFovLH(QVL::MATRIX* out, float fovY, float aspect, float zNear, float zFar);

// A world point through worldViewProj into a viewport of the given size: window x, y in pixels
// (the viewport's offsets are not added) and the clip-space z before the division by w. A point in
// the plane of the eye (w = 0) is not guarded against; callers judge such points by z.
QVL::VEC3 Camera_ProjectPoint(const QVL::MATRIX& worldViewProj, float viewportWidth, float viewportHeight,
                              float x, float y, float z);

// The toon lookup: the up vector of the look-at towards the light (the light straight above or
// below gets (-L.y, 0, 0)), and the texture-stage-1 transform that maps a camera-space normal to
// u = 0.5 + 0.49 n.x, v = 0.5 - 0.49 n.z in the frame looking at the light.
void Toon_UpVector(const float light[3], float up[3]);
void Toon_LookupMatrix(QVL::MATRIX* out, const float light[3]);

// Store the eye or the look-at point of g_Scene, then apply the camera.
void Render_SetCameraEye(float x, float y, float z);
void Render_SetCameraTarget(float x, float y, float z);

// Device side (render/win32/camera_d3d.cpp; native programs: tests/support/render_native.cpp).
// VIEW = the look-at matrix of g_Scene's camera.
void Render_ApplyCamera();
// Sets WORLD to the identity (a lasting side effect), then projects with WORLD x VIEW x PROJECTION
// of the device and its viewport size. Returns out.
QVL::VEC3* Render_ProjectToScreen(QVL::VEC3* out, float x, float y, float z);
void Light_Enable(uint8_t on);
void Render_SetupToonLookup();
