#include "support/render_native.h"

#include "frame/scene.h"
#include "render/camera.h"

namespace {

int s_Width = 1280, s_Height = 720;
int s_Applies = 0;
QVL::MATRIX s_View = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};

} // namespace

void RenderNative_SetViewport(int width, int height)
{
    s_Width = width;
    s_Height = height;
}

const QVL::MATRIX& RenderNative_View() { return s_View; }
int RenderNative_ApplyCount() { return s_Applies; }

void Render_ApplyCamera()
{
    Camera_LookAtLH(&s_View, g_Scene.eye, g_Scene.lookAt, g_Scene.up);
    ++s_Applies;
}

QVL::VEC3* Render_ProjectToScreen(QVL::VEC3* out, float x, float y, float z)
{
    QVL::MATRIX proj, m;
    Camera_PerspectiveFovLH(&proj, 0.7853982f, (float)s_Width / (float)s_Height, 0.1f, 65000.0f);
    Math_MatrixMultiply(&m, s_View, proj);
    *out = Camera_ProjectPoint(m, (float)s_Width, (float)s_Height, x, y, z);
    return out;
}
