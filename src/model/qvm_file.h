// QVM, the motion list of a 3D model without its keys: names and lengths of the motions, the three
// motion-list values and the sound names. Version 2002040 only.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/model3.h"

constexpr int32_t kQvmVersion = 2002040;

// What a QVM file holds, read aside before it touches a model.
struct QVM_BODY {
    int32_t firstLength;
    int32_t values[3];
    std::vector<std::string> names;    // one per motion
    std::vector<int32_t> lengths;
    std::vector<std::string> sounds;
};

// 1 when written; 0 (with a message when the file cannot be written) otherwise.
int32_t Motion3_SaveQvm(int32_t id, const char* path);
// 1 when loaded onto the model; 0 with a message or a log line otherwise, the model untouched.
int32_t Motion3_LoadQvm(int32_t id, const char* path);
// The body of a file whose header was checked, onto the model; nothing when it cannot be opened or
// does not hold together.
void Motion3_ReadQvmBody(int32_t id, const char* path);

void Qvm_Write(const QVL::MODEL3& m, std::vector<uint8_t>& out);
// The body after the 7-byte header; false when a count, a length or a name does not fit.
bool Qvm_ParseBody(const uint8_t* data, size_t size, QVM_BODY& body);
// Puts the body into the model: the motion list re-sized to its motions (the bones get a key list
// for every motion, the current motion stays inside the list), the values and the sound names.
void Qvm_Apply(QVL::MODEL3* m, const QVM_BODY& body);
