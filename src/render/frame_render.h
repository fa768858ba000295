// One frame of the renderer: culling, the draw lists, the fixed light and material, the clear, the
// viewport, the fixed-function 3D scene with the editor's second draw pass, then the 2D layer (the
// editor's first draw pass, the queued texts and the fade). The frame tick calls Render_Frame and
// presents afterwards.
#pragma once
#include <cstdint>

#include "frame/math3d.h"
#include "render/renderer.h"

// The screen size of the current mode (640 x 480 at start; the modes' enter functions set it).
extern int32_t g_ModeScreenSize[2];

void Render_Frame();
void Render_BuildDrawLists();
void Render_ExecuteDrawLists();
void Render_DrawObj3All();
void Render_Draw2DLayer();
void Render_ReleaseDeviceResources();

// The scene objects as the frame sees them.
struct RENDER_OBJECT {
    bool active, visible, cullTest, culled;
    int32_t model;
    float position[3];
};
int32_t Render_ObjectCount();
// False when there is no object of that ID.
bool Render_GetObject(int32_t id, RENDER_OBJECT* out);
void Render_SetObjectCulled(int32_t id, bool culled);
// The object's world matrix, null when there is none.
const QVL::MATRIX* Render_ObjectWorld(int32_t id);
// The picture of the model's texture entry has an alpha channel (its file's format is A8R8G8B8).
bool Render_TextureHasAlpha(int32_t model, int32_t texture);
// The type of the view being rendered (0 main, 1 Front, 2 Top, 3 Side, 4 Pers).
int32_t Render_PickedViewType();

// One draw-list entry: its material drawn by the model drawing (which reads the renderer's switches
// and adds to its triangle counter); the caller has set WORLD to the object's world matrix.
void Render_DrawMaterial(QVL::DRAW_ENTRY entry);
// What the frame calls of the model drawing.
void Render_DrawMaterialOf(int32_t object, int32_t model, int32_t material);
void Render_DrawOutlines();

// What the frame pipeline draws of the layers above the renderer: the effects and particles, and
// the current mode's draw passes. The shell application defines g_RenderDrawers
// (shell/wiring.cpp); a null entry draws nothing.
struct RENDER_DRAWERS {
    void (*effects3D)();     // the 3D scene's step over the effect instances
    void (*effects2D)();     // the effects' image and 2D-object parts
    void (*particles)();     // every particle list, after the effects
    void (*modeDraw)();      // the mode's 2D pass, after the particles
    void (*modeOverlay)();   // the mode's pass over the 3D scene
    // The movie's picture tracks after the 2D objects, and its subtitles after the queued texts;
    // both get the back buffer's size.
    void (*moviePictures)(int32_t width, int32_t height);
    void (*movieTexts)(int32_t width, int32_t height);
};
extern RENDER_DRAWERS g_RenderDrawers;

// What the renderer reads of the shell's views (defined in shell/wiring.cpp); null entries read as a
// plain view without pan.
struct RENDER_VIEWS {
    int32_t (*pickedViewType)();               // the type of the view being rendered
    void (*mainViewPan)(float* x, float* y);   // the pan of the current screen's main view
};
extern RENDER_VIEWS g_RenderViews;
