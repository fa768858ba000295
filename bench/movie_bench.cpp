// A movie of 256 picture tracks of 16 keys: one frame applied (key search and curves per track)
// and the QVV written and read, each beside the floor of a plain copy of the same key records,
// measured in the same run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "frame/bytes.h"
#include "scene/movie.h"

using namespace QVL;

namespace {

void FullMovie()
{
    g_MovieData.followNext = 0;
    Movie_ClearTracks();
    MOVIE_PLAY& m = g_MovieData;
    m.length = 18000;
    m.trackCount = kMovieMaxTracks;
    for (int32_t i = 0; i < kMovieMaxTracks; ++i) {
        MOVIE_TRACK* t = Movie_CreatePlainTrack(i);
        t->kind = MOVIE_PICTURE;
        Movie_ResetKeys(t);
        t->keyCount = kMovieMaxKeys;
        for (int32_t k = 0; k < kMovieMaxKeys; ++k) {
            t->keys[k] = t->keys[0];
            t->keys[k].frame = k * 60;
            t->keys[k].position[0] = (float)(k * 10 + i);
        }
    }
}

void BM_MovieApplyFrame(benchmark::State& state)
{
    FullMovie();
    int32_t f = 0;
    for (auto _ : state) {
        g_MovieData.frame = f;
        Movie_ApplyFrame();
        for (int32_t i = 0; i < kMovieMaxTracks; ++i)
            Movie_InterpolateTrack(i, g_MovieData.tracks[i]->currentKey, g_MovieData.tracks[i]->fraction);
        f = (f + 7) % 960;
        benchmark::DoNotOptimize(g_MovieData.tracks[5]->livePosition[0]);
    }
    Movie_ClearTracks();
}
BENCHMARK(BM_MovieApplyFrame);

// The floor: every key record of the movie copied once.
void BM_MovieKeysCopy(benchmark::State& state)
{
    FullMovie();
    std::vector<MOVIE_KEY> out((size_t)kMovieMaxTracks * kMovieMaxKeys);
    for (auto _ : state) {
        for (int32_t i = 0; i < kMovieMaxTracks; ++i)
            std::memcpy(&out[(size_t)i * kMovieMaxKeys], g_MovieData.tracks[i]->keys, sizeof(MOVIE_KEY) * kMovieMaxKeys);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    Movie_ClearTracks();
}
BENCHMARK(BM_MovieKeysCopy);

void BM_QvvWriteRead(benchmark::State& state)
{
    FullMovie();
    size_t bytes = 0;
    for (auto _ : state) {
        const std::vector<uint8_t> file = Movie_Write();
        MOVIE_FILE parsed;
        const bool ok = Movie_ParseFile(file.data(), file.size(), "bench.QVV", parsed).Ok();
        benchmark::DoNotOptimize(ok);
        bytes = file.size();
    }
    state.counters["bytes"] = (double)bytes;
    Movie_ClearTracks();
}
BENCHMARK(BM_QvvWriteRead)->Unit(benchmark::kMicrosecond);

} // namespace
