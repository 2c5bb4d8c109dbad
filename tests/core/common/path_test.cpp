#include "common/path.h"

#include <gtest/gtest.h>

namespace dravik {
namespace {

TEST(FileNameOf, TakesThePartAfterTheLastSeparator) {
  EXPECT_EQ(FileNameOf("/home/user/logs/drive.csv"), "drive.csv");
  EXPECT_EQ(FileNameOf("drive.csv"), "drive.csv");
  EXPECT_EQ(FileNameOf("logs/"), "");
}

}  // namespace
}  // namespace dravik
