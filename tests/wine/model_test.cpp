// 3D models in the studio's own build: a QVP file written by our writer loads through the loader
// thread, and through the synchronous wait that pumps window messages meanwhile.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "model/loader.h"
#include "model/model_load.h"
#include "model/model_table.h"
#include "model/qvp_file.h"
#include "wine/support/modal_guard.h"

using namespace QVL;

namespace {

std::string Folder()
{
    char cur[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cur);
    std::string dir = std::string(cur) + "\\model_test";
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

// A quad of four positions in a second group, with a texture entry.
void WriteQuad(const std::string& path)
{
    MODEL3* m = Model3_Alloc();
    const float p[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    m->positions.resize(4);
    m->colors.assign(1, RGBA{255, 255, 255, 255});
    m->uvs.resize(4);
    m->normals.assign(1, XYZ{0, 0, 1});
    for (int i = 0; i < 4; ++i) {
        m->positions[i] = XYZ{p[i][0], p[i][1], 0};
        m->uvs[i] = UV2{p[i][0], p[i][1]};
    }
    m->positionCount = m->uvCount = 4;
    m->colorCount = m->normalCount = 1;
    FACE3 f = {};
    f.cornerCount = 4;
    for (int c = 0; c < 4; ++c) {
        f.corners[c][CORNER_POS] = c;
        f.corners[c][CORNER_UV] = c;
    }
    f.group = 1;
    m->faces.assign(1, f);
    m->faceCount = 1;
    m->groupCount = 2;
    Model3_FitArrays(m);
    ASSERT_TRUE(Model3_SaveQvp(m, path.c_str()));
    Model3_Free(m);
}

bool PumpUntilReady(int32_t id, DWORD ms)
{
    DWORD start = GetTickCount();
    while (!Model3_IsReadyById(id)) {
        if (GetTickCount() - start > ms) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(1);
    }
    return true;
}

TEST(ModelWine, LoadsThroughTheLoaderThreadAndTheWait)
{
    std::string dir = Folder();
    WriteQuad(dir + "\\quad.qvp");

    int32_t queued = Model3_LoadQueued(dir.c_str(), "quad.qvp");
    ASSERT_GE(queued, 0);
    ASSERT_TRUE(PumpUntilReady(queued, 60000));
    MODEL3* m = Model3_GetById(queued);
    EXPECT_EQ(4, m->positionCount);
    EXPECT_EQ(1, m->faceCount);
    EXPECT_EQ(2, m->groupCount);
    EXPECT_EQ(0.5f, m->groups[1].centre[0]);
    EXPECT_EQ(4, m->groups[1].exportVertexCount);
    EXPECT_EQ((dir + "\\quad.qvp"), std::string(m->path));

    char old[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, old);
    SetCurrentDirectoryA(dir.c_str());
    int32_t waited = Model3_LoadWait("quad.qvp");
    int32_t missing = Model3_LoadWait("none.qvp");
    SetCurrentDirectoryA(old);
    ASSERT_GE(waited, 0);
    EXPECT_NE(queued, waited);
    EXPECT_TRUE(Model3_IsReadyById(waited));
    EXPECT_EQ(1, Model3_GetById(waited)->faceCount);
    EXPECT_EQ(-1, missing);

    while (Loader_QueueLength() > 0) Sleep(1);
    Model3_Release(queued);
    Model3_ProcessReleases();
    EXPECT_EQ(nullptr, Model3_GetById(queued));
}

TEST(ModelWine, DamagedFileShowsItsMessageAndKeepsTheModel)
{
    std::string path = Folder() + "\\half.qvp";
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    const char bytes[] = {'Q', 'V', 'P', (char)0xA8, (char)0xA7, 0x1E, 0, 100, 0, 0};
    DWORD written = 0;
    WriteFile(h, bytes, sizeof bytes, &written, nullptr);
    CloseHandle(h);
    int32_t id = Model3_Create();
    ModalGuard::Clear();
    EXPECT_EQ(-1, Model3_Load(id, path.c_str()));
    ASSERT_EQ(1u, ModalGuard::Seen().size());
    EXPECT_EQ("QV Viduza Rozar 2009.09", ModalGuard::Seen()[0].caption);
    EXPECT_NE(std::string::npos, ModalGuard::Seen()[0].text.find("QVP形式のファイルが壊れているので")) << ModalGuard::Seen()[0].text;
    EXPECT_EQ(0, Model3_GetById(id)->releaseRequest);
    ModalGuard::Clear();
}

} // namespace
