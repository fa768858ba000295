#include <gtest/gtest.h>

#include "frame/array_list.h"
#include "frame/d3d_values.h"

using namespace QVL;

TEST(ArrayList, ValueEntriesAreCopiedAndFound)
{
    struct PAIR { int32_t a, b; };
    ARRAY_LIST list(AL_VALUE, sizeof(PAIR));
    // Past the first 16 entries the storage doubles; earlier entries keep their values.
    for (int32_t i = 0; i < 40; ++i) {
        PAIR p = {i, -i};
        ASSERT_EQ(HR_OK, list.Add(&p));
    }
    EXPECT_EQ(40u, list.Count());
    EXPECT_EQ(64u, list.capacity);
    EXPECT_EQ(-17, ArrayList_Value<PAIR>(&list, 17).b);
    PAIR present = {39, -39}, absent = {39, 39};
    EXPECT_TRUE(list.Contains(&present));
    EXPECT_FALSE(list.Contains(&absent));
    EXPECT_EQ(nullptr, list.Item(40));
}

TEST(ArrayList, ReferenceEntriesKeepPointers)
{
    ARRAY_LIST list(AL_REFERENCE);
    EXPECT_EQ(4u, list.entrySize);
    int a = 1, b = 2, c = 2;
    list.Add(&a);
    list.Add(&b);
    EXPECT_EQ(&b, list.Item(1));
    EXPECT_TRUE(list.Contains(&a));
    // Equal values at another address are not the same reference.
    EXPECT_FALSE(list.Contains(&c));
}

TEST(ArrayList, ValueListWithoutEntrySizeRefusesEveryAdd)
{
    ARRAY_LIST list(AL_VALUE, 0);
    int x = 5;
    EXPECT_EQ(HR_E_FAIL, list.Add(&x));
    EXPECT_EQ(0u, list.Count());
}
