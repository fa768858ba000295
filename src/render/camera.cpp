#include "render/camera.h"

#include <cmath>

#include "frame/lib.h"
#include "frame/scene.h"

using QVL::MATRIX;
using QVL::VEC3;

float g_LightPos[3] = {0.0f, 0.0f, 0.0f};
float g_LightColor[3] = {1.0f, 1.0f, 1.0f};
float g_RenderFade = 0.0f;

// The level the last Render_SetFade stored; -1 until the first call.
static float s_LastFade = -1.0f;

void Light_InitRecord()
{
    g_LightPos[0] = g_LightPos[1] = g_LightPos[2] = 0.0f;
    g_LightColor[0] = g_LightColor[1] = g_LightColor[2] = 1.0f;
    g_RenderFade = 0.0f;
}

bool Light_SetPos(float x, float y, float z)
{
    g_LightPos[0] = x;
    g_LightPos[1] = y;
    g_LightPos[2] = z;
    return true;
}

bool Light_SetColor(float r, float g, float b)
{
    g_LightColor[0] = r;
    g_LightColor[1] = g;
    g_LightColor[2] = b;
    return true;
}

void Light_SetAmbient(float r, float g, float b)
{
    g_LightAmbient[0] = r;
    g_LightAmbient[1] = g;
    g_LightAmbient[2] = b;
}

void Render_SetFade(float level)
{
    if (level == s_LastFade) return;
    s_LastFade = level;
    g_RenderFade = level;
}

void Render_ResetFadeMemory() { s_LastFade = -1.0f; }

void Render_SetCameraEye(float x, float y, float z)
{
    g_Scene.eye[0] = x;
    g_Scene.eye[1] = y;
    g_Scene.eye[2] = z;
    Render_ApplyCamera();
}

void Render_SetCameraTarget(float x, float y, float z)
{
    g_Scene.lookAt[0] = x;
    g_Scene.lookAt[1] = y;
    g_Scene.lookAt[2] = z;
    Render_ApplyCamera();
}

namespace {

VEC3 Sub(const float a[3], const float b[3]) { return VEC3{a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
VEC3 Cross(const VEC3& a, const VEC3& b)
{
    return VEC3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float Dot(const VEC3& a, const float b[3]) { return a.x * b[0] + a.y * b[1] + a.z * b[2]; }

// As the extension library normalises: a zero vector stays zero.
VEC3 Normalize(const VEC3& v)
{
    float len = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (len == 0.0f) return VEC3{0.0f, 0.0f, 0.0f};
    return VEC3{v.x / len, v.y / len, v.z / len};
}

} // namespace

void Camera_LookAtLH(MATRIX* out, const float eye[3], const float at[3], const float up[3])
{
    VEC3 upv{up[0], up[1], up[2]};
    VEC3 z = Normalize(Sub(at, eye));
    VEC3 x = Normalize(Cross(upv, z));
    VEC3 y = Cross(z, x);
    MATRIX& m = *out;
    m.m[0][0] = x.x; m.m[0][1] = y.x; m.m[0][2] = z.x; m.m[0][3] = 0.0f;
    m.m[1][0] = x.y; m.m[1][1] = y.y; m.m[1][2] = z.y; m.m[1][3] = 0.0f;
    m.m[2][0] = x.z; m.m[2][1] = y.z; m.m[2][2] = z.z; m.m[2][3] = 0.0f;
    m.m[3][0] = -Dot(x, eye); m.m[3][1] = -Dot(y, eye); m.m[3][2] = -Dot(z, eye); m.m[3][3] = 1.0f;
}

void Camera_PerspectiveFovLH(MATRIX* out, float fovY, float aspect, float zNear, float zFar)
{
    float yScale = (float)(1.0 / std::tan((double)(fovY * 0.5f)));
    float xScale = yScale / aspect;
    MATRIX& m = *out;
    for (auto& row : m.m)
        for (float& v : row) v = 0.0f;
    m.m[0][0] = xScale;
    m.m[1][1] = yScale;
    m.m[2][2] = zFar / (zFar - zNear);
    m.m[2][3] = 1.0f;
    m.m[3][2] = -zNear * zFar / (zFar - zNear);
}

VEC3 Camera_ProjectPoint(const MATRIX& wvp, float viewportWidth, float viewportHeight, float x, float y, float z)
{
    const float hw = viewportWidth * 0.5f, hh = viewportHeight * 0.5f;
    float cx = x * wvp.m[0][0] + y * wvp.m[1][0] + z * wvp.m[2][0] + wvp.m[3][0];
    float cy = x * wvp.m[0][1] + y * wvp.m[1][1] + z * wvp.m[2][1] + wvp.m[3][1];
    float cz = x * wvp.m[0][2] + y * wvp.m[1][2] + z * wvp.m[2][2] + wvp.m[3][2];
    float cw = x * wvp.m[0][3] + y * wvp.m[1][3] + z * wvp.m[2][3] + wvp.m[3][3];
    return VEC3{(cx / cw + 1.0f) * hw, (1.0f - cy / cw) * hh, cz};
}

void Toon_UpVector(const float light[3], float up[3])
{
    if (light[0] == 0.0f && light[2] == 0.0f) {
        // Straight above or below: (0, 1, 0) would be parallel to the view direction.
        up[0] = -light[1];
        up[1] = 0.0f;
        up[2] = 0.0f;
    } else {
        up[0] = 0.0f;
        up[1] = 1.0f;
        up[2] = 0.0f;
    }
}

void Toon_LookupMatrix(MATRIX* out, const float light[3])
{
    const float origin[3] = {0.0f, 0.0f, 0.0f};
    float up[3];
    Toon_UpVector(light, up);
    MATRIX view, rot, scale, move;
    Camera_LookAtLH(&view, origin, light, up);
    // The rotation of the extension library takes radians as they are (no degree conversion).
    const float a = -1.570796f;
    const float c = (float)std::cos((double)a), s = (float)std::sin((double)a);
    Math_MatrixIdentity(&rot);
    rot.m[1][1] = c;
    rot.m[1][2] = s;
    rot.m[2][1] = -s;
    rot.m[2][2] = c;
    Math_MatrixScaling(&scale, 0.49f, -0.49f, 1.0f);
    Math_MatrixTranslation(&move, 0.5f, 0.5f, 0.0f);
    Math_MatrixMultiply(out, view, rot);
    Math_MatrixMultiply(out, *out, scale);
    Math_MatrixMultiply(out, *out, move);
}
