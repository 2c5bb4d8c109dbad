#include "chart/cursors.h"

#include <algorithm>

#include "chart/scaling.h"

namespace dravik {

bool IsReadableSample(int64_t sample, int64_t last_sample) {
  return sample >= 0 && sample <= last_sample;
}

SampleSection SectionBetween(double line1_x, double line2_x, int64_t first_visible_sample) {
  const int64_t sample1 = ChartXToSample(line1_x, first_visible_sample);
  const int64_t sample2 = ChartXToSample(line2_x, first_visible_sample);
  if (line1_x >= line2_x) {
    return {sample2, sample1};
  }
  return {sample1, sample2};
}

CursorMove MoveCursors(int buttons, double x, const CursorContext& context) {
  CursorMove move{context.line1_x, context.line2_x, {}, std::nullopt};
  if (context.item_count < 1) {
    return move;
  }
  const int64_t f = context.first_visible_sample;
  const int64_t sample = ChartXToSample(x, f);
  const auto read_out = [&](int cursor, double other_line_x) {
    if (!context.max_view_shown) {
      return;
    }
    const int64_t other = ChartXToSample(other_line_x, f);
    if (IsReadableSample(sample, context.last_sample) &&
        IsReadableSample(other, context.last_sample)) {
      move.readouts.push_back({cursor, sample, other});
    }
  };
  if (buttons & kLeftButton) {
    move.line1_x = x;
    read_out(1, move.line2_x);
  }
  if (buttons & kRightButton) {
    move.line2_x = x;
    read_out(2, move.line1_x);
  }
  if ((buttons & (kLeftButton | kRightButton)) != 0 && context.section_time &&
      context.max_view_shown && context.has_speed) {
    const SampleSection section = SectionBetween(move.line1_x, move.line2_x, f);
    if (IsReadableSample(section.first, context.last_sample) &&
        IsReadableSample(section.last, context.last_sample)) {
      move.section = section;
    }
  }
  return move;
}

CursorStep StepCursor(int64_t sample, int64_t delta, double other_line_x, int64_t last_sample,
                      const ChartView& view) {
  const int64_t maximum = std::max<int64_t>(view.scroll_maximum, 0);
  // A line beyond the chart's right edge could be neither seen nor dragged back.
  const int64_t reachable = std::min(last_sample, kSamplesPerScrollUnit * maximum + view.view_span);
  CursorStep step;
  step.sample = std::clamp<int64_t>(sample + delta, 0, std::max<int64_t>(reachable, 0));
  int64_t position = view.scroll_position;
  const int64_t first = kSamplesPerScrollUnit * position;
  if (step.sample < first) {
    position = step.sample / kSamplesPerScrollUnit;
  } else if (step.sample > first + view.view_span) {
    const int64_t beyond = step.sample - view.view_span;
    position = (beyond + kSamplesPerScrollUnit - 1) / kSamplesPerScrollUnit;
  }
  step.scroll_position = std::clamp<int64_t>(position, 0, maximum);
  step.other_line_x =
      other_line_x -
      static_cast<double>(kSamplesPerScrollUnit * (step.scroll_position - view.scroll_position));
  return step;
}

}  // namespace dravik
