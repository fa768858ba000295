// QVV reader: any bytes give a movie that writes back to the same bytes when read again and plays
// every frame without leaving its tables; or a refusal.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "frame/lib.h"
#include "model/model_table.h"
#include "scene/movie.h"
#include "support/recorder.h"

using namespace QVL;

namespace {

// Moves a parsed file into the document the way the loader does, without its resources.
void Take(MOVIE_FILE& f)
{
    Movie_ClearTracks();
    MOVIE_PLAY& m = g_MovieData;
    m.length = f.length;
    m.trackCount = (int32_t)f.tracks.size();
    for (size_t i = 0; i < f.tracks.size(); ++i) {
        m.tracks[i] = f.tracks[i];
        m.tracks[i]->ownsObject = 0;
    }
    f.tracks.clear();
    m.bgmOn = f.bgmOn;
    std::memcpy(m.bgmText, f.bgmText, 256);
    std::memcpy(m.bgmFile, f.bgmFile, 256);
    m.soundCount = f.soundCount;
    std::memcpy(m.soundFolders, f.soundFolders, sizeof m.soundFolders);
    std::memcpy(m.soundFiles, f.soundFiles, sizeof m.soundFiles);
    m.messageCount = f.messageCount;
    std::memcpy(m.messages, f.messages, sizeof m.messages);
    m.nextOn = f.nextOn;
    std::memcpy(m.nextFile, f.nextFile, 256);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Rec().Clear();
    MOVIE_FILE first;
    if (!Movie_ParseFile(data, size, "fuzz.QVV", first).Ok()) return 0;
    Take(first);
    const std::vector<uint8_t> once = Movie_Write();
    MOVIE_FILE second;
    if (!Movie_ParseFile(once.data(), once.size(), "again.QVV", second).Ok()) std::abort();
    Take(second);
    const std::vector<uint8_t> twice = Movie_Write();
    if (twice != once) {
        size_t at = 0;
        while (at < once.size() && at < twice.size() && once[at] == twice[at]) ++at;
        std::fprintf(stderr, "rewritten file differs at byte %zu\n", at);
        std::abort();
    }
    MOVIE_PLAY& m = g_MovieData;
    m.loaded = 1;
    Movie_BuildMotionFrames();
    const int32_t frames[] = {0, 1, m.length / 2, m.length - 1, m.length, kMovieMaxFrames, -1};
    for (int32_t f : frames) {
        m.frame = f;
        Movie_ApplyFrame();
        for (int32_t i = 0; i < m.trackCount; ++i)
            if (m.tracks[i]) Movie_InterpolateTrack(i, m.tracks[i]->currentKey, m.tracks[i]->fraction);
    }
    Movie_ClearTracks();
    return 0;
}
