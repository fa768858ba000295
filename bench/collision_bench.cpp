// One frame of collision resolution: 256 objects against 100 box walls, 100 circle walls and a
// 65,000-face collision model, beside a loop that only reads each object's position and each face
// once.
#include <benchmark/benchmark.h>

#include <random>

#include "model/model_table.h"
#include "model/scene_object.h"
#include "scene/coli.h"
#include "scene/collision.h"
#include "support/model_builders.h"

using namespace QVL;

namespace {

// A 260 x 250 quad ground (65,000 faces) over the whole area, walls scattered over it, and 256
// characters on it, every fourth one pushed along the ground so the model's walls are tried too.
struct Scene {
    MODEL3* ground;
    std::vector<float> start;  // x, y, z of each object
};

Scene& Build()
{
    static Scene scene = [] {
        Scene s;
        Coli_Reset();
        COLI& c = *g_Coli;
        c.active = 1;
        const float area[6] = {0, -5, 0, 260, 40, 250};
        std::copy(area, area + 6, c.area);
        std::mt19937 rng(21);
        std::uniform_real_distribution<float> ux(0, 260), uz(0, 250), angle(0, 360), size(1, 4);
        for (int i = 0; i < kColiWalls; ++i) {
            c.boxes[i] = COLI_BOX{1, ux(rng), 0, uz(rng), angle(rng), size(rng)};
            c.circles[i] = COLI_CIRCLE{1, ux(rng), 0, uz(rng), size(rng)};
        }
        c.boxCount = c.circleCount = kColiWalls;
        const int32_t id = Model3_Create();
        s.ground = Model3_GetById(id);
        s.ground->positions.clear();
        s.ground->faces.clear();
        s.ground->positionCount = s.ground->faceCount = 0;
        MakeQuadGrid(s.ground, 260, 250);
        s.ground->normals.assign(1, XYZ{0, 1, 0});
        c.modelId = id;
        const int32_t body = Model3_Create();
        Model3_GetById(body)->radius = 1.0f;
        for (int i = 0; i < kObjectMax; ++i) {
            OBJECT* o = Object_GetById(ObjectCreate());
            o->modelId = body;
            o->collisionEnabled = 1;
            s.start.push_back(ux(rng));
            s.start.push_back(2.0f);
            s.start.push_back(uz(rng));
        }
        return s;
    }();
    return scene;
}

void Place(const Scene& s)
{
    for (int i = 0; i < kObjectMax; ++i) {
        OBJECT* o = g_ObjectTable[(size_t)i];
        std::copy(&s.start[(size_t)i * 3], &s.start[(size_t)i * 3] + 3, o->position);
        o->collisionState = i % 4 == 0;
        o->collisionVelocity[0] = o->collisionState ? 0.3f : 0.0f;
        o->collisionVelocity[1] = 0.0f;
        o->collisionVelocity[2] = o->collisionState ? -0.2f : 0.0f;
    }
}

void BM_ReadPositionsAndFaces(benchmark::State& state)
{
    const Scene& s = Build();
    for (auto _ : state) {
        float sum = 0;
        for (const OBJECT* o : g_ObjectTable) sum += o->position[0] + o->position[1] + o->position[2];
        for (const FACE3& f : s.ground->faces) {
            const XYZ& p = s.ground->positions[(size_t)f.corners[0][CORNER_POS]];
            sum += p.x + p.z + (float)f.cornerCount;
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_ReadPositionsAndFaces);

void BM_ResolveOneFrame(benchmark::State& state)
{
    const Scene& s = Build();
    for (auto _ : state) {
        state.PauseTiming();
        Place(s);
        state.ResumeTiming();
        Coli_ResolveObjects();
        benchmark::DoNotOptimize(g_ObjectTable[0]->position[1]);
    }
}
BENCHMARK(BM_ResolveOneFrame);

} // namespace
