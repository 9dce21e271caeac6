#include <gtest/gtest.h>

#include "platform/text/errors.h"

TEST(Errors, CarryTheirMessage) {
  orlu::Error e("x");
  EXPECT_STREQ(e.what(), "x");
}
