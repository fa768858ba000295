// The services of the frame inside Wine: maths bits, paths and file dialogs, sound slots, the log window.
#include <windows.h>

#include <gtest/gtest.h>

#include "frame/math_digest.h"

TEST(ServicesMath, SameBitsAsTheNativeBuild)
{
    EXPECT_EQ(kMathDigest, math_digest::Compute());
}
