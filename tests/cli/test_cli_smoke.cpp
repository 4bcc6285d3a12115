#include <gtest/gtest.h>
TEST(CliBuild, Links) { SUCCEED(); }
