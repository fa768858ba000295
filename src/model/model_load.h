// Model loading: a file into a ready model slot, by its extension, directly or through the loader
// thread; and the weld.
#pragma once
#include <cstdint>

#include "model/model3.h"

// Reads the file at path into the model of `id` (a new slot for -1) and finishes it: bounds, group
// centres, render kind, rest matrices, automatic weights, and last the loaded byte. Returns the ID,
// or -1 for an empty path, a file that cannot be opened or a QVP file that cannot be read. A failed
// load releases only a slot it made itself; a model the caller passed in is left as it was.
int32_t Model3_Load(int32_t id, const char* path);
// The loader thread's entry for a queued request: the record gets folder and file, then the load of
// "folder\\file". The slot belongs to the request, so a failed load releases it.
int32_t Model3_LoadDirFile(int32_t id, const char* folder, const char* file);
// What Model3_Load does with a file of this name: no reader for its extension (the load finishes
// a model with nothing read), a reader whose format is not built yet (the same), or a reader.
enum MODEL3_READER_KIND { MODEL3_READER_NONE, MODEL3_READER_MISSING, MODEL3_READER_READY };
MODEL3_READER_KIND Model3_ReaderFor(const char* path);

// The reader of one extension ("dxf", "lwo", "mqo", "mx", "rok", "x"), given by the converter at
// start-up: 1 when the file was read into the model, 0 when it was not (the model untouched).
typedef int32_t (*MODEL3_IMPORTER)(int32_t id, const char* path);
bool Model3_SetImporter(const char* ext, MODEL3_IMPORTER import);

// A new slot with a queued load; -1 (and the slot released) when the file cannot be opened.
int32_t Model3_LoadQueued(const char* folder, const char* file);
// A file of the current directory through the loader, waiting for it; the ID or -1.
int32_t Model3_LoadWait(const char* file);

// Merges positions (with the first one's weight), colours and UVs that are exactly equal, keeping
// the faces; then the normals. False for a null record.
bool Model3_Weld(QVL::MODEL3* m);
