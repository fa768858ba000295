// The model table: slots, lookups, copies and the two-phase release.
#include "model/loader.h"
#include "frame/services.h"
#include "model/gpu_services.h"
#include "model/model_expect.h"
#include "model/model_load.h"
#include "support/qvp_fixtures.h"

namespace {

class Model3Table : public ModelTest {};

TEST_F(Model3Table, ReleasedSlotIsFreedAndReusedWithItsId)
{
    EXPECT_EQ(0, Model3_Create());
    EXPECT_EQ(1, Model3_Create());
    EXPECT_EQ(2, Model3_Create());
    EXPECT_NE(nullptr, Model3_Release(1));
    EXPECT_NE(nullptr, Model3_GetById(1));   // still there until the deferred release
    Model3_ProcessReleases();
    EXPECT_EQ(nullptr, Model3_GetById(1));
    EXPECT_EQ(3, Model3_Count());
    EXPECT_EQ(1, Model3_Create());
    ASSERT_NE(nullptr, Model3_GetById(1));
    EXPECT_EQ(1, Model3_GetById(1)->id);
    EXPECT_EQ(0, Model3_GetById(1)->releaseRequest);
}

TEST_F(Model3Table, LookupsOutsideTheTableGiveNull)
{
    Model3_Create();
    EXPECT_EQ(nullptr, Model3_GetById(-1));
    EXPECT_EQ(nullptr, Model3_GetById(1));
    EXPECT_EQ(nullptr, Model3_Release(7));
    EXPECT_FALSE(Model3_IsReadyById(0));   // in use but not loaded
    EXPECT_FALSE(Model3_IsReady(nullptr));
}

TEST_F(Model3Table, NothingIsFreedWhileTheLoaderHasRequests)
{
    std::string dir = WriteTempFile("x.qvp", {1});
    dir = dir.substr(0, dir.rfind('/'));
    Model3_Create();
    int32_t loading = Model3_Create();
    Model3_Release(0);
    // Holding the loader's lock keeps its thread from taking the request.
    Loader_Lock();
    ASSERT_TRUE(Thread_EnqueueLoad(loading, dir.c_str(), "x.qvp"));
    Model3_ProcessReleases();
    EXPECT_NE(nullptr, Model3_GetById(0));
    Loader_Unlock();
    while (Loader_QueueLength() > 0) Svc_Sleep(1);
    Model3_ProcessReleases();
    EXPECT_EQ(nullptr, Model3_GetById(0));
}

TEST_F(Model3Table, CopyChecksItsSlotsAndNamesAFreshCopyByItsSlot)
{
    for (int i = 0; i < 3; ++i) Model3_Create();
    MakeCube(Model3_GetById(0));
    EXPECT_FALSE(Model3_Copy(0, 5));     // beyond the table
    EXPECT_FALSE(Model3_Copy(0, 256));
    EXPECT_FALSE(Model3_Copy(-1, 1));
    Model3_Release(2);
    Model3_ProcessReleases();
    ASSERT_EQ(nullptr, Model3_GetById(2));
    EXPECT_FALSE(Model3_Copy(2, 1));     // no source
    ASSERT_TRUE(Model3_Copy(0, 2));
    MODEL3* copy = Model3_GetById(2);
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(2, copy->id);
    EXPECT_EQ(24, copy->positionCount);
    EXPECT_EQ(6, copy->faceCount);
}

TEST_F(Model3Table, ReleaseAllEmptiesTheTable)
{
    Model3_Create();
    Model3_Create();
    Model3_ReleaseAll();
    EXPECT_EQ(0, Model3_Count());
    EXPECT_EQ(nullptr, Model3_GetById(0));
    EXPECT_EQ(0, Model3_Create());
}

TEST_F(Model3Table, WaitEndsAtOnceForNoModelAndForAReleasedSlot)
{
    Model3_WaitLoaded(-1);
    Model3_WaitLoaded(42);            // no such slot
    EXPECT_EQ(0, Model3_Count());     // waiting makes no slot
    int32_t id = Model3_Create();
    Model3_Release(id);
    Model3_WaitLoaded(id);            // a failed load flags its slot like this
    // The wait neither loads nor frees: the slot stays, flagged and not ready, and nothing is queued.
    const MODEL3* m = Model3_GetById(id);
    ASSERT_NE(nullptr, m);
    EXPECT_EQ(1, m->releaseRequest);
    EXPECT_FALSE(Model3_IsReady(m));
    EXPECT_EQ(0, Loader_QueueLength());
    Model3_ProcessReleases();
    Model3_WaitLoaded(id);            // and then frees it
    EXPECT_EQ(nullptr, Model3_GetById(id));
    EXPECT_EQ(1, Model3_Count());
}

// The wait on a queued load: it returns once the loader has finished with the model, loaded or not.
TEST_F(Model3Table, WaitReturnsWhenTheQueuedLoadHasFinished)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        bool ready;
    };
    const Case cases[] = {
        {"good.qvp", QvpFixture(2009000), true},
        {"short.qvp", {1}, false},    // a failed load flags its slot for release
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = WriteTempFile(c.name, c.bytes);
        std::string dir = path.substr(0, path.rfind('/'));
        int32_t id = Model3_LoadQueued(dir.c_str(), c.name);
        ASSERT_GE(id, 0);
        Model3_WaitLoaded(id);
        const MODEL3* m = Model3_GetById(id);
        ASSERT_NE(nullptr, m);
        EXPECT_EQ(c.ready, Model3_IsReady(m));
        EXPECT_EQ(c.ready ? 0 : 1, m->releaseRequest);
        if (c.ready) EXPECT_EQ(2009000, m->version);
        Model3_ReleaseAll();
    }
}

TEST_F(Model3Table, CreateAndReleaseReachThePlatformResources)
{
    int32_t id = Model3_Create();
    Model3_Release(id);
    Model3_ProcessReleases();
    const std::vector<std::pair<int, int>> want = {{id, MODEL3_EVENT_CREATED}, {id, MODEL3_EVENT_FREED}};
    EXPECT_EQ(want, ModelRec().model3Events);
}

} // namespace
