#include "common/core_text.h"

#include <string>

#include <gtest/gtest.h>

namespace dravik {
namespace {

TEST(ArgText, ReplacesNumberedPlaceholdersWhereverTheyStand) {
  const struct {
    const char* pattern;
    std::initializer_list<std::string_view> args;
    const char* text;
  } cases[] = {
      {"項目%1の色の変更", {"12"}, "項目12の色の変更"},
      {"%2 then %1", {"a", "b"}, "b then a"},
      {"%1%1", {"x"}, "xx"},
      {"%3 and 100%", {"a"}, "%3 and 100%"},
      {"%1", {"%2"}, "%2"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ArgText(c.pattern, c.args), c.text) << c.pattern;
  }
}

TEST(CoreText, TheLookupDecidesAndAnEmptyAnswerKeepsTheSource) {
  EXPECT_EQ(CoreText::Tr("合計"), "合計");
  SetTextLookup([](const char* source, const char* disambiguation) {
    return std::string(std::string(source) != "合計" ? "" : disambiguation ? "Sum" : "Total");
  });
  EXPECT_EQ(CoreText::Tr("合計"), "Total");
  EXPECT_EQ(CoreText::Tr("合計", "short"), "Sum");
  EXPECT_EQ(CoreText::Tr("ファイル"), "ファイル");
  SetTextLookup(nullptr);
  EXPECT_EQ(CoreText::Tr("合計"), "合計");
}

}  // namespace
}  // namespace dravik
