// .x files read through D3DX: the mesh in the vertex format of position, normal, diffuse colour and
// one UV pair, sorted by material, into the model. The writer is our own (x_file.cpp).
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <string>
#include <vector>

#include "convert/import_model.h"
#include "convert/x_file.h"
#include "frame/log.h"
#include "frame/paths.h"
#include "frame/text.h"
#include "frame/win32/app_frame.h"
#include "model/model_load.h"

using namespace QVL;

namespace {

constexpr DWORD kFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1;   // 0x152

struct X_VERTEX {
    float pos[3];
    float normal[3];
    D3DCOLOR diffuse;
    float uv[2];
};

template <class T>
void Release(T*& p)
{
    if (p) p->Release();
    p = nullptr;
}

IMPORT_RESULT ReadMesh(ID3DXMesh* mesh, const DWORD* adjacency, const char* path, IMPORT_MODEL& im)
{
    ID3DXMesh* sorted = nullptr;
    if (FAILED(mesh->Optimize(D3DXMESHOPT_ATTRSORT, adjacency, nullptr, nullptr, nullptr, &sorted))) return IMPORT_DAMAGED;
    DWORD ranges = 0;
    sorted->GetAttributeTable(nullptr, &ranges);
    std::vector<D3DXATTRIBUTERANGE> table(ranges);
    if (ranges && FAILED(sorted->GetAttributeTable(table.data(), &ranges))) {
        sorted->Release();
        return IMPORT_DAMAGED;
    }
    const DWORD vertices = sorted->GetNumVertices();
    const DWORD faces = sorted->GetNumFaces();
    const bool wide = (sorted->GetOptions() & D3DXMESH_32BIT) != 0;
    if ((int64_t)vertices > Import_MaxPositions()) {
        im.askedPositions = vertices;
        sorted->Release();
        return IMPORT_TOO_MANY;
    }
    DWORD kept = faces;
    if ((int64_t)faces > Import_MaxFaces()) {
        Log_Printf("%s : ポリゴン数 %d ( 最大%dを超えています )", path, (int)faces, (int)Import_MaxFaces());
        kept = (DWORD)Import_MaxFaces();
    }
    X_VERTEX* v = nullptr;
    void* idx = nullptr;
    IMPORT_RESULT result = IMPORT_OK;
    if (FAILED(sorted->LockVertexBuffer(D3DLOCK_READONLY, (void**)&v))) {
        sorted->Release();
        return IMPORT_DAMAGED;
    }
    if (FAILED(sorted->LockIndexBuffer(D3DLOCK_READONLY, &idx))) {
        sorted->UnlockVertexBuffer();
        sorted->Release();
        return IMPORT_DAMAGED;
    }
    im.positions.resize(vertices);
    im.normals.resize(vertices);
    im.colors.resize(vertices);
    im.uvs.resize(vertices);
    for (DWORD i = 0; i < vertices; ++i) {
        const X_VERTEX& x = v[i];
        im.positions[i] = XYZ{x.pos[0], x.pos[1], x.pos[2]};
        im.normals[i] = XYZ{x.normal[0], x.normal[1], x.normal[2]};
        im.uvs[i] = UV2{x.uv[0], x.uv[1]};
        // A diffuse colour without alpha is no colour at all: white.
        if ((x.diffuse >> 24) == 0) im.colors[i] = RGBA{255, 255, 255, 255};
        else im.colors[i] = RGBA{(float)((x.diffuse >> 16) & 255), (float)((x.diffuse >> 8) & 255), (float)(x.diffuse & 255), 255};
    }
    im.faces.resize(kept);
    for (DWORD f = 0; f < kept && result == IMPORT_OK; ++f) {
        FACE3& face = im.faces[f];
        face = FACE3();
        face.cornerCount = 3;
        for (int k = 0; k < 3; ++k) {
            DWORD index = wide ? ((const DWORD*)idx)[3 * f + k] : ((const WORD*)idx)[3 * f + k];
            if (index >= vertices) result = IMPORT_DAMAGED;
            for (int c = 0; c < 4; ++c) face.corners[k][c] = (int32_t)index;
        }
    }
    // Each face takes the material of the attribute range that holds it.
    for (const D3DXATTRIBUTERANGE& r : table) {
        const int32_t group = r.AttribId < (DWORD)kModel3Groups ? (int32_t)r.AttribId : 0;
        for (DWORD f = r.FaceStart; f < r.FaceStart + r.FaceCount && f < kept; ++f) im.faces[f].group = group;
    }
    sorted->UnlockIndexBuffer();
    sorted->UnlockVertexBuffer();
    sorted->Release();
    return result;
}

} // namespace

int32_t X_Import(int32_t id, const char* path)
{
    if (!g_Device) return 0;
    ID3DXBuffer* adjacency = nullptr;
    ID3DXBuffer* materials = nullptr;
    DWORD materialCount = 0;
    ID3DXMesh* mesh = nullptr;
    if (FAILED(D3DXLoadMeshFromXA(path, D3DXMESH_SYSTEMMEM, g_Device, &adjacency, &materials, nullptr, &materialCount,
                                  &mesh))) {
        IMPORT_MODEL none;
        return Import_Finish(id, path, "X", IMPORT_DAMAGED, none);
    }
    IMPORT_MODEL im;
    const DWORD groups = materialCount > (DWORD)kModel3Groups ? (DWORD)kModel3Groups : materialCount;
    const D3DXMATERIAL* mats = materials ? (const D3DXMATERIAL*)materials->GetBufferPointer() : nullptr;
    for (DWORD i = 0; i < groups && mats; ++i) {
        GROUP3& g = im.groups[i];
        const D3DCOLORVALUE& d = mats[i].MatD3D.Diffuse;
        g.color[0] = d.r * 255.0f;
        g.color[1] = d.g * 255.0f;
        g.color[2] = d.b * 255.0f;
        g.alpha = d.a * 255.0f;
        g.texture = 0;
        g.uvMapping = 10;
        const char* tex = mats[i].pTextureFilename;
        if (tex && tex[0] && im.textures.size() < (size_t)kModel3Textures - 1) {
            im.textures.push_back(tex);
            g.texture = (int32_t)im.textures.size();
            std::string stem = File_StripExtension(tex);
            Str_CopyN(g.name, sizeof g.name, stem.empty() ? tex : stem.c_str());
        }
    }
    im.groupCount = groups < 1 ? 1 : (int32_t)groups;
    im.tintWhite = true;
    Release(materials);

    IMPORT_RESULT result = IMPORT_OK;
    if (mesh->GetFVF() != kFvf) {
        ID3DXMesh* clone = nullptr;
        if (FAILED(mesh->CloneMeshFVF(mesh->GetOptions(), kFvf, g_Device, &clone))) result = IMPORT_DAMAGED;
        else {
            mesh->Release();
            mesh = clone;
        }
    }
    if (result == IMPORT_OK)
        result = ReadMesh(mesh, adjacency ? (const DWORD*)adjacency->GetBufferPointer() : nullptr, path, im);
    Release(mesh);
    Release(adjacency);
    return Import_Finish(id, path, "X", result, im);
}

namespace {

bool RegisterX()
{
    return Model3_SetImporter("x", X_Import);
}

[[maybe_unused]] const bool s_registered = RegisterX();

} // namespace
