// Loading models: dispatch by extension, the finishing steps, the loader thread and the wait.
#include <cstring>

#include "model/loader.h"
#include "frame/scene.h"
#include "frame/services.h"
#include "frame/text.h"
#include "model/gpu_data.h"
#include "model/gpu_services.h"
#include "model/gpu_update.h"
#include "model/model_expect.h"
#include "model/model_load.h"
#include "model/qvp_file.h"
#include "support/qvp_fixtures.h"

namespace {

class ModelLoad : public ModelTest {};

std::string SaveCube(const char* name)
{
    MODEL3* m = NewRecord();
    MakeCube(m);
    std::string path = WriteTempFile(name, SaveBytes(m));
    Model3_Free(m);
    return path;
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('/')); }
std::string NameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

TEST_F(ModelLoad, ExtensionChoosesTheReaderWhateverItsCase)
{
    struct Case { const char* name; int32_t faces; };
    const Case cases[] = {{"a.qvp", 6}, {"b.QVP", 6}, {"c.Qvp", 6}, {"d.qvp.bak", 0}, {"e.obj", 0}, {"qvp", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = SaveCube(c.name);
        int32_t id = Model3_Load(-1, path.c_str());
        ASSERT_GE(id, 0);
        EXPECT_TRUE(Model3_IsReadyById(id));
        EXPECT_EQ(c.faces, Model3_GetById(id)->faceCount);
    }
    EXPECT_TRUE(Rec().messageBoxes.empty());
}

TEST_F(ModelLoad, EmptyPathAndMissingFile)
{
    EXPECT_EQ(-1, Model3_Load(-1, ""));
    ASSERT_EQ(1u, Rec().messageBoxes.size());
    EXPECT_EQ("ファイル名が指定されていません。", Rec().messageBoxes[0]);
    EXPECT_EQ(0, Model3_Count());   // no slot left behind

    std::string missing = Rec_TempDir() + "/none.qvp";
    EXPECT_EQ(-1, Model3_Load(-1, missing.c_str()));
    ASSERT_EQ(1u, Rec().logLines.size());
    EXPECT_EQ(missing + " を開くことができませんでした。", Rec().logLines[0]);
    EXPECT_EQ(1, Model3_GetById(0)->releaseRequest);   // its own slot goes back

    // A model the caller owns is never released by a load that failed.
    int32_t mine = Model3_Create();
    MakeCube(Model3_GetById(mine));
    EXPECT_EQ(-1, Model3_Load(mine, missing.c_str()));
    EXPECT_EQ(0, Model3_GetById(mine)->releaseRequest);
    EXPECT_EQ(24, Model3_GetById(mine)->positionCount);
}

TEST_F(ModelLoad, DamagedFileLeavesTheOpenModelAsItWas)
{
    std::vector<uint8_t> bytes = QvpFixture(2009000);
    bytes.resize(bytes.size() / 2);
    std::string path = WriteTempFile("half.qvp", bytes);
    int32_t id = Model3_Create();
    MODEL3* m = Model3_GetById(id);
    MakeCube(m);
    Model3_SetLoaded(m);
    EXPECT_EQ(-1, Model3_Load(id, path.c_str()));
    ASSERT_EQ(1u, Rec().messageBoxes.size());
    EXPECT_EQ(0u, Rec().messageBoxes[0].find("QVP形式のファイルが壊れているので"));
    EXPECT_EQ(24, m->positionCount);
    EXPECT_TRUE(Model3_IsReady(m));
    EXPECT_EQ(0, m->releaseRequest);
    // A header shorter than its seven bytes is damage too.
    Rec().Clear();
    ModelRec().Clear();
    std::string tiny = WriteTempFile("tiny.qvp", {'Q', 'V', 'P', 1});
    EXPECT_EQ(-1, Model3_Load(id, tiny.c_str()));
    EXPECT_EQ(1u, Rec().messageBoxes.size());
}

TEST_F(ModelLoad, BoundsAndGroupCentres)
{
    MODEL3* src = NewRecord();
    src->groupCount = 3;
    int32_t a = AddVertex(src, -1, 0, 2);
    int32_t b = AddVertex(src, 3, 1, 2);
    int32_t c = AddVertex(src, 0, 5, -4);
    AddVertex(src, 100, 100, 100);   // in no face
    AddFace(src, {a, b, c}, 1);
    std::string path = WriteTempFile("b.qvp", SaveBytes(src));
    Model3_Free(src);
    int32_t id = Model3_Load(-1, path.c_str());
    MODEL3* m = Model3_GetById(id);
    EXPECT_EQ(-1.0f, m->boundsMin[0]);
    EXPECT_EQ(100.0f, m->boundsMax[2]);
    EXPECT_EQ(1.0f, m->groups[1].centre[0]);
    EXPECT_EQ(2.5f, m->groups[1].centre[1]);
    EXPECT_EQ(-1.0f, m->groups[1].centre[2]);
    EXPECT_EQ(3.0f, m->groups[1].maximum[0]);
    // A group without faces: an empty box, centre 0.
    EXPECT_EQ(99999.0f, m->groups[0].minimum[0]);
    EXPECT_EQ(-99999.0f, m->groups[0].maximum[0]);
    EXPECT_EQ(0.0f, m->groups[2].centre[1]);

    MODEL3* blank = NewRecord();
    std::string empty = WriteTempFile("e.qvp", SaveBytes(blank));
    Model3_Free(blank);
    MODEL3* e = Model3_GetById(Model3_Load(-1, empty.c_str()));
    EXPECT_EQ(99999.0f, e->boundsMin[1]);
    EXPECT_EQ(-99999.0f, e->boundsMax[1]);
}

TEST_F(ModelLoad, NormalMapChoosesRenderKindSixOnlyWithATexture)
{
    for (uint16_t texture : {0, 2}) {
        MODEL3* src = NewRecord();
        src->groups[0].normalMap = 1;
        src->groups[0].normalMapTexture = texture;
        std::string path = WriteTempFile("n.qvp", SaveBytes(src));
        Model3_Free(src);
        MODEL3* m = Model3_GetById(Model3_Load(-1, path.c_str()));
        EXPECT_EQ(texture ? 6 : 3, m->renderKind);
    }
}

// A displacement switch above 0 draws the model displaced: render kind 8, whose data the
// graphics seam builds on the next frame.
TEST_F(ModelLoad, DisplacementSwitchChoosesRenderKindEight)
{
    struct Case { int32_t layout; int16_t displacement; int32_t kind; };
    const Case cases[] = {
        {2009000, 1, 8}, {2009000, 2, 8}, {2009000, 0, 3}, {2009000, -1, 3},
        {2006000, 1, 8},   // hand-made, as the older layouts are
        {2005000, 1, 3},   // no switch in the file
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.layout << " switch " << c.displacement);
        std::vector<uint8_t> bytes;
        if (c.layout == 2009000) {
            // A saved cube: the hand-made 2009000 file has a normal map, which chooses kind 6.
            MODEL3* src = NewRecord();
            MakeCube(src);
            src->displacement = c.displacement;
            bytes = SaveBytes(src);
            Model3_Free(src);
        } else {
            QvpFixtureOptions options;
            options.displacement = c.displacement;
            bytes = QvpFixture(c.layout, options);
        }
        std::string path = WriteTempFile("d.qvp", bytes);
        int32_t id = Model3_Load(-1, path.c_str());
        ASSERT_GE(id, 0);
        MODEL3* m = Model3_GetById(id);
        EXPECT_EQ(c.kind, m->renderKind);
        EXPECT_EQ(c.layout >= 2006000 ? c.displacement : 0, m->displacement);
        Gpu_InitModelRes(Gpu_EnsureModelRes(id), id);
        Gpu_ResizeModelRes(Gpu_GetModelRes(id));
        Rec().Clear();
        ModelRec().Clear();
        EXPECT_TRUE(Gpu_UpdateModel(m, id));
        ASSERT_EQ(1u, ModelRec().gpuBuilds.size());
        EXPECT_EQ(std::make_pair((int)id, (int)c.kind), ModelRec().gpuBuilds[0]);
        EXPECT_EQ(c.kind, m->renderKind);
        Model3_Release(id);
        Model3_ProcessReleases();
    }
}

TEST_F(ModelLoad, QvpLoadSetsUpTheModel)
{
    MODEL3* src = NewRecord();
    MakeCube(src);
    src->textureCount = 2;
    src->textures[1].used = 1;
    Str_CopyN(src->textures[1].file, sizeof src->textures[1].file, "wood.bmp");
    std::string path = WriteTempFile("s.qvp", SaveBytes(src));
    Model3_Free(src);
    int32_t id = Model3_Create();
    MODEL3* m = Model3_GetById(id);
    Str_CopyN(m->textures[1].folder, sizeof m->textures[1].folder, "tex");
    m->fillMode = 0;
    m->autoNormals = 0;
    g_StudioFlag = 1;
    Rec().Clear();
    ModelRec().Clear();
    ASSERT_EQ(id, Model3_Load(id, path.c_str()));
    EXPECT_STREQ(path.c_str(), m->file);
    EXPECT_EQ(2, m->fillMode);
    EXPECT_EQ(1, m->autoNormals);
    EXPECT_EQ(1, m->animated);
    EXPECT_STREQ("tex\\wood.bmp", m->textures[1].path);
    // Studio: the normal table is rebuilt, one entry per side of the cube.
    EXPECT_EQ(6, m->normalCount);
    EXPECT_EQ(1.0f, m->deformedNormals[m->faces[1].corners[0][CORNER_POS]].z);
    const std::vector<std::pair<int, int>> want = {{id, MODEL3_EVENT_MEDIA}, {id, MODEL3_EVENT_READ}};
    EXPECT_EQ(want, ModelRec().model3Events);
}

TEST_F(ModelLoad, QueuedLoadsRunOnTheLoaderThreadInOrder)
{
    std::string a = SaveCube("one.qvp");
    std::string b = WriteTempFile("two.qvp", QvpFixture(2008000));
    int32_t first = Model3_LoadQueued(FolderOf(a).c_str(), NameOf(a).c_str());
    int32_t second = Model3_LoadQueued(FolderOf(b).c_str(), NameOf(b).c_str());
    ASSERT_GE(first, 0);
    ASSERT_GE(second, 0);
    Model3_WaitLoaded(second);
    // One at a time, oldest first: by the time the second is ready, so is the first.
    EXPECT_TRUE(Model3_IsReadyById(first));
    EXPECT_TRUE(Model3_IsReadyById(second));
    EXPECT_EQ(6, Model3_GetById(first)->faceCount);
    EXPECT_EQ(2008000, Model3_GetById(second)->version);
    EXPECT_STREQ(NameOf(a).c_str(), std::strrchr(Model3_GetById(first)->path, '/') + 1);
    while (Loader_QueueLength() > 0) Svc_Sleep(1);
}

TEST_F(ModelLoad, QueueRefusesAFileThatDoesNotOpen)
{
    std::string dir = Rec_TempDir();
    EXPECT_EQ(-1, Model3_LoadQueued(dir.c_str(), "none.qvp"));
    EXPECT_EQ(0, Loader_QueueLength());
    EXPECT_EQ(1, Model3_GetById(0)->releaseRequest);
    EXPECT_FALSE(Thread_EnqueueLoad(0, dir.c_str(), ""));
}

TEST_F(ModelLoad, WaitReadsFromTheCurrentDirectory)
{
    std::string path = SaveCube("w.qvp");
    char old[512];
    ASSERT_TRUE(Svc_GetCurrentDirectory(old, sizeof old));
    ASSERT_TRUE(Svc_SetCurrentDirectory(FolderOf(path).c_str()));
    int32_t id = Model3_LoadWait("w.qvp");
    int32_t missing = Model3_LoadWait("nothing.qvp");
    Svc_SetCurrentDirectory(old);
    ASSERT_GE(id, 0);
    EXPECT_TRUE(Model3_IsReadyById(id));
    EXPECT_EQ(24, Model3_GetById(id)->positionCount);
    EXPECT_EQ(-1, missing);
}

// The file opened when it was queued but is damaged: the wait ends, with -1, instead of waiting for
// a model that never becomes ready.
TEST_F(ModelLoad, WaitEndsWhenTheQueuedLoadFails)
{
    std::string path = WriteTempFile("bad.qvp", {'Q', 'V', 'P', 0xA8, 0xA7, 0x1E, 0, 9});
    char old[512];
    ASSERT_TRUE(Svc_GetCurrentDirectory(old, sizeof old));
    ASSERT_TRUE(Svc_SetCurrentDirectory(FolderOf(path).c_str()));
    int32_t id = Model3_LoadWait("bad.qvp");
    Svc_SetCurrentDirectory(old);
    EXPECT_EQ(-1, id);
    ASSERT_EQ(1u, Rec().messageBoxes.size());
    EXPECT_EQ(0u, Rec().messageBoxes[0].find("QVP形式のファイルが壊れているので"));
    while (Loader_QueueLength() > 0) Svc_Sleep(1);
    Model3_ProcessReleases();
    EXPECT_EQ(nullptr, Model3_GetById(0));
}

// A loader of its own: stopping it finishes the load in progress and drops the rest.
TEST_F(ModelLoad, StoppingTheLoaderDropsQueuedRequests)
{
    std::string path = SaveCube("q.qvp");
    QVL::LOADER* l = new QVL::LOADER();
    Loader_Construct(*l);
    EXPECT_EQ(QVL::LOADER_RUNNING, l->state);
    int32_t ids[20];
    Svc_Lock(l->lock);
    for (int32_t& id : ids) {
        id = Model3_Create();
        ASSERT_TRUE(Thread_EnqueueLoad(*l, id, FolderOf(path).c_str(), NameOf(path).c_str()));
    }
    EXPECT_EQ(20, Loader_QueueLength(*l));
    Svc_Unlock(l->lock);
    Loader_Stop(*l);
    EXPECT_EQ(QVL::LOADER_STOPPED, l->state);
    EXPECT_FALSE(Model3_IsReadyById(ids[19]));
    EXPECT_FALSE(Thread_EnqueueLoad(*l, ids[0], FolderOf(path).c_str(), NameOf(path).c_str()));
    Loader_Stop(*l);   // twice does nothing
    EXPECT_EQ(std::vector<std::string>({"LibDataLoader 終了待ち", "LibDataLoader 終了"}), Rec().logLines);
    Loader_Destroy(*l);
    delete l;
}

TEST_F(ModelLoad, ReleaseAllWaitsForTheLoadInProgress)
{
    std::string path = SaveCube("r.qvp");
    for (int i = 0; i < 5; ++i) Model3_LoadQueued(FolderOf(path).c_str(), NameOf(path).c_str());
    Model3_ReleaseAll();
    EXPECT_EQ(0, Loader_QueueLength());
    EXPECT_EQ(0, Model3_Count());
}

} // namespace
