#include "chart/graph_grid.h"

#include <algorithm>

#include "common/number_format.h"
#include "common/rounding.h"

namespace dravik {

int64_t GridStep(int64_t view_span) {
  return std::max<int64_t>(1, RoundHalfEven(static_cast<double>(view_span) / 10));
}

std::vector<int64_t> GridSamples(int64_t first_visible_sample, int64_t view_span) {
  std::vector<int64_t> samples;
  if (view_span <= 0) {
    return samples;
  }
  const int64_t step = GridStep(view_span);
  int64_t sample = first_visible_sample / step * step;
  if (sample == first_visible_sample && sample >= step) {
    sample -= step;
  }
  for (; sample <= first_visible_sample + view_span; sample += step) {
    samples.push_back(sample);
  }
  return samples;
}

std::string TimeLabel(float time_ms, int time_unit_sec) {
  if (time_unit_sec != 0) {
    return FormatFixed(static_cast<double>(time_ms) / 1000, 1);
  }
  return " " + FormatGeneral(time_ms);
}

float GridTime(const LogTable& table, int64_t sample) {
  if (sample < 0 || sample > table.last_sample) {
    return 0;
  }
  return table.Values(0)[sample];
}

std::vector<bool> LabelsToDraw(std::span<const LabelExtent> labels, int64_t gap_px,
                               int64_t width_px) {
  std::vector<bool> drawn(labels.size(), false);
  const LabelExtent* last_drawn = nullptr;
  for (size_t i = 0; i < labels.size(); ++i) {
    const bool whole = labels[i].left >= 0 && labels[i].right <= width_px;
    if (whole && (last_drawn == nullptr || labels[i].left >= last_drawn->right + gap_px)) {
      drawn[i] = true;
      last_drawn = &labels[i];
    }
  }
  return drawn;
}

}  // namespace dravik
