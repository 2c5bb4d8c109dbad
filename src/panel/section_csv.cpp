#include "panel/section_csv.h"

#include <algorithm>
#include <utility>

#include "common/number_format.h"
#include "log/log_header.h"

namespace dravik {

bool SectionCanReopen(int64_t first, int64_t last) {
  return (first > last ? first - last : last - first) + 1 >= kMinRealSamples;
}

std::string SectionCsvText(const LogTable& table, int64_t first, int64_t last) {
  if (first > last) {
    std::swap(first, last);
  }
  if (!table.IsLoaded() || first < 0 || last > table.last_sample) {
    return {};
  }
  const int items = table.has_economy ? table.item_count - 1 : table.item_count;
  std::string text;
  for (int item = 0; item <= items; ++item) {
    text.append(item == 0 ? "" : ",").append(table.item_names[item]);
  }
  text.append("\r\n");
  const int time_shift10 = NamesSeconds(table.item_names[0]) ? 3 : 0;
  for (int64_t sample = first; sample <= last; ++sample) {
    for (int item = 0; item <= items; ++item) {
      const float value = table.Values(item)[static_cast<size_t>(sample)];
      text.append(item == 0 ? "" : ",").append(ExactDecimal(value, item == 0 ? time_shift10 : 0));
    }
    text.append("\r\n");
  }
  return text;
}

}  // namespace dravik
