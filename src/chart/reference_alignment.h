#pragma once

#include <cstdint>
#include <optional>

#include "chart/scaling.h"
#include "chart/trace_raster.h"
#include "log/log_table.h"
#include "log/reference_log.h"

namespace dravik {

// The main log's chart x (a fractional sample) at its time time_ms: j + (time_ms - t(j)) /
// (t(j + 1) - t(j)) for the sample j with t(j) <= time_ms < t(j + 1), last_sample at the last
// time; nullopt before the first time or after the last. Times are taken as never falling.
std::optional<double> ChartPositionAt(const LogTable& main, double time_ms);

// The main log's time at chart x (a fractional sample, held within 0..last_sample), between the
// times of the samples around it in proportion; the inverse of ChartPositionAt.
double TimeAtChartPosition(const LogTable& main, double x);

// The picture column of reference sample k, which must lie within OverlapWithMain: its time
// shifted by `shift_ms` taken to the main log's chart x, then to the column as ChartXToColumn
// takes an x of the view that starts at first_visible_sample.
int64_t ReferenceSampleColumn(const LogTable& main, const LogTable& reference, double shift_ms,
                              int64_t k, int64_t first_visible_sample, int64_t view_span,
                              int64_t width_px);

// Where the reference's samples within OverlapWithMain stand on a picture width_px wide that shows
// view_span samples of the main log from first_visible_sample: the points of the reference trace
// (ReferenceColumns), shared by all its items. Finds each column's first sample by its time
// rather than by visiting the samples, so that its cost follows the width. Nothing to draw when
// the reference does not overlap the main log at its offset.
ReferenceColumns PlaceReferenceColumns(const LogTable& main, const ReferenceLog& reference,
                                       int64_t first_visible_sample, int64_t view_span,
                                       int64_t width_px);

// The ranges the items' scales cover while the reference is drawn: for each main item the
// reference has, from the smaller to the larger of both logs' extremes; the main log's own for
// the others.
ItemRanges CombinedRanges(const LogTable& main, const ReferenceLog& reference);

}  // namespace dravik
