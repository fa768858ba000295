// Seeds for fuzz_qvv: a new movie and one with a track of every kind, written by the movie's writer.
#include "frame/text.h"
#include "scene/movie.h"
#include "seedgen.h"

using namespace QVL;

namespace {

void WriteQvvSeeds(SeedSink& sink)
{
    g_MovieData.followNext = 0;
    Movie_New();
    sink.Write("new.qvv", Movie_Write());
    MOVIE_PLAY& m = g_MovieData;
    m.trackCount = MOVIE_KIND_COUNT;
    for (int32_t kind = 0; kind < MOVIE_KIND_COUNT; ++kind) {
        MOVIE_TRACK* t = Movie_CreatePlainTrack(kind);
        t->kind = kind;
        Movie_ResetKeys(t);
        t->keyCount = 2;
        t->keys[1] = t->keys[0];
        t->keys[1].frame = 30;
        Str_Format(t->name, sizeof t->name, "track %d", kind);
        Str_CopyN(t->file, sizeof t->file, "x");
    }
    m.bgmOn = 1;
    Str_CopyN(m.bgmFile, sizeof m.bgmFile, "a.mid");
    m.soundCount = 2;
    Str_CopyN(m.soundFiles[1], 256, "a.wav");
    m.messageCount = 2;
    Str_CopyN(m.messages[1], 256, "message");
    sink.Write("kinds.qvv", Movie_Write());
    Movie_ClearTracks();
}

} // namespace

static SeedKind s_qvv("qvv", WriteQvvSeeds);
