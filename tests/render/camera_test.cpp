// Camera, projection, light record, fade and the toon lookup.
#include <gtest/gtest.h>

#include <cmath>

#include "frame/lib.h"
#include "render/camera.h"

using QVL::MATRIX;
using QVL::VEC3;

namespace {

const float kEye[3] = {0.0f, 0.0f, -15.0f};
const float kAt[3] = {0.0f, 0.0f, 0.0f};
const float kUp[3] = {0.0f, 1.0f, 0.0f};

// View x projection of the default camera and the frame's projection on a w x h viewport.
MATRIX DefaultViewProj(float w, float h)
{
    MATRIX view, proj, m;
    Camera_LookAtLH(&view, kEye, kAt, kUp);
    Camera_PerspectiveFovLH(&proj, 0.7853982f, w / h, 0.1f, 65000.0f);
    Math_MatrixMultiply(&m, view, proj);
    return m;
}

VEC3 Apply(const MATRIX& m, float x, float y, float z)
{
    VEC3 p;
    Math_TransformPoint(&p, x, y, z, m);
    return p;
}

TEST(Camera, LookAtMovesTheEyeToTheOriginLookingAlongZ)
{
    MATRIX view;
    const float eye[3] = {3.0f, 4.0f, -10.0f};
    const float at[3] = {3.0f, 4.0f, 0.0f};
    Camera_LookAtLH(&view, eye, at, kUp);
    VEC3 e = Apply(view, 3.0f, 4.0f, -10.0f);
    EXPECT_NEAR(0.0f, e.x, 1e-6f);
    EXPECT_NEAR(0.0f, e.y, 1e-6f);
    EXPECT_NEAR(0.0f, e.z, 1e-6f);
    // Left-handed: the look-at point is 10 units ahead, +x stays to the right, +y up.
    VEC3 t = Apply(view, 4.0f, 6.0f, 0.0f);
    EXPECT_NEAR(1.0f, t.x, 1e-6f);
    EXPECT_NEAR(2.0f, t.y, 1e-6f);
    EXPECT_NEAR(10.0f, t.z, 1e-6f);
}

TEST(Camera, DefaultCameraProjectsTheOriginToTheViewportCentre)
{
    VEC3 p = Camera_ProjectPoint(DefaultViewProj(640, 480), 640, 480, 0, 0, 0);
    EXPECT_FLOAT_EQ(320.0f, p.x);
    EXPECT_FLOAT_EQ(240.0f, p.y);
    // z is the clip-space z before the division: the distance 15 through the far/near ratio.
    const float zf = 65000.0f, zn = 0.1f;
    EXPECT_NEAR(15.0f * zf / (zf - zn) - zn * zf / (zf - zn), p.z, 1e-3f);
}

TEST(Camera, ProjectionPlacesPointsByTheFieldOfView)
{
    // With a 45 degree field of view a point at height tan(22.5) * 15 above the target lies at the
    // top edge; x is scaled by the aspect, and screen y grows downwards.
    const float edge = (float)std::tan(0.7853982 / 2) * 15.0f;
    MATRIX m = DefaultViewProj(640, 480);
    VEC3 top = Camera_ProjectPoint(m, 640, 480, 0, edge, 0);
    EXPECT_NEAR(0.0f, top.y, 1e-3f);
    VEC3 right = Camera_ProjectPoint(m, 640, 480, edge * 640.0f / 480.0f, 0, 0);
    EXPECT_NEAR(640.0f, right.x, 1e-3f);
    VEC3 below = Camera_ProjectPoint(m, 640, 480, 0, -edge / 2, 0);
    EXPECT_NEAR(360.0f, below.y, 1e-3f);
    // A point behind the eye comes back with a negative clip z.
    EXPECT_LT(Camera_ProjectPoint(m, 640, 480, 0, 0, -20).z, 0.0f);
}

TEST(Light, SettersAndTheInitialRecord)
{
    Light_InitRecord();
    EXPECT_EQ(0.0f, g_LightPos[1]);
    EXPECT_EQ(1.0f, g_LightColor[2]);
    EXPECT_EQ(0.0f, g_RenderFade);
    EXPECT_TRUE(Light_SetPos(1, 2, 3));
    EXPECT_TRUE(Light_SetColor(0.5f, 0.25f, 0.125f));
    Light_SetAmbient(0.2f, 0.3f, 0.4f);
    EXPECT_EQ(3.0f, g_LightPos[2]);
    EXPECT_EQ(0.25f, g_LightColor[1]);
    EXPECT_EQ(0.4f, g_LightAmbient[2]);
    Light_InitRecord();
}

TEST(Fade, StoresOnlyChangedLevels)
{
    struct Step {
        float given;
        float stored;
    };
    // The last level starts at -1: a first call of -1 stores nothing.
    const Step steps[] = {{-1.0f, 0.0f}, {0.5f, 0.5f}, {0.5f, 0.5f}, {1.0f, 1.0f}, {0.0f, 0.0f}};
    Render_ResetFadeMemory();
    g_RenderFade = 0.0f;
    for (const Step& s : steps) {
        Render_SetFade(s.given);
        EXPECT_EQ(s.stored, g_RenderFade) << "after " << s.given;
    }
    // The same level twice stores once: a change made behind its back survives the second call.
    Render_SetFade(0.75f);
    g_RenderFade = 0.1f;
    Render_SetFade(0.75f);
    EXPECT_EQ(0.1f, g_RenderFade);
    Render_ResetFadeMemory();
    g_RenderFade = 0.0f;
}

TEST(Toon, UpVectorAvoidsALightStraightAboveOrBelow)
{
    struct Case {
        float light[3];
        float up[3];
    };
    const Case cases[] = {
        {{0, 5, 0}, {-5, 0, 0}},
        {{0, -2, 0}, {2, 0, 0}},
        {{1, 5, 0}, {0, 1, 0}},
        {{0, 5, 0.5f}, {0, 1, 0}},
        {{-125, 125, -500}, {0, 1, 0}},
    };
    for (const Case& c : cases) {
        float up[3];
        Toon_UpVector(c.light, up);
        for (int k = 0; k < 3; ++k) EXPECT_EQ(c.up[k], up[k]) << c.light[0] << "," << c.light[1] << "," << c.light[2];
    }
}

TEST(Toon, LookupReadsTheRampFromLitToDark)
{
    // Normals in the look-at frame: towards the light v = 0.01, away 0.99, sideways u moves.
    const float lights[][3] = {{-125, 125, -500}, {0, 5, 0}, {3, -1, 2}};
    for (const auto& L : lights) {
        MATRIX t;
        Toon_LookupMatrix(&t, L);
        float len = std::sqrt(L[0] * L[0] + L[1] * L[1] + L[2] * L[2]);
        VEC3 toward = Apply(t, L[0] / len, L[1] / len, L[2] / len);
        EXPECT_NEAR(0.5f, toward.x, 1e-5f);
        EXPECT_NEAR(0.01f, toward.y, 1e-5f);
        VEC3 away = Apply(t, -L[0] / len, -L[1] / len, -L[2] / len);
        EXPECT_NEAR(0.99f, away.y, 1e-5f);
    }
    MATRIX t;
    const float L[3] = {0, 0, 10};   // looking along +z with up (0, 1, 0): +x is the frame's x
    Toon_LookupMatrix(&t, L);
    VEC3 side = Apply(t, 1, 0, 0);
    EXPECT_NEAR(0.99f, side.x, 1e-5f);
    EXPECT_NEAR(0.5f, side.y, 1e-5f);
}

} // namespace

#include "frame/scene.h"
#include "support/render_native.h"

namespace {

TEST(Camera, SettersStoreTheCameraAndApplyIt)
{
    const int before = RenderNative_ApplyCount();
    Render_SetCameraEye(0, 5, -10);
    Render_SetCameraTarget(0, 5, 0);
    EXPECT_EQ(before + 2, RenderNative_ApplyCount());
    EXPECT_EQ(5.0f, g_Scene.eye[1]);
    EXPECT_EQ(0.0f, g_Scene.lookAt[2]);
    RenderNative_SetViewport(640, 480);
    QVL::VEC3 p;
    Render_ProjectToScreen(&p, 0, 5, 0);
    EXPECT_FLOAT_EQ(320.0f, p.x);
    EXPECT_FLOAT_EQ(240.0f, p.y);
    RenderNative_SetViewport(1280, 720);
    Render_SetCameraEye(0, 0, -15);
    Render_SetCameraTarget(0, 0, 0);
}

} // namespace
