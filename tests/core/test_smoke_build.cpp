#include <gtest/gtest.h>
#include "core/marc_record.h"
TEST(Build, Links) { EXPECT_TRUE(IsMarcLeader("00714nam")); }
