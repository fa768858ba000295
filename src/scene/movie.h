// The real-time movie: a timeline of tracks, each animating one thing on screen (a picture, a 2D
// object, a 2D one-skin model, a 3D model, the camera, a sound, a message) by key frames; the QVV
// file that stores it; and its playback (movie_play.cpp).
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "frame/record_io.h"

namespace QVL {

constexpr int32_t kMovieMaxTracks = 256;
constexpr int32_t kMovieMaxKeys = 16;
constexpr int32_t kMovieMaxFrames = 18000;   // size of the motion-frame tables
constexpr int32_t kMovieSlots = 16;          // sound and message slots
constexpr int32_t kMovieModel2Tracks = 32;   // a QVB track drives 2D model slot = its index
constexpr int32_t kMovieVersion = 2006060;
constexpr int32_t kMovieVersion2006000 = 2006000;
constexpr int32_t kMovieVersion2004050 = 2004050;

enum MOVIE_KIND {
    MOVIE_PICTURE = 0,
    MOVIE_QVA = 1,
    MOVIE_QVB = 2,
    MOVIE_QVO = 3,
    MOVIE_QVP = 4,
    MOVIE_CAMERA = 5,
    MOVIE_SCENE = 6,
    MOVIE_BGM = 7,
    MOVIE_SOUND = 8,
    MOVIE_MESSAGE = 9,
    MOVIE_KIND_COUNT = 10,
};

struct MOVIE_KEY {
    int32_t frame;
    uint8_t visible;
    int32_t resource;        // motion index, sound slot or message slot by kind
    float position[3];       // picture: pixels of the 1280 x 720 screen; camera: eye
    float rotation[3];       // degrees
    float quaternion[4];     // x, y, z, w
    float scale[3];
    float colour[4];         // R, G, B, A, 0..255
    float target[3];         // camera look-at
};

struct MOVIE_TRACK {
    char name[256];
    int32_t keyCount;        // 1..16
    int32_t kind;
    int32_t moveMode, rotateMode, scaleMode;   // 1 curve, 0 straight
    MOVIE_KEY keys[kMovieMaxKeys];
    char folder[256];
    char file[256];
    char motionFile[256];
    int32_t shadowMode;      // 0, 20 or 30
    int32_t objectId;
    int32_t modelId;
    int32_t currentKey;
    int32_t nextKey;
    float fraction;
    int32_t reserved;
    int32_t motionFrames[kMovieMaxFrames];
    float livePosition[3], liveTarget[3], liveRotation[3], liveQuaternion[4], liveScale[3], liveColour[4];
    // Not stored: 1 when the movie made objectId and modelId itself (Movie_CreateTrack), so clearing
    // releases only those.
    uint8_t ownsObject;
};

} // namespace QVL

// The movie document and its playback state (one per program).
struct MOVIE_PLAY {
    QVL::MOVIE_TRACK* tracks[QVL::kMovieMaxTracks];   // null = empty slot
    int32_t trackCount;
    int32_t savedKeys[QVL::kMovieMaxTracks];          // every track's current key before the last advance
    int32_t frame;           // the current movie frame
    float fraction;
    int32_t length;          // 1..18000 frames
    int32_t endFrame;        // playback end
    int32_t loop;            // loop playback
    int32_t loopStart;       // playback start
    int32_t bgmOn;
    char bgmText[256];
    char bgmFile[256];
    char soundFolders[QVL::kMovieSlots][256];
    char soundFiles[QVL::kMovieSlots][256];
    int32_t soundCount;      // counting slot 0, which holds no sound
    char messages[QVL::kMovieSlots][256];
    int32_t messageCount;    // counting slot 0, the empty message
    int32_t nextOn;
    char nextFile[256];
    char curFile[256];       // the movie's file name
    char folder[256];        // the movie file's folder
    int32_t version;
    int32_t loaded;
    int32_t followNext;
    char followNextFile[256];
    int32_t cameraTrack;
    int32_t recordStep;      // movie frames per recorded frame while recording
    int32_t listRefresh;
    QVL::MOVIE_KEY keyClipboard;
};
extern MOVIE_PLAY g_MovieData;

// The QVV header for the shared record checks.
extern const QVL::RECORD_FORMAT kQvvFormat;

// A new track in an empty slot, with a scene object and a 3D model of its own; a slot that holds a
// track is left as it is. Null for an index outside 0..255.
QVL::MOVIE_TRACK* Movie_CreateTrack(int32_t index);
// A zero-filled track in an empty slot, owning nothing (the editor's add commands).
QVL::MOVIE_TRACK* Movie_CreatePlainTrack(int32_t index);
// Key 0 of a fresh track: frame 0, visible, scale 1, white, unit quaternion; one key.
void Movie_ResetKeys(QVL::MOVIE_TRACK* t);
void Movie_New();
// Frees every track; the scene objects and 3D models the movie made are released, nothing else.
void Movie_ClearTracks();

// The QVV bytes of the document.
std::vector<uint8_t> Movie_Write();
// Writes the QVV file through a temporary file; false (with a message) when it cannot be written.
bool Movie_Save(const char* path);

// A parsed QVV body: tracks owned until committed.
struct MOVIE_FILE {
    int32_t version = 0;
    int32_t length = 0;
    std::vector<QVL::MOVIE_TRACK*> tracks;
    int32_t bgmOn = 0;
    char bgmText[256] = {};
    char bgmFile[256] = {};
    int32_t soundCount = 0;
    char soundFolders[QVL::kMovieSlots][256] = {};
    char soundFiles[QVL::kMovieSlots][256] = {};
    int32_t messageCount = 0;
    char messages[QVL::kMovieSlots][256] = {};
    int32_t nextOn = 0;
    char nextFile[256] = {};
    MOVIE_FILE() = default;
    MOVIE_FILE(const MOVIE_FILE&) = delete;
    MOVIE_FILE& operator=(const MOVIE_FILE&) = delete;
    ~MOVIE_FILE();
};
// Reads the body after the header for one of the three versions. False when the bytes do not hold
// together or a value lies outside the document's limits.
bool Movie_Parse(QVL::ByteReader& r, int32_t version, MOVIE_FILE& out);
bool Movie_Read2004050(QVL::ByteReader& r, MOVIE_FILE& out);
bool Movie_Read2006000(QVL::ByteReader& r, MOVIE_FILE& out);
bool Movie_Read2006060(QVL::ByteReader& r, MOVIE_FILE& out);
// The whole file checked and parsed; no messages, the document untouched.
QVL::RECORD_RESULT Movie_ParseFile(const uint8_t* data, size_t size, const char* path, MOVIE_FILE& out);
// Loads a QVV file with its tracks' resources. A file that cannot be read as a movie gets its
// message and leaves the open movie as it was; false then.
bool MovieLoad(const char* path);

// Playback (movie_play.cpp).
void Movie_FindKeys();
void Movie_FindTrackKeys(QVL::MOVIE_TRACK* t, int32_t frame);
void Movie_InterpolateTrack(int32_t index, int32_t key, float fraction);
void Movie_BuildMotionFrames();
void Movie_ApplyFrame();
void Movie_Tick();
// The movie camera track's live eye and target (zero without one).
void Movie_GetCamera(float eye[3], float target[3]);

// The 2D layer's movie passes (movie_draw.cpp), given the back buffer's size: the picture tracks,
// and the subtitles of the message tracks.
void Movie_DrawPictures(int32_t width, int32_t height);
void Movie_DrawSubtitles(int32_t width, int32_t height);
// Where a subtitle of n bytes starts on the back buffer.
void Movie_SubtitlePosition(int32_t n, int32_t width, int32_t height, int32_t* x, int32_t* y);
