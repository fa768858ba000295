// QVP, the studio's file of one 3D model: written as version 2009000, read in versions 2004002,
// 2005000, 2006000, 2008000 and 2009000.
#pragma once
#include <cstddef>
#include <cstdint>

#include "frame/record_io.h"
#include "model/model3.h"

// Magic "QVP" (not compared) and the five versions read.
extern const QVL::RECORD_FORMAT kQvpFormat;

// Builds the export arrays of every group in use, stamps version 2009000 and writes the file
// (through a temporary file, so a failed save leaves the old file whole). False when it cannot be
// written.
bool Model3_SaveQvp(QVL::MODEL3* m, const char* path);
// The same into memory.
bool Qvp_Write(QVL::MODEL3* m, QVL::ByteWriter& w);

// Reads the file of version `version` (from its header) into the model of ID `id` and sets it up:
// its file name, fill mode, normals, texture paths, textures and sounds. False, with a message box,
// for a version it does not read or a file that does not hold together; the model is then as it was.
bool Qvp_Load(int32_t id, int32_t version, const char* path);

// The readers: each reads the whole file in its layout into a copy of the record (what the version
// does not carry keeps the record's values) and replaces the record with it only when every count,
// index and string fitted the record's limits and the file. Otherwise a message box, false, and the
// record untouched.
bool Qvp_Read2004002(QVL::MODEL3* m, const char* path);
bool Qvp_Read2005000(QVL::MODEL3* m, const char* path);
bool Qvp_Read2006000(QVL::MODEL3* m, const char* path);
bool Qvp_Read2008000(QVL::MODEL3* m, const char* path);
bool Qvp_Read2009000(QVL::MODEL3* m, const char* path);
// The same from memory, in the layout of `layout` (one of the five versions); `path` names the file
// in the message.
bool Qvp_ReadBytes(QVL::MODEL3* m, const void* data, size_t size, int32_t layout, const char* path);
