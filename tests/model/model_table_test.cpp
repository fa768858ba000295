// The model table: slots, lookups, copies and the two-phase release.
#include "frame/loader.h"
#include "frame/services.h"
#include "model/gpu_services.h"
#include "model/model_expect.h"

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
    int32_t id = Model3_Create();
    Model3_Release(id);
    Model3_WaitLoaded(id);            // a failed load flags its slot like this
    Model3_ProcessReleases();
    Model3_WaitLoaded(id);            // and then frees it
    SUCCEED();
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
