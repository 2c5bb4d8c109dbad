#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "chart/scaling.h"
#include "common/settings.h"

namespace dravik {

// Mouse button bits of a chart mouse event.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;

// A sample can be read out when it is a real one of the log: 0..last_sample (the tail samples the
// chart shows past the end are not). The sample under a cursor line is ChartXToSample's.
bool IsReadableSample(int64_t sample, int64_t last_sample);

// Samples first..last, both included, first <= last.
struct SampleSection {
  int64_t first = 0;
  int64_t last = 0;
};

// The section between the two cursor lines: its first sample is the one under the line further
// left (line 2 when the lines stand on the same x).
SampleSection SectionBetween(double line1_x, double line2_x, int64_t first_visible_sample);

// What the chart sees of the program when a mouse button moves a cursor.
struct CursorContext {
  int item_count = 0;  // below 1: no log, the event does nothing
  int64_t last_sample = 0;
  int64_t first_visible_sample = 0;
  double line1_x = 0;  // chart x of cursor 1 (blue, left button) and cursor 2 (orange, right)
  double line2_x = 0;
  bool max_view_shown = false;  // the numeric display is on
  bool section_time = false;    // the setting that adds the section figures
  bool has_speed = false;
};

// Write the cursor column of `cursor` (1 or 2) and the difference column for these samples.
struct CursorReadout {
  int cursor = 1;
  int64_t sample = 0;
  int64_t other_sample = 0;
};

// The effect of one mouse event on the chart, to be applied in this order: move the lines to
// their new x, write the readouts (cursor 1 first), then the section figures when `section` is set.
struct CursorMove {
  double line1_x = 0;
  double line2_x = 0;
  std::vector<CursorReadout> readouts;
  std::optional<SampleSection> section;
};

// A mouse press or move with `buttons` (bits 1 left, 2 right) at chart x: the left button moves
// line 1 to x and, with the numeric display on, reads out cursor 1 when both cursor samples are
// readable; the right button does the same for line 2 (after line 1 when both are held). With
// either button, the section figures follow when the section time setting, the numeric display
// and a speed item are all there and both ends of the section are readable. Without a log or a
// button nothing changes.
CursorMove MoveCursors(int buttons, double x, const CursorContext& context);

// One line of the readout shown beside the pointer over the chart, in its colour.
struct ReadoutLine {
  std::string text;
  Rgb colour = 0;
};

// A cursor moved from the keyboard: its new sample, the scroll position that shows it, and the
// other cursor's chart x in that view.
struct CursorStep {
  int64_t sample = 0;
  int64_t scroll_position = 0;
  double other_line_x = 0;
};

// A cursor on `sample` moved by `delta` samples. The new sample stays within 0 and the last sample
// the chart can show (last_sample, or the right edge of the view scrolled to its end when that
// falls short of it). The scroll position stays while the sample lies in the view, first visible
// sample .. first visible + view_span; otherwise it moves the least that brings the sample back:
// span 200, position 10 (samples 100..300): 300 + 1 -> position 11; 100 - 1 -> position 9.
// The other cursor, at chart x other_line_x, keeps its sample: where the view scrolls, its x
// moves the other way (position 10 -> 11 takes x 40 to 30), out of sight when it leaves 0..span.
CursorStep StepCursor(int64_t sample, int64_t delta, double other_line_x, int64_t last_sample,
                      const ChartView& view);

}  // namespace dravik
