#include "log/log_header.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace dravik {
namespace {

TEST(NameTokens, SplitsAtEverythingButAsciiLettersAndDigits) {
  EXPECT_EQ(NameTokens("IPW_ms"), (std::vector<std::string>{"ipw", "ms"}));
  EXPECT_EQ(NameTokens(" Speed (MPH)"), (std::vector<std::string>{"speed", "mph"}));
  EXPECT_EQ(
      NameTokens("Fuel Injector #1 Pulse Width (4-byte)* (ms)"),
      (std::vector<std::string>{"fuel", "injector", "1", "pulse", "width", "4", "byte", "ms"}));
  EXPECT_EQ(NameTokens("車速km"), (std::vector<std::string>{"km"}));
}

}  // namespace
}  // namespace dravik
