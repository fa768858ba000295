// Model records built by code for the tests, the benchmarks and the seed generator.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "model/model3.h"

// A freshly allocated and reset record (not in the table).
QVL::MODEL3* NewRecord();
// Appends a position (with a weight on bone `bone`), a colour and a UV; returns their common index.
int32_t AddVertex(QVL::MODEL3* m, float x, float y, float z, float u = 0, float v = 0, uint8_t bone = 1);
// Appends a face over the vertices given (3 or 4), normal index 0, in the group.
void AddFace(QVL::MODEL3* m, std::initializer_list<int32_t> corners, int32_t group = 0);
// A unit cube of six separate quads (24 positions), outward faces.
void MakeCube(QVL::MODEL3* m);
// Random content in every field the file carries, special floats included (-0, NaN, inf, denormals).
void RandomModel(QVL::MODEL3* m, std::mt19937& rng);
// A grid of quads, each with its own four positions (so neighbours repeat positions), in `groups`
// bands of rows.
void MakeQuadGrid(QVL::MODEL3* m, int columns, int rows, int groups = 1);

std::vector<uint8_t> SaveBytes(QVL::MODEL3* m);
// Writes bytes into a new file of a fresh temporary folder; returns its path.
std::string WriteTempFile(const std::string& name, const std::vector<uint8_t>& bytes);
