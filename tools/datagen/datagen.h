// qv_datagen: rebuilds the files the repository keeps that are made by code (the Data folder's
// pictures, the program's icon). Each generator registers itself with a name and writes its files
// below the repository root it is given.
#pragma once
#include <string>

typedef bool (*DATAGEN_FN)(const std::string& root);

struct DATAGEN_ENTRY {
    DATAGEN_ENTRY(const char* name, DATAGEN_FN fn);
};

#define QV_DATAGEN(name, fn) static DATAGEN_ENTRY s_datagen_##fn(name, fn)
