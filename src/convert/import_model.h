// What an importer read from a file, kept apart from the model until the whole file has read, so a
// file that does not read leaves the model as it was. Shared by the text and binary importers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/model3.h"

enum IMPORT_RESULT {
    IMPORT_OK = 0,
    IMPORT_DAMAGED,       // the file does not hold together
    IMPORT_TOO_MANY,      // more faces or positions than the model holds
};

struct IMPORT_MODEL {
    std::vector<QVL::XYZ> positions;
    std::vector<QVL::XYZ> normals;
    std::vector<QVL::RGBA> colors;
    std::vector<QVL::UV2> uvs;
    std::vector<QVL::FACE3> faces;
    std::vector<QVL::GROUP3> groups;        // 256 entries in their defaults
    int32_t groupCount = 1;
    std::vector<std::string> textures;      // file names of texture entries 1, 2, ...; "" unused
    bool calcNormals = true;
    bool tintWhite = false;                 // the model-wide colour set to 255 each
    // For the message of a file past the limits, when a reader stopped before storing it all.
    int64_t askedFaces = 0;
    int64_t askedPositions = 0;

    IMPORT_MODEL();
};

// The model's limits: faces up to the polygon maximum, positions up to four times it.
int32_t Import_MaxFaces();
int32_t Import_MaxPositions();
// IMPORT_TOO_MANY when the read model passes the limits, else IMPORT_OK.
IMPORT_RESULT Import_CheckLimits(const IMPORT_MODEL& im);

// A face of 3 or 4 corners (position, normal, colour and UV index of each) in group `group`;
// more corners are split into a fan around corner 0. Fewer than 3 corners make one face of that
// many corners.
void Import_AddPolygon(IMPORT_MODEL& im, const int32_t (*corners)[4], int count, int32_t group);

// Reads the whole file for an importer; false (with the damaged-file message) when it cannot.
bool Import_ReadFile(const char* path, const char* format, std::vector<uint8_t>& bytes);

// Replaces the model's mesh, groups and texture entries with what was read, names it after path,
// computes normals when asked, flags the GPU rebuild and has the textures loaded.
void Import_Apply(int32_t id, QVL::MODEL3* m, IMPORT_MODEL& im, const char* path);

// The end of every importer: on success applies the model and returns 1; otherwise the message
// for `format` and 0, with the model untouched.
int32_t Import_Finish(int32_t id, const char* path, const char* format, IMPORT_RESULT result, IMPORT_MODEL& im);

// A whole importer: reads the file, parses it with `read` and finishes as Import_Finish does.
using IMPORT_READER = IMPORT_RESULT (*)(const uint8_t* data, size_t size, IMPORT_MODEL& im);
int32_t Import_FromFile(int32_t id, const char* path, const char* format, IMPORT_READER read);

// Lines of a text file: any length, ended by CR, LF or CR LF (line ends not included).
class TextLines {
public:
    TextLines(const uint8_t* data, size_t size) : m_p((const char*)data), m_end((const char*)data + size) {}
    // False at the end of the data.
    bool Next(std::string& line);
    // The same without a copy: the line's first byte and length.
    bool Next(const char*& line, size_t& length);
    bool AtEnd() const { return m_p >= m_end; }

private:
    const char* m_p;
    const char* m_end;
};

// A whole token as a number (leading and trailing blanks allowed); false for anything else.
bool Import_ParseFloat(const char* s, float& v);
bool Import_ParseInt(const char* s, int32_t& v);
